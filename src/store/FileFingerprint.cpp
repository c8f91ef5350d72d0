#include "store/FileFingerprint.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>

#include <sys/stat.h>

namespace corvanta {

namespace {

QByteArray hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Size and time from one stat, so the two always belong together.
FileFingerprint statOf(const QString &path)
{
    struct stat st {};
    FileFingerprint print;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return print;
    print.exists = true;
    print.size = st.st_size;
    print.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return print;
}

struct Book {
    QMutex mutex;
    QHash<QString, FileFingerprint> prints;
    FileChangeListener *listener = nullptr;
};

Book &book()
{
    static Book b;
    return b;
}

QString key(const QString &path) { return QDir::cleanPath(path); }

} // namespace

FileFingerprint fingerprintOf(const QString &path, QByteArrayView bytes)
{
    FileFingerprint print = statOf(path);
    if (print.exists)
        print.hash = hashOf(bytes);
    return print;
}

FileFingerprint fingerprintOnDisk(const QString &path)
{
    FileFingerprint print = statOf(path);
    if (!print.exists)
        return print;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        print.hash = QByteArrayLiteral("unreadable");
        return print;
    }
    print.hash = hashOf(file.readAll());
    return print;
}

namespace fileGuard {

void record(const QString &path, QByteArrayView bytes)
{
    const FileFingerprint print = fingerprintOf(path, bytes);
    Book &b = book();
    const QMutexLocker lock(&b.mutex);
    b.prints.insert(key(path), print);
}

void recordMissing(const QString &path)
{
    Book &b = book();
    const QMutexLocker lock(&b.mutex);
    b.prints.insert(key(path), FileFingerprint{});
}

bool unchanged(const QString &path)
{
    return matchesRecord(path, path);
}

bool matchesRecord(const QString &path, const QString &replaced)
{
    FileFingerprint recorded;
    {
        Book &b = book();
        const QMutexLocker lock(&b.mutex);
        const auto it = b.prints.constFind(key(path));
        if (it == b.prints.cend())
            return true;
        recorded = *it;
    }
    // Different size or presence needs no reading; equal ones are confirmed by the bytes.
    const FileFingerprint now = replaced.isEmpty() ? FileFingerprint{} : statOf(replaced);
    if (now.exists != recorded.exists || now.size != recorded.size)
        return false;
    return !now.exists || fingerprintOnDisk(replaced).hash == recorded.hash;
}

void forget(const QString &path)
{
    Book &b = book();
    const QMutexLocker lock(&b.mutex);
    b.prints.remove(key(path));
}

void setListener(FileChangeListener *listener)
{
    Book &b = book();
    const QMutexLocker lock(&b.mutex);
    b.listener = listener;
}

FileChangeListener *listener()
{
    Book &b = book();
    const QMutexLocker lock(&b.mutex);
    return b.listener;
}

} // namespace fileGuard

} // namespace corvanta
