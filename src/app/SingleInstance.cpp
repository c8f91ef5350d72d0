#include "app/SingleInstance.h"

#include "platform/MsgBox.h"
#include "platform/RegularFile.h"
#include "platform/Ui.h"

#include <QFile>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvanta {

namespace {

QString firstLineOf(const QString &path)
{
    QByteArray bytes;
    if (readRegularFile(path, bytes) != ReadOutcome::Read)
        return QString();
    return QString::fromUtf8(bytes).section(u'\n', 0, 0).trimmed();
}

QString bootId()
{
    return firstLineOf(QStringLiteral("/proc/sys/kernel/random/boot_id"));
}

// The name the kernel keeps for a process (its program's first 15 characters), "" when unknown.
QString programOf(qint64 pid)
{
    return firstLineOf(QStringLiteral("/proc/%1/comm").arg(pid));
}

// A process of this program still runs under pid. A pid the lock names may since have gone to
// another program: that one holds no lock of ours.
bool isLiveCopy(qint64 pid)
{
    if (pid <= 0 || pid > INT_MAX || pid == ::getpid())
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    const QString program = programOf(pid);
    return program.isEmpty() || program == programOf(::getpid());
}

struct LockContent {
    bool valid = false;
    qint64 pid = 0;
    QString host;
    QString boot;
};

// pid, program, host and boot id, one a line; the first three as a QLockFile writes them.
LockContent parseLock(const QByteArray &bytes)
{
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    LockContent lock;
    bool ok = false;
    lock.pid = lines.value(0).trimmed().toLongLong(&ok);
    lock.valid = ok && lock.pid > 0 && lines.size() >= 3;
    lock.host = lines.value(2).trimmed();
    lock.boot = lines.value(3).trimmed();
    return lock;
}

QByteArray readFrom(int fd)
{
    QByteArray bytes(4096, Qt::Uninitialized);
    const ssize_t got = ::pread(fd, bytes.data(), size_t(bytes.size()), 0);
    bytes.resize(got > 0 ? qsizetype(got) : 0);
    return bytes;
}

bool sameFile(int fd, const QByteArray &path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace

SingleInstance::SingleInstance(const QString &dataFolder)
    : folder_(dataFolder), path_(dataFolder + u'/' + lockFileName())
{
}

SingleInstance::~SingleInstance()
{
    if (fd_ < 0)
        return;
    // Removed while still held, and only when it is still the file this copy locked.
    const QByteArray path = QFile::encodeName(path_);
    if (owned_ && sameFile(fd_, path))
        ::unlink(path.constData());
    ::close(fd_);
}

QString SingleInstance::lockFileName() { return QStringLiteral(".corvanta.lock"); }

SingleInstance::Outcome SingleInstance::acquire()
{
    const QByteArray path = QFile::encodeName(path_);
    if (::access(QFile::encodeName(folder_).constData(), W_OK) != 0) {
        reason_ = systemReason(errno);
        // A copy running from the same read-only folder still holds its lock.
        fd_ = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat st {};
        if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)))
            ::close(std::exchange(fd_, -1));
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            ::close(std::exchange(fd_, -1));
            return Outcome::RunningHere;
        }
        readOnly_ = true;
        return Outcome::ReadOnlyFolder;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        // A FIFO, a link or a folder in the lock's place is a damaged lock: never opened (a FIFO
        // would block), removed and made anew.
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
            if (S_ISDIR(st.st_mode))
                ::rmdir(path.constData());
            else
                ::unlink(path.constData());
        }
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
        if (fd_ < 0) {
            const int error = errno;
            // A lock this user may not open, in a folder it may write: damaged, made anew.
            if ((error == EACCES || error == EPERM || error == ELOOP) && ::unlink(path.constData()) == 0)
                continue;
            reason_ = systemReason(error);
            return Outcome::Unlocked;
        }
        // Without flock (some network file systems) the lock's content alone decides.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            ::close(std::exchange(fd_, -1));
            return Outcome::RunningHere;
        }
        // Replaced between open and flock by a copy that finished meanwhile: try again.
        if (!sameFile(fd_, path)) {
            ::close(std::exchange(fd_, -1));
            continue;
        }
        return examine();
    }
    reason_ = systemReason(EAGAIN);
    return Outcome::Unlocked;
}

