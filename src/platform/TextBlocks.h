#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace corvanta {

// Room for many texts kept together while a window shows them: taken from the system in blocks of
// one huge page each, so ten megabytes of lists cost a handful of page faults instead of thousands
// (each fault costs more than reading the same 4 KiB from the page cache).
class TextBlocks
{
public:
    TextBlocks() = default;
    TextBlocks(const TextBlocks &) = delete;
    TextBlocks &operator=(const TextBlocks &) = delete;
    ~TextBlocks();

    // A copy of bytes that stays valid as long as this does; it owns no storage of its own. A
    // text too large for a block, or one the system has no room for, is copied the usual way.
    QByteArray keep(QByteArrayView bytes);

private:
    std::vector<char *> blocks_;
    qsizetype used_ = 0; // of the last block
};

} // namespace corvanta
