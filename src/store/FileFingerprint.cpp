#include "store/FileFingerprint.h"

#include <QCryptographicHash>
#include <QFile>

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

bool holdsFingerprint(const QString &file, const FileFingerprint &recorded)
{
    const FileFingerprint now = file.isEmpty() ? FileFingerprint{} : statOf(file);
    if (now.exists != recorded.exists || now.size != recorded.size)
        return false;
    return !now.exists || fingerprintOnDisk(file).hash == recorded.hash;
}

} // namespace corvanta
