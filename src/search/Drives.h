#pragma once

#include <QString>

#include <vector>

namespace corvanta {

// One choice of the search window's drive list: the text shown and the folder searched.
struct DriveEntry
{
    QString text;
    QString path;
    // A folder offered for itself (the home folder, one picked with "Other Folder..."), not the
    // mount point of a file system.
    bool folderOnly = false;
    bool operator==(const DriveEntry &) const = default;
};

// The mounted file systems that hold files, by mount point (with the volume name when it has
// one), then the home folder. Pseudo file systems and unready drives are left out.
std::vector<DriveEntry> mountedDrives(const QString &homeFolder);

// The file system entry whose mount point is the longest prefix of folder's real path (links
// resolved); the first entry when none is; -1 for an empty list. Decided from the list alone, so
// a trimmed mount table (a chroot, a container) cannot make it disagree with what is offered.
int driveHolding(const std::vector<DriveEntry> &drives, const QString &folder);

} // namespace corvanta
