#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corvanta {

// What a file held when the program last read or wrote it. Size and modification time are cheap
// to compare; the hash catches a change that kept both (a same-length edit within one tick).
struct FileFingerprint {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QByteArray hash;
    friend bool operator==(const FileFingerprint &, const FileFingerprint &) = default;
};

// The file as it is on disk now; a file that cannot be read counts as changed content.
FileFingerprint fingerprintOnDisk(const QString &path);
// The file's size and time from disk with the hash of bytes the caller just read or wrote.
FileFingerprint fingerprintOf(const QString &path, QByteArrayView bytes);
// True when file (empty: nothing there) holds what recorded says; a different size or presence
// needs no reading, an equal one is confirmed by the bytes.
bool holdsFingerprint(const QString &file, const FileFingerprint &recorded);

// Told when a list file turned out to differ from what the program last read or wrote.
class FileChangeListener {
public:
    virtual void listFileChangedOnDisk(const QString &path) = 0;

protected:
    ~FileChangeListener() = default;
};

} // namespace corvanta
