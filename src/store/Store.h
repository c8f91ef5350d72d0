#pragma once

#include "store/FileFingerprint.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <mutex>
#include <set>

namespace corvanta {

// What the program knows about its own files while it runs: which could not be read, what each
// list held when last read or written, where the data folder is and who hears of a list changed
// on disk. The composition root makes one and hands it to everything that reads or writes the
// program's files; a test makes its own. Thread-safe: searches read lists on worker threads.
class Store
{
public:
    explicit Store(const QString &dataFolder = QString());
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // The data folder of this run: a list file that is a symbolic link is written only when the
    // file it finally leads to is a regular file inside this folder or the user's home folder.
    void setDataFolder(const QString &folder);
    QString dataFolder() const;

    // --- files that exist but could not be read, marked for the rest of the run (OwnFiles.h) ---
    void markUnreadable(const QString &path);
    [[nodiscard]] bool isMarkedUnreadable(const QString &path) const;
    // Keeps the marks with the files when the program renames or deletes them (a folder moves
    // the marks of everything under it).
    void moveUnreadableMarks(const QString &from, const QString &to);
    void dropUnreadableMarks(const QString &path);
    // True the first time it is asked for path: the user is told once about a file that could
    // not be read, however often it is shown again.
    [[nodiscard]] bool firstNoticeOfUnreadable(const QString &path);

    // --- the fingerprints of every file read or written, so that a save never replaces what
    // another program (an editor, a sync service) wrote meanwhile ---
    // Called after every read and write; bytes are what was read or written.
    void record(const QString &path, QByteArrayView bytes);
    // The file was looked for and is missing: another program creating it is a change too.
    void recordMissing(const QString &path);
    // True when the file is as last recorded, or was never recorded.
    [[nodiscard]] bool unchanged(const QString &path) const;
    // The same for a file that now lies elsewhere (replaced, the one a save swapped out; empty
    // when nothing was there): true when it holds what was last recorded for path.
    [[nodiscard]] bool matchesRecord(const QString &path, const QString &replaced) const;
    // Takes the file's present state as seen, after the program has shown it again.
    void forget(const QString &path);
    // The program renamed from (a file or a folder) to to, where nothing was: the records go
    // with the files, and a record left at to by an earlier file of that name goes.
    void moveRecords(const QString &from, const QString &to);
    // The one listener (the program's external-change handling); nullptr removes it.
    void setListener(FileChangeListener *listener);
    FileChangeListener *listener() const;

    // Whether saves swap the new file in with the system's atomic exchange (the default) or use
    // the way for file systems without it; tests run both.
    void useRenameExchange(bool use);
    bool renameExchange() const;

private:
    mutable std::mutex mutex_;
    std::set<QString> unreadable_; // absolute, cleaned paths
    std::set<QString> told_;       // the same, for the files the user was told about
    QString dataFolder_;
    QHash<QString, FileFingerprint> prints_; // cleaned paths
    FileChangeListener *listener_ = nullptr;
    bool exchange_ = true;
};

} // namespace corvanta
