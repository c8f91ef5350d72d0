#include "store/OwnFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanta {

namespace {

bool isUnder(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && folder != u"/" && path.startsWith(folder + u'/');
}

QString linkLeadsNowhere()
{
    return QStringLiteral("It is a link that does not lead to a regular file.");
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
bool finalTarget(const QString &path, const QString &dataFolder, QString &target, QString &reason)
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
            reason = linkLeadsNowhere();
            return false;
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

// Where the save's temporary files go: beside the target, hidden, with a name nothing has.
QString besideName(const QString &target, const QString &kind)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' + kind + u'-'
           + QString::number(QRandomGenerator::global()->generate64(), 36);
}

bool sameState(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
           && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool lacksFeature(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// Takes away a file the save made, or the old content it replaced. One that cannot be removed
// stays as a hidden file beside the list, which loses nothing, so the save's outcome stands.
void removeOwnTemporary(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) {
        // nothing to undo: see above
    }
}

// Moves from to to unless something is already at to: EEXIST then, 0 when moved.
int placeWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!lacksFeature(errno))
        return errno;
    if (::link(source.constData(), target.constData()) == 0) {
        removeOwnTemporary(from);
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    // Neither call exists here: the check and the rename are as close as they can be.
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0)
        return EEXIST;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

SaveResult changedOnDisk()
{
    return SaveResult{false, QString(), true};
}

// The save's file at temp takes target's place only when what it replaces is what the program
// last read (asRead; no check without one). With the system's atomic exchange the two swap, and
// the file swapped out is checked where nobody changes it any more: not as read, they swap back.
// Without the exchange, the old file gets a second name, is checked under it, and the new one
// goes in only while the old one is still the file at target.
SaveResult swapIn(const QString &temp, const QString &target, const struct stat &mine,
                  const ReplacedCheck &asRead, bool exchangeInUse)
{
    const QByteArray source = QFile::encodeName(temp);
    const QByteArray destination = QFile::encodeName(target);
    struct stat now {};
    if (::lstat(destination.constData(), &now) != 0) {
        // Nothing there (any more): a file the program last saw is gone, one made meanwhile stays.
        if (asRead && !asRead(QString())) {
            removeOwnTemporary(temp);
            return changedOnDisk();
        }
        const int error = placeWithoutReplacing(temp, target);
        if (error != 0) {
            removeOwnTemporary(temp);
            return error == EEXIST ? changedOnDisk() : failure(systemReason(error));
        }
        return {};
    }

    // Changed since it was read: refused before the new file is ever seen at target. Checked here
    // however recent the caller's own check was, since while the new file sits at target (the
    // moment before an exchange is taken back) another program may read it.
    if (asRead && !asRead(target)) {
        removeOwnTemporary(temp);
        return changedOnDisk();
    }
    // The file just checked, by identity: changed while it was read, it is refused here; replaced
    // by another program's rename after this, the exchange below is taken back at once, without
    // reading the file again, so the new file is seen at target for as short a time as can be.
    struct stat verified {};
    if (asRead && (::lstat(destination.constData(), &verified) != 0 || !sameState(now, verified))) {
        removeOwnTemporary(temp);
        return changedOnDisk();
    }
    if (exchangeInUse
        && ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, destination.constData(), RENAME_EXCHANGE) == 0) {
        struct stat away {};
        const bool sameFile = !asRead
                              || (::lstat(source.constData(), &away) == 0 && away.st_dev == verified.st_dev
                                  && away.st_ino == verified.st_ino);
        if (sameFile && (!asRead || asRead(temp))) {
            removeOwnTemporary(temp);
            return {};
        }
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, destination.constData(), RENAME_EXCHANGE) != 0) {
            const int error = errno;
            return failure(QStringLiteral("Another program changed the file while it was saved; its version could not be put back and is now %1. %2")
                               .arg(temp, systemReason(error)));
        }
        // What came back is the program's own file unless another program replaced the list in
        // the moment between: that one stays for the user to find.
        struct stat back {};
        if (::lstat(source.constData(), &back) == 0 && back.st_dev == mine.st_dev && back.st_ino == mine.st_ino)
            removeOwnTemporary(temp);
        return changedOnDisk();
    }
    if (exchangeInUse && !lacksFeature(errno)) {
        const int error = errno;
        removeOwnTemporary(temp);
        return failure(systemReason(error));
    }

    // No exchange on this file system: a second name for the old file, checked, and the new file
    // renamed over the first name while that is still the same file.
    const QString aside = besideName(target, QStringLiteral("old"));
    const QByteArray asideName = QFile::encodeName(aside);
    if (::link(destination.constData(), asideName.constData()) != 0) {
        // No hard links either: the last check and the rename as close as they can be.
        if (asRead && !asRead(target)) {
            removeOwnTemporary(temp);
            return changedOnDisk();
        }
        if (::rename(source.constData(), destination.constData()) != 0) {
            const int error = errno;
            removeOwnTemporary(temp);
            return failure(systemReason(error));
        }
        return {};
    }
    struct stat checked {};
    const bool same = (!asRead || asRead(aside)) && ::lstat(asideName.constData(), &checked) == 0;
    struct stat atTarget {};
    if (!same || ::lstat(destination.constData(), &atTarget) != 0 || !sameState(checked, atTarget)) {
        removeOwnTemporary(aside);
        removeOwnTemporary(temp);
        return changedOnDisk();
    }
    if (::rename(source.constData(), destination.constData()) != 0) {
        const int error = errno;
        removeOwnTemporary(aside);
        removeOwnTemporary(temp);
        return failure(systemReason(error));
    }
    removeOwnTemporary(aside);
    return {};
}

} // namespace

