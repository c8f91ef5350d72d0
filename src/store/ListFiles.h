#pragma once

#include "store/OwnFiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace corvanta {

class ListControl;
class Ui;

// --- text encoding: each line is read as UTF-8 when its bytes are valid UTF-8, else as
// Windows-1252 (a file edited by hand may mix both); written as UTF-8 ---
QString decodeListText(const QByteArray &bytes);
// Splits at CR LF, LF or CR; a final line end adds no empty line.
QStringList splitLines(const QString &text);
// A list line without its leading and trailing spaces; TABs stay, they bound the columns.
QString trimSpaces(const QString &line);
// The decoded lines of a file; a missing or unreadable file gives none (and an unreadable one is
// marked, so that no save replaces it: see OwnFiles.h).
QStringList readLines(Store &store, const QString &path);
// A list file's content for readers that only look, many files at a time (Find Pointer, Check
// Missing Targets): an ASCII file, as nearly every one is, kept as its bytes (no decoding, half
// the memory); any other decoded as decodeListText does. A missing or unreadable file is empty.
// The read is not recorded in the store's fingerprints, so it never stands in for the read of a
// list shown, whose save must still notice a change made since.
struct ListContent
{
    bool isAscii = true;
    QByteArray ascii; // when isAscii
    QString text;     // otherwise
    QString toText() const { return isAscii ? QString::fromLatin1(ascii) : text; }
};
ListContent readListContent(Store &store, const QString &path);
// Each line of a list text as a view, spaces trimmed, blank ones skipped.
void forEachRecord(QStringView text, const std::function<void(QStringView)> &f);
void forEachRecord(QByteArrayView text, const std::function<void(QByteArrayView)> &f);
// The lines of a file about to be rewritten; a missing file has none. False, with the reason,
// when it exists but cannot be read or was marked unreadable earlier in the run: a rewrite never
// replaces content it could not see.
[[nodiscard]] bool readLinesForRewrite(Store &store, const QString &path, QStringList &lines, QString *reason = nullptr);
// Writes every line followed by CR LF through saveOwnFile: atomically, and never over a file
// marked unreadable, a special file or a link leading out of the data and home folders. A
// read-only file, a missing folder or a full disk fail and leave the old file whole. A file
// changed on disk since the program last read or wrote it is not replaced.
SaveResult saveLines(Store &store, const QString &path, const QStringList &lines);
// The same for bytes given whole, as an earlier state of a list file is put back.
SaveResult saveListBytes(Store &store, const QString &path, const QByteArray &bytes);

// The " File Not Saved" box for a failed write.
QString fileNotSavedTitle();
QString fileNotSavedText(const QString &path, const QString &reason);
// The " List Changed On Disk" box for a save refused because another program changed the file.
QString listChangedTitle();
QString listChangedText(const QString &path);
// The box for a file that is there but could not be read, with the system's reason.
QString fileNotReadTitle();
QString fileNotReadText(const QString &path, const QString &reason);
// Shows the box when result failed; returns result.ok. A file changed on disk is then handed
// to the store's listener, which shows it again as it now is.
bool reportSaveFailure(Store &store, Ui &ui, const QString &path, const SaveResult &result);

// --- the list-file operations ---
// 1. Creates an empty file when path names none; existing content is never touched.
[[nodiscard]] bool ensureFileExists(Store &store, const QString &path);
// 2. Name list into rows: each line trimmed, blank lines skipped, rows added at the end.
//    yield runs after every 1000 rows.
int readNameList(Store &store, const QString &path, ListControl &list, const std::function<void()> &yield = {});
// 3. Pointer list for a selected topic: each line trimmed, blank lines skipped. notRead gets the
//    system's reason when the file is there but could not be read.
int readPointerListTrimmed(Store &store, const QString &path, ListControl &list, QString *notRead = nullptr);
// 4. Pointer list as a whole: lines untrimmed, empty lines skipped.
int readPointerList(Store &store, const QString &path, ListControl &list);
// 5. Name list from the rows as shown, each trimmed; blank rows and the project row " ..." (found
//    by its text, wherever it stands) are dropped. Every name-list rewrite goes through here.
SaveResult writeNameList(Store &store, const QString &path, const ListControl &list);
// 6. Pointer list from every row: trimmed, rows then empty dropped; no rows gives an empty file.
SaveResult writePointerList(Store &store, const QString &path, const ListControl &list);
// Every row's text, in list order.
QStringList rowTexts(const ListControl &list);
// The same from row texts, so a caller can save what a list is about to hold before showing it.
SaveResult writePointerList(Store &store, const QString &path, const QStringList &rows);
// 7. One name added as the last line.
SaveResult appendName(Store &store, const QString &path, const QString &name);
// 8. A pointer list changed where the user changed it: one line taken out for each record of
//    removed (found with its spaces trimmed), the records of added put in before the line of the
//    record addBefore (at the end when that is empty or not there), and every other line kept as
//    it stands, padded or blank. The file is read without counting as a read, so a change another
//    program made since the list was shown still refuses the save.
SaveResult editPointerList(Store &store, const QString &path, const QStringList &removed, const QStringList &added = {},
    const QString &addBefore = {});

} // namespace corvanta
