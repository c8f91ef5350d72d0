#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace corvanta {

class ListControl;
class Ui;

// Outcome of writing a file: on failure the old file is whole and reason says why.
struct SaveResult {
    bool ok = true;
    QString reason;
    // The file is no longer what the program last read or wrote: another program changed it.
    bool changedOnDisk = false;
    explicit operator bool() const { return ok; }
};

// --- text encoding: read UTF-8 when the bytes are valid UTF-8, else Windows-1252; write UTF-8 ---
QString decodeListText(const QByteArray &bytes);
// Splits at CR LF, LF or CR; a final line end adds no empty line.
QStringList splitLines(const QString &text);
// A list line without its leading and trailing spaces; TABs stay, they bound the columns.
QString trimSpaces(const QString &line);
// The decoded lines of a file; a missing or unreadable file gives none.
QStringList readLines(const QString &path);
// The same, for many files at a time: the decoded text of a file whole ("" for a missing or
// unreadable one), and each of its lines as a view, spaces trimmed, blank ones skipped.
QString readListText(const QString &path);
void forEachRecord(QStringView text, const std::function<void(QStringView)> &f);
// The lines of a file about to be rewritten; a missing file has none. False, with the system's
// reason, when it exists but cannot be read: a rewrite never replaces content it could not see.
bool readLinesForRewrite(const QString &path, QStringList &lines, QString *reason = nullptr);
// Writes every line followed by CR LF, atomically: a temporary file in the same folder renamed
// over the old one. A read-only file, a missing folder or a full disk fail and leave it whole.
// A file changed on disk since the program last read or wrote it is not replaced.
SaveResult saveLines(const QString &path, const QStringList &lines);

// The " File Not Saved" box for a failed write.
QString fileNotSavedTitle();
QString fileNotSavedText(const QString &path, const QString &reason);
// The " List Changed On Disk" box for a save refused because another program changed the file.
QString listChangedTitle();
QString listChangedText(const QString &path);
// Shows the box when result failed; returns result.ok. A file changed on disk is then handed
// to the file guard's listener, which shows it again as it now is.
bool reportSaveFailure(Ui &ui, const QString &path, const SaveResult &result);

// --- the list-file operations ---
// 1. Creates an empty file when path names none; existing content is never touched.
bool ensureFileExists(const QString &path);
// 2. Name list into rows: each line trimmed, blank lines skipped, rows added at the end.
//    yield runs after every 1000 rows.
int readNameList(const QString &path, ListControl &list, const std::function<void()> &yield = {});
// 3. Pointer list for a selected topic: each line trimmed, blank lines skipped.
int readPointerListTrimmed(const QString &path, ListControl &list);
// 4. Pointer list as a whole: lines untrimmed, empty lines skipped.
int readPointerList(const QString &path, ListControl &list);
// 5. Name list from rows firstRow..end: trimmed, rows empty or holding "..." dropped.
SaveResult writeNameList(const QString &path, const ListControl &list, int firstRow = 0);
// 6. Pointer list from every row: trimmed, rows then empty dropped; no rows gives an empty file.
SaveResult writePointerList(const QString &path, const ListControl &list);
// Every row's text, in list order.
QStringList rowTexts(const ListControl &list);
// The same from row texts, so a caller can save what a list is about to hold before showing it.
SaveResult writePointerList(const QString &path, const QStringList &rows);
// 7. One name added as the last line.
SaveResult appendName(const QString &path, const QString &name);
// 8. Every row from firstRow on, as it stands (no trimming, nothing dropped).
SaveResult rewriteNameList(const QString &path, const ListControl &list, int firstRow = 0);

} // namespace corvanta
