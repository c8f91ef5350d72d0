#include "search/Drives.h"

#include "search/MountTable.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace corvanta {

namespace {

bool contains(const QString &folder, const QString &path)
{
    if (folder == u"/")
        return path.startsWith(u'/');
    return path == folder || path.startsWith(folder + u'/');
}

} // namespace

std::vector<DriveEntry> mountedDrives(const QString &homeFolder)
{
    std::vector<DriveEntry> drives;
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
        [](const QStorageInfo &a, const QStorageInfo &b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo &volume : volumes) {
        if (!volume.isValid() || !volume.isReady()
            || isPseudoFileSystemType(volume.fileSystemType().toStdString()))
            continue;
        const QString path = volume.rootPath();
        const bool seen = std::any_of(
            drives.begin(), drives.end(), [&](const DriveEntry &d) { return d.path == path; });
        if (seen)
            continue;
        const QString name = volume.name();
        drives.push_back(
            {name.isEmpty() || name == path ? path : path + QStringLiteral("  [") + name + u']',
                path});
    }
    const QString home = QDir::cleanPath(homeFolder);
    const bool homeListed = std::any_of(
        drives.begin(), drives.end(), [&](const DriveEntry &d) { return d.path == home; });
    if (!home.isEmpty() && !homeListed)
        drives.push_back({home, home});
    return drives;
}

int driveHolding(const std::vector<DriveEntry> &drives, const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    int best = -1;
    for (int i = 0; i < int(drives.size()); ++i) {
        const QString &folder = drives[size_t(i)].path;
        if (folder.isEmpty() || !contains(folder, clean))
            continue;
        if (best < 0 || folder.size() > drives[size_t(best)].path.size())
            best = i;
    }
    return best;
}

} // namespace corvanta
