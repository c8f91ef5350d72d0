#include "platform/FileDialogs.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

QString nearestExistingFolder(const QString &path, const QString &baseFolder)
{
    QString folder =
        QFileInfo(QDir::isRelativePath(path) ? baseFolder + u'/' + path : path).absolutePath();
    // Only folders that plainly exist; one that cannot be looked at ends the climb at the root.
    while (!QDir(folder).exists() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

} // namespace corvanta
