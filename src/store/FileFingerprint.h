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

// Told when a list file turned out to differ from what the program last read or wrote.
class FileChangeListener {
public:
    virtual void listFileChangedOnDisk(const QString &path) = 0;

protected:
    ~FileChangeListener() = default;
};

// The fingerprints of every file the store read or wrote in this process, so that a save never
// replaces what another program (an editor, a sync service) wrote meanwhile. Thread-safe.
namespace fileGuard {
// Called by the store after every read and write; bytes are what was read or written.
void record(const QString &path, QByteArrayView bytes);
// The file was looked for and is missing: another program creating it is a change too.
void recordMissing(const QString &path);
// True when the file is as last recorded, or was never recorded.
[[nodiscard]] bool unchanged(const QString &path);
// The same for a file that now lies elsewhere (replaced, the one a save swapped out; empty when
// nothing was there): true when it holds what was last recorded for path.
[[nodiscard]] bool matchesRecord(const QString &path, const QString &replaced);
// Takes the file's present state as seen, after the program has shown it again.
void forget(const QString &path);
// The one listener (the program's external-change handling); nullptr removes it.
void setListener(FileChangeListener *listener);
FileChangeListener *listener();
} // namespace fileGuard

} // namespace corvanta