SingleInstance::Outcome SingleInstance::examine()
{
    struct stat st {};
    if (::fstat(fd_, &st) == 0)
        lockedAt_ = QDateTime::fromSecsSinceEpoch(qint64(st.st_mtim.tv_sec), Qt::UTC);
    const LockContent lock = parseLock(readFrom(fd_));
    // Empty or garbage (a power cut while it was written) is no one's lock.
    if (lock.valid) {
        if (!lock.host.isEmpty() && lock.host != QSysInfo::machineHostName()) {
            holderHost_ = lock.host;
            return Outcome::RunningElsewhere;
        }
        const QString boot = bootId();
        const bool sameBoot = lock.boot.isEmpty() || boot.isEmpty() || lock.boot == boot;
        if (sameBoot && isLiveCopy(lock.pid)) {
            ::close(std::exchange(fd_, -1));
            return Outcome::RunningHere;
        }
    }
    writeOwnLock();
    return Outcome::Acquired;
}

void SingleInstance::takeOver()
{
    if (fd_ >= 0)
        writeOwnLock();
}

void SingleInstance::writeOwnLock()
{
    const QByteArray content = QByteArray::number(qint64(::getpid())) + "\nCorvanta\n"
        + QSysInfo::machineHostName().toUtf8() + '\n' + bootId().toUtf8() + '\n';
    // The flock is the lock; a content that cannot be written (a full disk) only loses the
    // holder's name for other hosts.
    if (::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, content.constData(), size_t(content.size()), 0) > 0)
        ::fdatasync(fd_);
    owned_ = true;
}

QString SingleInstance::refusalTitle() { return QStringLiteral(" Corvanta Is Already Running"); }

QString SingleInstance::refusalText(const QString &dataFolder)
{
    return QStringLiteral("Corvanta Is Already Running With This Data Folder:\r") + userText(dataFolder) + u'\r';
}

QString SingleInstance::readOnlyTitle() { return QStringLiteral(" Data Folder Is Read-Only"); }

QString SingleInstance::readOnlyText(const QString &dataFolder, const QString &reason)
{
    return QStringLiteral("The Data Folder  [") + userText(dataFolder)
        + QStringLiteral("]  Cannot Be Written.     \r") + reason
        + QStringLiteral("\rYou Can Look At Your Lists, But No Change Can Be Saved.     \r");
}

QString SingleInstance::elsewhereTitle() { return QStringLiteral(" Corvanta May Be Running Elsewhere"); }

QString SingleInstance::elsewhereText(const QString &dataFolder, const QString &host, qint64 ageSeconds)
{
    return QStringLiteral("The Data Folder  [") + userText(dataFolder)
        + QStringLiteral("]     \rIs In Use By Corvanta On The Computer  [") + userText(host)
        + QStringLiteral("],     \rWhich Claimed It ") + ageText(ageSeconds)
        + QStringLiteral(" Ago.\r\rIf Corvanta No Longer Runs There, Click Yes To Use It Here.     \r"
                         "Click No To Quit.\r");
}

QString SingleInstance::ageText(qint64 seconds)
{
    auto count = [](qint64 n, const char *unit) {
        return QString::number(n) + u' ' + QString::fromLatin1(unit) + (n == 1 ? QString() : QStringLiteral("s"));
    };
    seconds = std::max<qint64>(seconds, 0);
    if (seconds < 60)
        return QStringLiteral("Less Than A Minute");
    if (seconds < 3600)
        return count(seconds / 60, "Minute");
    if (seconds < 2 * 86400)
        return count(seconds / 3600, "Hour");
    return count(seconds / 86400, "Day");
}

bool claimDataFolder(SingleInstance &lock, Ui &ui, const QString &dataFolder, const QDateTime &now,
                     const std::function<void()> &beforeRefusal)
{
    switch (lock.acquire()) {
    case SingleInstance::Outcome::Acquired:
    case SingleInstance::Outcome::Unlocked:
        return true;
    case SingleInstance::Outcome::RunningHere:
        if (beforeRefusal)
            beforeRefusal();
        ui.msgBox(SingleInstance::refusalText(dataFolder), SingleInstance::refusalTitle(),
                  MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    case SingleInstance::Outcome::ReadOnlyFolder:
        ui.msgBox(SingleInstance::readOnlyText(dataFolder, lock.reason()), SingleInstance::readOnlyTitle(),
                  MsgBox::OkOnly | MsgBox::Exclamation);
        return true;
    case SingleInstance::Outcome::RunningElsewhere:
        if (ui.msgBox(SingleInstance::elsewhereText(dataFolder, lock.holderHost(), lock.lockedAt().secsTo(now)),
                      SingleInstance::elsewhereTitle(), MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2)
            != MsgBox::Yes)
            return false;
        lock.takeOver();
        return true;
    }
    return false;
}

} // namespace corvanta
