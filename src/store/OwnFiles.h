#pragma once

#include "platform/RegularFile.h"
#include "store/Store.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace corvanta {

// Outcome of writing a file: on failure the old file is whole and reason says why.
struct [[nodiscard]] SaveResult {
    bool ok = true;
    QString reason;
    // The file is no longer what the program last read or wrote: another program changed it.
    bool changedOnDisk = false;
    explicit operator bool() const { return ok; }
};

// The program's own files (the list files, the settings file, the pointer clipboard) are read
// and replaced only through these. A file that exists but could not be read is marked in the
// store for the rest of the run: what the program shows of it is not what it holds, so it is
// never replaced.

// Reads a regular file whole (see readRegularFile); one that is there but unreadable is marked.
// A link that leads nowhere is there, so it is unreadable, not missing.
ReadOutcome readOwnFile(Store &store, const QString &path, QByteArray &bytes, QString *reason = nullptr);
QString unreadableFileReason(); // "The file could not be read, so it is not replaced."

// Told where the file a save replaced now lies (empty when nothing was there): true when it is
// what the program last read, so that the save may stand.
using ReplacedCheck = std::function<bool(const QString &replaced)>;

// Replaces path's content with bytes atomically: a temporary file beside the final target,
// flushed, checked and synced to disk, then swapped in. Refused, leaving the old file whole: a
// marked file, anything but a regular file, a link leading out of the store's data folder and the
// home folder, a read-only file. With
// asRead, what the new file replaced is checked after the swap (nobody can change it then): when
// it is not what the program last read, the old file goes back and the result says changedOnDisk.
SaveResult saveOwnFile(Store &store, const QString &path, const QByteArray &bytes, const ReplacedCheck &asRead = {});

} // namespace corvanta
