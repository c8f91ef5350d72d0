#include "platform/QtFileWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

QtFileWatcher::QtFileWatcher()
{
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [this](const QString &path) { fileChanged(path); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this](const QString &folder) { folderChanged(folder); });
}

void QtFileWatcher::watchFiles(const QStringList &paths)
{
    QStringList wanted;
    QStringList folders;
    for (const QString &path : paths) {
        const QString clean = QDir::cleanPath(path);
        if (clean.isEmpty() || wanted.contains(clean))
            continue;
        wanted << clean;
        const QString folder = QFileInfo(clean).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    if (wanted == wanted_)
        return;
    wanted_ = wanted;
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    for (const QString &folder : folders) {
        if (QFileInfo(folder).isDir())
            watcher_.addPath(folder);
    }
    for (const QString &path : wanted_) {
        if (QFileInfo::exists(path))
            watcher_.addPath(path);
    }
}

bool QtFileWatcher::rearm(const QString &path)
{
    if (watcher_.files().contains(path) || !QFileInfo::exists(path))
        return false;
    return watcher_.addPath(path);
}

void QtFileWatcher::fileChanged(const QString &path)
{
    if (!wanted_.contains(path))
        return;
    // After a rename over it the watch is gone; the new file is watched when it is there.
    rearm(path);
    notify(path);
}

void QtFileWatcher::folderChanged(const QString &folder)
{
    // A file renamed into place, created or removed: only the watched ones of this folder matter.
    const QStringList wanted = wanted_;
    for (const QString &path : wanted) {
        if (QFileInfo(path).absolutePath() != folder)
            continue;
        const bool back = rearm(path);
        if (back || !QFileInfo::exists(path))
            notify(path);
    }
}

} // namespace corvanta
