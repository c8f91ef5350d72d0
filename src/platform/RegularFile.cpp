#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanta {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

ReadOutcome readRegularFile(const QString &path, QByteArray &bytes, QString *reason)
{
    bytes.clear();
    auto unreadable = [&](const QString &why) {
        if (reason)
            *reason = why;
        return ReadOutcome::Unreadable;
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer that never comes.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return error == ENOENT ? ReadOutcome::Missing : unreadable(systemReason(error));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return unreadable(systemReason(error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return unreadable(S_ISDIR(st.st_mode) ? systemReason(EISDIR)
                                              : QStringLiteral("It is not a regular file."));
    }
    // Read straight into the result, sized by the file (files under /proc tell 0) and grown
    // when it turns out longer.
    QByteArray data(qMax<qsizetype>(qsizetype(st.st_size), 4096) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size())
            data.resize(data.size() * 2);
        const ssize_t got = ::read(fd, data.data() + filled, size_t(data.size() - filled));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return unreadable(systemReason(error));
        }
        filled += qsizetype(got);
    }
    data.truncate(filled);
    ::close(fd);
    bytes = std::move(data);
    return ReadOutcome::Read;
}

} // namespace corvanta
