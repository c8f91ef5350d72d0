#include "app/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

DataFolderChoice resolveDataFolder(const QString &commandLineDir, const QString &executableDir,
                                   const QString &xdgDataHome, const QString &home)
{
    QString chosen;
    if (!commandLineDir.isEmpty()) {
        chosen = commandLineDir;
    } else if (!executableDir.isEmpty()
               && (QFileInfo::exists(executableDir + QStringLiteral("/Corvanta.Ini"))
                   || QFileInfo::exists(executableDir + QStringLiteral("/Project.List")))) {
        chosen = executableDir;
    } else {
        // A relative XDG_DATA_HOME is invalid and is ignored, as the base-directory rules say.
        const QString base = QDir::isAbsolutePath(xdgDataHome) ? xdgDataHome
                                                               : home + QStringLiteral("/.local/share");
        if (home.isEmpty() && !QDir::isAbsolutePath(xdgDataHome))
            return {QString(), QStringLiteral("Neither XDG_DATA_HOME nor HOME is set; use --data-dir.")};
        chosen = base + QStringLiteral("/corvanta");
    }

    const QString path = QDir::cleanPath(QDir(chosen).absolutePath());
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return {QString(), QStringLiteral("%1 is not a folder.").arg(path)};
    if (!info.exists() && !QDir().mkpath(path))
        return {QString(), QStringLiteral("The folder %1 could not be created.").arg(path)};
    return {path, QString()};
}

} // namespace corvanta
