#include "search/SearchEngineListing.h"

#include "search/SearchPattern.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace corvanta {

namespace {

// One getdents64 call fills this much: about a thousand entries, so a stop request is seen
// between calls even in a folder of millions.
constexpr std::size_t ReadBufferBytes = 32 * 1024;
// Lists longer than this are sorted piece by piece, checking for a stop between pieces.
constexpr std::size_t SortPiece = 8192;
// The largest entry getdents64 returns: a 255-byte name with its header, to eight bytes.
constexpr std::size_t LargestEntry = 280;

constexpr unsigned char lowerByte(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Name order ignoring ASCII case, ties broken by the bytes, so the order is stable.
bool nameLess(const char *a, const char *b)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    for (;; ++x, ++y) {
        const unsigned char lx = lowerByte(*x);
        const unsigned char ly = lowerByte(*y);
        if (lx != ly)
            return lx < ly;
        if (*x == 0)
            break;
    }
    return std::strcmp(a, b) < 0;
}

void sortNames(std::vector<std::uint32_t> &offsets, const std::string &names, const StopFlags &stop)
{
    const char *base = names.data();
    const auto less = [base](std::uint32_t a, std::uint32_t b) {
        return nameLess(base + a, base + b);
    };
    const std::size_t n = offsets.size();
    if (n <= SortPiece) {
        std::sort(offsets.begin(), offsets.end(), less);
        return;
    }
    for (std::size_t lo = 0; lo < n; lo += SortPiece) {
        if (stop.raised())
            return;
        std::sort(offsets.begin() + std::ptrdiff_t(lo),
            offsets.begin() + std::ptrdiff_t(std::min(lo + SortPiece, n)), less);
    }
    std::vector<std::uint32_t> merged(n);
    for (std::size_t width = SortPiece; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            if (stop.raised())
                return;
            const auto first = offsets.begin();
            const auto mid = first + std::ptrdiff_t(std::min(lo + width, n));
            const auto end = first + std::ptrdiff_t(std::min(lo + 2 * width, n));
            std::merge(first + std::ptrdiff_t(lo), mid, mid, end,
                merged.begin() + std::ptrdiff_t(lo), less);
        }
        offsets.swap(merged);
    }
}

bool addName(std::string &names, std::vector<std::uint32_t> &list, const char *name)
{
    const std::size_t length = std::strlen(name);
    // Offsets are four bytes; a folder whose names pass that yields what fitted.
    if (names.size() + length + 1 > std::numeric_limits<std::uint32_t>::max())
        return false;
    list.push_back(std::uint32_t(names.size()));
    names.append(name, length + 1);
    return true;
}

} // namespace

void MountPoints::add(const std::string &relative)
{
    points.insert(relative);
    onTheWay.insert(std::string());
    for (std::size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1))
        onTheWay.insert(relative.substr(0, slash));
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

unsigned char typeByStat(int dirFd, const char *name)
{
    struct stat st
    { };
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    if (S_ISDIR(st.st_mode))
        return DT_DIR;
    if (S_ISREG(st.st_mode))
        return DT_REG;
    return DT_UNKNOWN;
}

namespace {

void readEntries(int fd, const SearchPattern &pattern, const FolderPlace &place,
    const StopFlags &stop, ReadScratch &scratch)
{
    std::vector<char> &buffer = scratch.buffer;
    if (buffer.size() < ReadBufferBytes)
        buffer.resize(ReadBufferBytes);
    for (;;) {
        if (stop.raised())
            return;
        // An error part way (an unreadable or vanished folder) keeps what was read.
        const ssize_t read = getdents64(fd, buffer.data(), buffer.size());
        if (read <= 0)
            return;
        for (ssize_t at = 0; at < read;) {
            const auto *e = reinterpret_cast<const struct dirent64 *>(buffer.data() + at);
            at += e->d_reclen;
            const char *name = e->d_name;
            if (isDotOrDotDot(name))
                continue;
            const unsigned char type = e->d_type == DT_UNKNOWN ? typeByStat(fd, name) : e->d_type;
            if (type == DT_DIR) {
                if (place.onTheWay) {
                    std::string &relative = scratch.relative;
                    relative.assign(place.relative);
                    if (!relative.empty())
                        relative.push_back('/');
                    relative += name;
                    if (place.mountPoints->points.contains(relative))
                        continue;
                }
                if (!addName(scratch.names, scratch.folders, name))
                    return;
            } else if (type == DT_REG && name[0] != '.' && pattern.matches(name)) {
                if (!addName(scratch.names, scratch.files, name))
                    return;
            }
        }
        if (place.fillsEachCall && std::size_t(read) + LargestEntry <= buffer.size())
            return;
    }
}

} // namespace

void readFolder(int fd, const SearchPattern &pattern, const FolderPlace &place,
    const StopFlags &stop, ReadScratch &scratch, FolderListing &listing)
{
    readEntries(fd, pattern, place, stop, scratch);
    // Copied at their final sizes: one allocation each, none for an empty list.
    listing.names.assign(scratch.names);
    listing.folders.assign(scratch.folders.begin(), scratch.folders.end());
    listing.files.assign(scratch.files.begin(), scratch.files.end());
    scratch.names.clear();
    scratch.folders.clear();
    scratch.files.clear();
}

void sortListing(FolderListing &listing, const StopFlags &stop)
{
    sortNames(listing.folders, listing.names, stop);
    sortNames(listing.files, listing.names, stop);
}

} // namespace corvanta
