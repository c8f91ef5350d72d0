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

FsResult createEmptyFile(Store &store, const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(errno);
    ::close(fd);
    store.record(path, {});
    return {};
}

FsResult renamePath(Store &store, const QString &from, const QString &to)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(to).constData(), &st) == 0)
        return failure(EEXIST);
    const FsResult result =
        check(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()));
    if (result) {
        store.moveUnreadableMarks(from, to); // an unreadable file stays unreplaceable under its new name
        store.moveRecords(from, to);
    }
    return result;
}

FsResult removeFile(Store &store, const QString &path)
{
    const FsResult result = check(::unlink(QFile::encodeName(path).constData()));
    if (result)
        store.dropUnreadableMarks(path);
    return result;
}

FsResult removeEmptyFolder(const QString &path) { return check(::rmdir(QFile::encodeName(path).constData())); }

FsResult copyFile(const QString &from, const QString &to)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(to).constData(), &st) == 0)
        return failure(EEXIST);
    QFile source(from);
    if (!source.copy(to))
        return {false, 0, source.errorString()};
    return {};
}

namespace {

bool isProgramFile(const QFileInfo &entry, const QString &project)
{
    const QString name = entry.fileName();
    return !entry.isDir() && (name == project + QStringLiteral(".List") || name.endsWith(QStringLiteral(".Files")));
}

QFileInfoList entriesOf(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

bool holdsProgramFilesOrNothing(const QString &folder, const QString &project)
{
    const QFileInfoList entries = entriesOf(folder);
    return entries.isEmpty()
        || std::any_of(entries.begin(), entries.end(), [&](const QFileInfo &e) { return isProgramFile(e, project); });
}

bool removeProjectFolder(Store &store, const QString &folder, const QString &project)
{
    bool removedAll = true;
    for (const QFileInfo &entry : entriesOf(folder)) {
        if (isProgramFile(entry, project) && !removeFile(store, entry.absoluteFilePath()))
            removedAll = false; // the folder stays, and the caller names it
    }
    return removedAll && removeEmptyFolder(folder).ok;
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
