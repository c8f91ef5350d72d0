#include "store/FileOps.h"

#include "store/OwnFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanta {

namespace {

FsResult failure(int error)
{
    return {false, error, QString::fromLocal8Bit(std::strerror(error))};
}

FsResult check(int rc) { return rc == 0 ? FsResult{} : failure(errno); }

} // namespace

FsResult makeFolder(const QString &path)
{
    return check(::mkdir(QFile::encodeName(path).constData(), 0777));
}

FsResult createEmptyFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(errno);
    ::close(fd);
    return {};
}

FsResult renamePath(const QString &from, const QString &to)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(to).constData(), &st) == 0)
        return failure(EEXIST);
    const FsResult result =
        check(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()));
    if (result)
        moveUnreadableMarks(from, to); // an unreadable file stays unreplaceable under its new name
    return result;
}

FsResult removeFile(const QString &path)
{
    const FsResult result = check(::unlink(QFile::encodeName(path).constData()));
    if (result)
        dropUnreadableMarks(path);
    return result;
}

FsResult removeEmptyFolder(const QString &path) { return check(::rmdir(QFile::encodeName(path).constData())); }

bool removeFilesIn(const QString &folder)
{
    bool all = true;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        // A link is removed itself; what it points to is never touched.
        if (!removeFile(entry.absoluteFilePath()))
            all = false;
    }
    return all;
}

bool existsIgnoringCase(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return true;
    const QStringList entries =
        info.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.begin(), entries.end(), [&](const QString &entry) {
        return entry.compare(info.fileName(), Qt::CaseInsensitive) == 0;
    });
}

bool isRealFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

} // namespace corvanta
