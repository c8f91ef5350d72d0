#include "store/OwnFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanta {

namespace {

struct Registry {
    std::mutex mutex;
    std::set<QString> unreadable; // absolute, cleaned paths
    QString dataFolder;
};

Registry &registry()
{
    static Registry r;
    return r;
}

QString keyOf(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool isUnder(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && folder != u"/" && path.startsWith(folder + u'/');
}

SaveResult failure(const QString &reason)
{
    return SaveResult{false, reason};
}

// Why an existing file may not be replaced, 0 when it may. A file without any write permission
// counts as read-only even for a user (root) whom the system would let write it; the rename of
// the save would otherwise replace it silently.
int readOnlyError(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (::access(encoded.constData(), W_OK) != 0)
        return errno; // EROFS on a read-only file system, EACCES without permission
    struct stat st {};
    if (::stat(encoded.constData(), &st) == 0 && !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        return EACCES;
    return 0;
}

// Where a save of path really writes, or a refusal: a link is followed only to a regular file
// inside the data folder or the home folder.
bool finalTarget(const QString &path, QString &target, QString &reason)
{
    struct stat st {};
    const QByteArray encoded = QFile::encodeName(path);
    if (::lstat(encoded.constData(), &st) != 0) {
        target = path; // a new file
        return true;
    }
    if (S_ISLNK(st.st_mode)) {
        const QString resolved = QFileInfo(path).canonicalFilePath();
        struct stat to {};
        if (resolved.isEmpty() || ::stat(QFile::encodeName(resolved).constData(), &to) != 0
            || !S_ISREG(to.st_mode)) {
            reason = QStringLiteral("It is a link that does not lead to a regular file.");
            return false;
        }
        QString dataFolder;
        {
            const std::lock_guard lock(registry().mutex);
            dataFolder = registry().dataFolder;
        }
        const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
        if (!isUnder(resolved, QFileInfo(dataFolder).canonicalFilePath()) && !isUnder(resolved, home)) {
            reason = QStringLiteral("It is a link to %1, outside the data folder and the home folder.")
                         .arg(resolved);
            return false;
        }
        target = resolved;
        return true;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? systemReason(EISDIR) : QStringLiteral("It is not a regular file.");
        return false;
    }
    target = path;
    return true;
}

// The rename is on disk only once its folder is; a failure here no longer changes the outcome.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReadOutcome readOwnFile(const QString &path, QByteArray &bytes, QString *reason)
{
    const ReadOutcome outcome = readRegularFile(path, bytes, reason);
    if (outcome == ReadOutcome::Unreadable) {
        const std::lock_guard lock(registry().mutex);
        registry().unreadable.insert(keyOf(path));
    }
    return outcome;
}

bool isMarkedUnreadable(const QString &path)
{
    const QString key = keyOf(path);
    const std::lock_guard lock(registry().mutex);
    return registry().unreadable.count(key) > 0;
}

void moveUnreadableMarks(const QString &from, const QString &to)
{
    const QString oldKey = keyOf(from);
    const QString newKey = keyOf(to);
    const std::lock_guard lock(registry().mutex);
    std::set<QString> &marks = registry().unreadable;
    std::set<QString> moved;
    for (auto it = marks.begin(); it != marks.end();) {
        if (*it == oldKey || it->startsWith(oldKey + u'/')) {
            moved.insert(newKey + it->mid(oldKey.size()));
            it = marks.erase(it);
        } else {
            ++it;
        }
    }
    marks.insert(moved.begin(), moved.end());
}

void dropUnreadableMarks(const QString &path)
{
    const QString key = keyOf(path);
    const std::lock_guard lock(registry().mutex);
    std::set<QString> &marks = registry().unreadable;
    for (auto it = marks.begin(); it != marks.end();)
        it = (*it == key || it->startsWith(key + u'/')) ? marks.erase(it) : std::next(it);
}

QString unreadableFileReason()
{
    return QStringLiteral("The file could not be read, so it is not replaced.");
}

void setDataFolder(const QString &folder)
{
    const std::lock_guard lock(registry().mutex);
    registry().dataFolder = folder;
}

SaveResult saveOwnFile(const QString &path, const QByteArray &bytes)
{
    if (isMarkedUnreadable(path))
        return failure(unreadableFileReason());
    QString target;
    QString reason;
    if (!finalTarget(path, target, reason))
        return failure(reason);
    const QFileInfo info(target);
    if (info.exists()) {
        if (const int error = readOnlyError(target))
            return failure(systemReason(error));
    }
    if (!info.absoluteDir().exists())
        return failure(systemReason(ENOENT));

    // QSaveFile writes a temporary file beside the target and renames it over the old one on
    // commit, keeping the old file's permissions; an uncommitted file is discarded. Its commit
    // can report success after the last buffered write failed (a full disk), so the data is
    // flushed and synced here, and any error ends the save before the rename.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failure(why);
    }
    if (::fsync(file.handle()) != 0) {
        const QString why = systemReason(errno);
        file.cancelWriting();
        return failure(why);
    }
    if (!file.commit())
        return failure(file.errorString());
    syncFolder(info.absolutePath());
    return {};
}

} // namespace corvanta
