#include "search/Drives.h"

#include "search/MountTable.h"

#include <QDir>
#include <QFileInfo>
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
        drives.push_back({home, home, true});
    return drives;
}

int driveHolding(const std::vector<DriveEntry> &drives, const QString &folder)
{
    if (drives.empty())
        return -1;
    QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty())
        real = QDir::cleanPath(QDir(folder).absolutePath());
    int best = 0;
    qsizetype bestLength = -1;
    for (int i = 0; i < int(drives.size()); ++i) {
        const DriveEntry &d = drives[size_t(i)];
        const QString mountPoint = QDir::cleanPath(d.path);
        if (d.folderOnly || d.path.isEmpty() || !contains(mountPoint, real))
            continue;
        if (mountPoint.size() > bestLength) {
            best = i;
            bestLength = mountPoint.size();
        }
    }
    return best;
}

} // namespace corvanta
