#include "store/FileFingerprint.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

// XXH3 is a non-cryptographic hash made for checking that data is unchanged: it takes its input
// many bytes at a time, so a list file of some megabytes costs a fraction of a millisecond.
// Inlined: the program needs only the header, not the library, when it runs.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace corvanta {

namespace {

QByteArray digestOf(XXH128_hash_t hash)
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, hash);
    return QByteArray(reinterpret_cast<const char *>(canonical.digest), qsizetype(sizeof canonical.digest));
}

QByteArray hashOf(QByteArrayView bytes)
{
    return digestOf(XXH3_128bits(bytes.data(), size_t(bytes.size())));
}

// The hash of the regular file at path read in pieces, so no copy of it is ever held; empty when
// it cannot be read (or is no longer a regular file: opened without waiting on a FIFO).
QByteArray hashOfFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {};
    struct stat st {};
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
    bool ok = state && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && XXH3_128bits_reset(state.get()) == XXH_OK;
    char buffer[1 << 16];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = XXH3_128bits_update(state.get(), buffer, size_t(n)) == XXH_OK;
    }
    ::close(fd);
    return ok ? digestOf(XXH3_128bits_digest(state.get())) : QByteArray();
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
    print.hash = hashOfFile(path);
    if (print.hash.isEmpty())
        print.hash = QByteArrayLiteral("unreadable");
    return print;
}

bool holdsFingerprint(const QString &file, const FileFingerprint &recorded)
{
    // Size (and presence) first: a different one needs no reading. An equal size is confirmed
    // by the bytes whatever the time says: an edit within one tick keeps both, and a file
    // rewritten with the same bytes is unchanged though its time is new.
    const FileFingerprint now = file.isEmpty() ? FileFingerprint{} : statOf(file);
    if (now.exists != recorded.exists || now.size != recorded.size)
        return false;
    return !now.exists || fingerprintOnDisk(file).hash == recorded.hash;
}

} // namespace corvanta
