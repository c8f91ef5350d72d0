#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {

class Store;

// Outcome of a file-system step, with the system's error number and its description.
struct [[nodiscard]] FsResult {
    bool ok = true;
    int error = 0;
    QString reason;
    explicit operator bool() const { return ok; }
};

FsResult makeFolder(const QString &path);          // one level; fails when it exists
// fails when it exists; the new, empty file is recorded in the store as read
FsResult createEmptyFile(Store &store, const QString &path);
// Renames from to to; refuses to replace anything already at to.
FsResult renamePath(Store &store, const QString &from, const QString &to);
FsResult removeFile(Store &store, const QString &path);
// Moves the file to the desktop's trash, with the trash info file managers read to put it back.
FsResult moveToTrash(Store &store, const QString &path);
// Whether files of folder can go to the desktop's trash: its home trash (under XDG_DATA_HOME) on
// the same file system, or, on another file system than the home folder, a trash at its top
// (.Trash/UID or .Trash-UID) that is there or can be made.
[[nodiscard]] bool trashUsableFor(const QString &folder);
FsResult removeEmptyFolder(const QString &path);
// Copies the file from to to; refuses to replace anything already at to.
FsResult copyFile(const QString &from, const QString &to);
// Whether the folder of project holds any of the program's own files (its .List file or a .Files
// file), or nothing at all: only then has a clean-up anything to delete in it.
[[nodiscard]] bool holdsProgramFilesOrNothing(const QString &folder, const QString &project);
// Deletes the program's own files directly in the folder of project (its .List file and every
// .Files file; a symbolic link itself, never what it points to), then the folder when nothing
// else is left in it. False when the folder stays: it holds the user's own files or subfolders,
// or a deletion failed.
// toTrash: the program's files go to the desktop's trash rather than away for good.
[[nodiscard]] bool removeProjectFolder(Store &store, const QString &folder, const QString &project, bool toTrash = false);
// The program's own files in the folder of project, as removeProjectFolder would remove them.
QStringList programFilesIn(const QString &folder, const QString &project);
// Whether something at path exists, its last part matched without regard to letter case: names
// that differ only in case stand for the same project or topic.
[[nodiscard]] bool existsIgnoringCase(const QString &path);
// A folder that is really there: not a symbolic link to somewhere else.
[[nodiscard]] bool isRealFolder(const QString &path);

} // namespace corvanta
