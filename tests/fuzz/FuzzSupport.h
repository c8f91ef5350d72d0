#pragma once

// What the fuzz targets share: a scratch folder in memory where one exists, files of raw bytes
// in it, and a check that stops the run loudly.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace corvanta::fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString scratchFile(const QString &name)
{
    // /dev/shm keeps the many small writes (and their fsyncs) off the disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/corvanta-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/corvanta-fuzz-XXXXXX"));
    return dir.filePath(name);
}

// Lays bytes down at name in the scratch folder, past the program's own writer.
inline QString fileWith(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchFile(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

} // namespace corvanta::fuzz
