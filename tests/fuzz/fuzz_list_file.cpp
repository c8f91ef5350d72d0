// The list-file reader: any bytes load without a crash, every reader agrees with the decoded
// lines, and what the writers save reads back as the same rows.

#include "FuzzSupport.h"

#include "store/ListControl.h"
#include "store/ListFiles.h"

using namespace corvanta;

namespace {

QStringList rowsOf(const ListControl &list)
{
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.rowText(i);
    return rows;
}

QString spaceTrimmed(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Store store; // each input a run of its own
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::fileWith(QStringLiteral("T.Files"), bytes);

    const QStringList lines = readLines(store, path);
    FUZZ_CHECK(lines == splitLines(decodeListText(bytes)));
    // The look-only read, ASCII kept as bytes, gives the same text.
    FUZZ_CHECK(readListContent(store, path).toText() == decodeListText(bytes));
    QStringList nonEmpty, trimmed;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        if (!line.isEmpty())
            nonEmpty << line;
        if (!spaceTrimmed(line).isEmpty())
            trimmed << spaceTrimmed(line);
    }

    ListControl names, pointers(2, true), topicPointers(2, true);
    readNameList(store, path, names);
    readPointerList(store, path, pointers);
    readPointerListTrimmed(store, path, topicPointers);
    FUZZ_CHECK(rowsOf(pointers) == nonEmpty);
    FUZZ_CHECK(rowsOf(names) == trimmed);
    FUZZ_CHECK(rowsOf(topicPointers) == trimmed);

    // Saved and read again: the same lines, the same names (a name holding "..." is a name like
    // any other; only the project row, which no trimmed line can be, is left out), the same
    // pointers.
    const QString out = fuzz::scratchFile(QStringLiteral("Out.List"));
    FUZZ_CHECK(saveLines(store, out, lines).ok);
    FUZZ_CHECK(readLines(store, out) == lines);

    FUZZ_CHECK(writeNameList(store, out, names).ok);
    ListControl namesAgain;
    readNameList(store, out, namesAgain);
    FUZZ_CHECK(rowsOf(namesAgain) == trimmed);

    FUZZ_CHECK(writePointerList(store, out, pointers).ok);
    ListControl pointersAgain(2, true);
    readPointerListTrimmed(store, out, pointersAgain);
    FUZZ_CHECK(rowsOf(pointersAgain) == trimmed);
    return 0;
}