ReadOutcome readOwnFile(Store &store, const QString &path, QByteArray &bytes, QString *reason)
{
    ReadOutcome outcome = readRegularFile(path, bytes, reason);
    // A link that leads nowhere (a sync client's placeholder) is there all the same: the list it
    // stands for could not be read, which is not a list that names nothing.
    struct stat st {};
    if (outcome == ReadOutcome::Missing && ::lstat(QFile::encodeName(path).constData(), &st) == 0
        && S_ISLNK(st.st_mode)) {
        outcome = ReadOutcome::Unreadable;
        if (reason)
            *reason = linkLeadsNowhere();
    }
    if (outcome == ReadOutcome::Unreadable)
        store.markUnreadable(path);
    return outcome;
}

QString unreadableFileReason()
{
    return QStringLiteral("The file could not be read, so it is not replaced.");
}

SaveResult saveOwnFile(Store &store, const QString &path, const QByteArray &bytes, const ReplacedCheck &asRead)
{
    if (store.isMarkedUnreadable(path))
        return failure(unreadableFileReason());
    QString target;
    QString reason;
    if (!finalTarget(path, store.dataFolder(), target, reason))
        return failure(reason);
    const QFileInfo info(target);
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(target).constData(), &before) == 0;
    if (existed) {
        if (const int error = readOnlyError(target))
            return failure(systemReason(error));
    }
    if (!info.absoluteDir().exists())
        return failure(systemReason(ENOENT));

    // The new content goes to a temporary file beside the target with the old file's
    // permissions, written, flushed and synced; any error ends the save before the old file is
    // touched and takes the temporary file away.
    QString temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = besideName(target, QStringLiteral("new"));
        fd = ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(systemReason(errno));
    }
    if (fd < 0)
        return failure(systemReason(EEXIST));
    auto abandon = [&](int error) {
        ::close(fd);
        removeOwnTemporary(temp);
        return failure(systemReason(error));
    };
    if (existed && ::fchmod(fd, before.st_mode & 07777) != 0)
        return abandon(errno);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(n < 0 ? errno : ENOSPC);
        written += n;
    }
    struct stat mine {};
    if (::fsync(fd) != 0 || ::fstat(fd, &mine) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        removeOwnTemporary(temp);
        return failure(systemReason(error));
    }
    const SaveResult result = swapIn(temp, target, mine, asRead, store.renameExchange());
    if (result)
        syncFolder(info.absolutePath());
    return result;
}

} // namespace corvanta
