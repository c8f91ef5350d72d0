#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace corvanta {

class Ui;

// Keeps a second copy of the program away from a data folder already in use: two copies writing
// the same lists would lose each other's changes. The lock is the file .corvanta.lock, held open
// with flock() for the run (the system lets go of it when a copy ends, even by a crash) and
// naming the process id, program, host and boot of its holder, so that a synced data folder
// shows which other machine uses it. The lock goes with the object.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,         // this copy holds the folder
        RunningHere,      // a live copy on this host holds it
        RunningElsewhere, // the lock names another host; takeOver() after the user agreed
        ReadOnlyFolder,   // no lock can be made; reason() says why; the program runs on
        Unlocked,         // no lock could be made for another reason; the program runs on
    };

    explicit SingleInstance(const QString &dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Outcome acquire();
    // Makes the lock this copy's after RunningElsewhere.
    void takeOver();

    QString reason() const { return reason_; }
    // acquire() found the folder read-only: nothing the program writes there can be kept.
    bool readOnly() const { return readOnly_; }
    QString holderHost() const { return holderHost_; }
    QDateTime lockedAt() const { return lockedAt_; } // when the holder last wrote the lock

    static QString lockFileName();
    static QString refusalTitle();
    static QString refusalText(const QString &dataFolder);
    static QString readOnlyTitle();
    static QString readOnlyText(const QString &dataFolder, const QString &reason);
    static QString elsewhereTitle();
    static QString elsewhereText(const QString &dataFolder, const QString &host, qint64 ageSeconds);
    // "3 Minutes", "2 Hours", ...: how long ago a lock was written.
    static QString ageText(qint64 seconds);

private:
    QString folder_;
    QString path_;
    int fd_ = -1;
    bool owned_ = false;
    bool readOnly_ = false;
    QString reason_;
    QString holderHost_;
    QDateTime lockedAt_;

    Outcome examine();
    void writeOwnLock();
};

// Start-up's claim on the data folder, with the boxes it needs: refuses when a live copy on this
// host holds the folder; tells once that the folder is read-only and runs on; asks before taking
// over a lock of another host. Returns false when the program must not start. beforeRefusal runs
// just before the refusal box (start-up raises the running copy's window with it).
bool claimDataFolder(SingleInstance &lock, Ui &ui, const QString &dataFolder, const QDateTime &now,
                     const std::function<void()> &beforeRefusal = {});

} // namespace corvanta
