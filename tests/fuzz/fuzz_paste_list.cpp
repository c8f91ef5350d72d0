// The pointer clipboard file Paste.Lst as the store reads and writes it: any bytes read as
// records without a crash, a save of them reads back the same, and pasting them into a File List
// and saving that gives the same pointers.

#include "FuzzSupport.h"

#include "store/ListControl.h"
#include "store/ListFiles.h"

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Store store; // each input a run of its own
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString paste = fuzz::fileWith(QStringLiteral("Paste.Lst"), bytes);

    QStringList records;
    FUZZ_CHECK(readLinesForRewrite(store, paste, records));
    FUZZ_CHECK(saveLines(store, paste, records).ok);
    QStringList again;
    FUZZ_CHECK(readLinesForRewrite(store, paste, again));
    FUZZ_CHECK(again == records);

    ListControl files(2, true);
    readPointerList(store, paste, files);
    for (int row = 0; row < files.ListCount(); ++row) {
        const QString record = files.rowText(row);
        const qsizetype tab = record.indexOf(u'\t');
        FUZZ_CHECK(files.columnText(row, 0) == (tab < 0 ? record : record.left(tab)));
        FUZZ_CHECK(files.columnText(row, 1) == (tab < 0 ? QString() : record.mid(tab + 1).section(u'\t', 0, 0)));
    }
    const QString list = fuzz::scratchFile(QStringLiteral("T.Files"));
    FUZZ_CHECK(writePointerList(store, list, files).ok);
    ListControl shown(2, true);
    readPointerListTrimmed(store, list, shown);
    FUZZ_CHECK(shown.ListCount() <= files.ListCount());
    return 0;
}
