#pragma once

#include <QString>

#include <vector>

namespace corvanta {

// One choice of the search window's drive list: the text shown and the folder searched.
struct DriveEntry
{
    QString text;
    QString path;
    bool operator==(const DriveEntry &) const = default;
};

// The mounted file systems that hold files, by mount point (with the volume name when it has
// one), then the home folder. Pseudo file systems and unready drives are left out.
std::vector<DriveEntry> mountedDrives(const QString &homeFolder);

// The entry whose folder holds path: the deepest folder that contains it; -1 when none does.
int driveHolding(const std::vector<DriveEntry> &drives, const QString &path);

} // namespace corvanta
