#include "platform/TextBlocks.h"

#include <cstdint>
#include <cstring>
#include <sys/mman.h>

namespace corvanta {

namespace {

constexpr qsizetype BlockSize = qsizetype(2) << 20; // one huge page on x86-64 and arm64

// A block aligned to its size, as a huge page must be: more is mapped, and the ends cut off.
char *newBlock()
{
    const size_t size = size_t(BlockSize);
    void *mapped = ::mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + size - 1) & ~std::uintptr_t(size - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    if (const std::uintptr_t tail = start + 2 * size - (aligned + size))
        ::munmap(reinterpret_cast<void *>(aligned + size), tail);
    // Only advice: without huge pages the block works the same.
    ::madvise(reinterpret_cast<void *>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<char *>(aligned);
}

} // namespace

TextBlocks::~TextBlocks()
{
    for (char *block : blocks_)
        ::munmap(block, size_t(BlockSize));
}

QByteArray TextBlocks::keep(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > BlockSize / 4)
        return bytes.toByteArray();
    if (blocks_.empty() || used_ + bytes.size() > BlockSize) {
        char *block = newBlock();
        if (!block)
            return bytes.toByteArray();
        blocks_.push_back(block);
        used_ = 0;
    }
    char *at = blocks_.back() + used_;
    std::memcpy(at, bytes.data(), size_t(bytes.size()));
    used_ += bytes.size();
    return QByteArray::fromRawData(at, bytes.size());
}

} // namespace corvanta
