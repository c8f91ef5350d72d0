#include "store/FileOps.h"

#include "store/OwnFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

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

FsResult moveToTrash(Store &store, const QString &path)
{
    // The home trash is made here when it is not there yet (a new account has no
    // ~/.local/share): without it Qt puts the file in "files" and "info" folders under the
    // program's working folder, where no file manager looks.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty() && QDir().mkpath(dataHome)) {
        for (const QString &sub : {QStringLiteral("/Trash"), QStringLiteral("/Trash/files"), QStringLiteral("/Trash/info")})
            ::mkdir(QFile::encodeName(dataHome + sub).constData(), 0700);
    }
    QFile file(path);
    errno = 0;
    if (!file.moveToTrash()) {
        const int error = errno ? errno : EIO;
        return {false, error, file.errorString().isEmpty() ? failure(error).reason : file.errorString()};
    }
    store.dropUnreadableMarks(path);
    store.forget(path);
    return {};
}

namespace {

// Whether a folder at path, or else the nearest folder above it that is there, lies on device
// and can be written: the trash there is usable or can be made.
bool writableOn(QString path, dev_t device)
{
    struct stat st {};
    while (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        const QString up = QFileInfo(path).path();
        if (up == path)
            return false;
        path = up;
    }
    return S_ISDIR(st.st_mode) && st.st_dev == device && ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

} // namespace

bool trashUsableFor(const QString &folder)
{
    struct stat source {};
    if (::stat(QFile::encodeName(folder).constData(), &source) != 0)
        return false;
    const QStorageInfo storage(folder);
    if (storage != QStorageInfo(QDir::home())) {
        // The trash at the top of another file system: the administrator's shared one (a real
        // folder with the sticky bit), else one of the user's own.
        const QString top = storage.rootPath();
        const QString uid = QString::number(::getuid());
        struct stat shared {};
        const QByteArray dotTrash = QFile::encodeName(top + QStringLiteral("/.Trash"));
        if (::lstat(dotTrash.constData(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)
            && writableOn(top + QStringLiteral("/.Trash/") + uid, source.st_dev))
            return true;
        if (writableOn(top + QStringLiteral("/.Trash-") + uid, source.st_dev))
            return true;
    }
    // The home trash; a file on another file system cannot be moved into it.
    return writableOn(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash"),
                      source.st_dev);
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

QStringList programFilesIn(const QString &folder, const QString &project)
{
    QStringList files;
    for (const QFileInfo &entry : entriesOf(folder)) {
        if (isProgramFile(entry, project))
            files << folder + u'/' + entry.fileName();
    }
    return files;
}

bool removeProjectFolder(Store &store, const QString &folder, const QString &project, bool toTrash)
{
    bool removedAll = true;
    for (const QString &file : programFilesIn(folder, project)) {
        if (!(toTrash ? moveToTrash(store, file) : removeFile(store, file)))
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
