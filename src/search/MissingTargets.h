#pragma once

#include "app/FeatureContext.h"
#include "search/PointerPlaces.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <sys/stat.h>

namespace corvanta {

class FileDialogs;
class Ui;
class UndoHistory;

enum class TargetState { Exists, Missing, NotReachable };

// Tells one target's state. It may block for as long as the system does (a stopped network or
// FUSE mount), so the check runs it on a thread of its own.
using TargetCheck = std::function<TargetState(const QString &target)>;

// Tells whether file targets exist. A target that cannot be looked at (no permission, an I/O
// error, a stale network mount), or one under a removable-media folder whose file system is not
// mounted, is NotReachable: it may well come back and is never taken for missing.
class TargetChecker
{
public:
    // mountPoints: the mounted file systems; mediaRoots: the folders removable and network
    // drives are mounted below.
    TargetChecker(const QString &dataFolder, QStringList mountPoints,
        QStringList mediaRoots = defaultMediaRoots());
    // From the system's mount table.
    explicit TargetChecker(const QString &dataFolder);

    static QStringList defaultMediaRoots();
    const QString &dataFolder() const { return dataFolder_; }
    TargetState state(const QString &target) const;
    TargetState operator()(const QString &target) const { return state(target); }
    // The target's path, one without a leading '/' taken from the data folder.
    QString absolute(const QString &target) const;
    // The state of the target at path (absolute) whose stat() failed with error.
    TargetState stateAfter(int error, const QString &path) const;

private:
    QString dataFolder_;
    QStringList mountPoints_;
    QStringList mediaRoots_;

    bool unmountedMedia(const QString &path) const;
};

// Looks at targets one after another as stat() does, opening each folder once for the run of
// targets that lie in it: a name looked up in an open folder skips the walk down its path. Not
// to be shared between threads; it holds one folder open until the next folder or its end.
class TargetStatter
{
public:
    explicit TargetStatter(TargetChecker checker) : checker_(std::move(checker)) { }
    ~TargetStatter();
    // A copy starts with no folder open.
    TargetStatter(const TargetStatter &other) : checker_(other.checker_) { }
    TargetStatter &operator=(const TargetStatter &) = delete;

    // The target's state; when it exists, st holds what stat() tells of it.
    TargetState look(const QString &target, struct stat &st);

private:
    TargetChecker checker_;
    QByteArray folder_;
    int fd_ = -1;
    int folderError_ = 0; // why the folder could not be opened
};

// The Check Missing Targets window's logic: every file pointer whose target is missing or not
// reachable, with where it lives; Go To and Remove Selected act on its rows. The targets are
// checked on a thread of its own, in the order of the files; update() takes the rows checked so
// far. Closing ends the check at once: a thread stuck in the system is left to itself and only
// ever touches what it owns.
class MissingTargets
{
public:
    // Rows: the rows changed (a removal); Checked: rows were added by the check.
    enum class Change { Rows, Checked, Close };
    struct Row
    {
        PointerPlace place;
        TargetState state;
        bool selected = false;
    };

    // undo, when given, takes each removal as one change.
    MissingTargets(Store &store, const QString &dataFolder, TargetCheck check, Ui &ui,
        UndoHistory *undo = nullptr);
    ~MissingTargets();
    MissingTargets(const MissingTargets &) = delete;
    MissingTargets &operator=(const MissingTargets &) = delete;

    static QString caption() { return QStringLiteral(" Check Missing Targets"); }
    static QString stateText(TargetState state);
    int checkedCount() const { return checked_; } // the file pointers looked at so far
    int fileTargetCount() const { return int(pending_.size()); } // the file pointers to look at
    bool checking() const { return !closed_ && checked_ < fileTargetCount(); }
    // Takes what the check found since the last call, waiting up to wait for something new;
    // true (and Checked) when something was taken.
    bool update(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    const std::vector<Row> &rows() const { return rows_; }
    void setSelected(int row, bool selected);

    // Go To: the window closes and the main window opens the pointer's topic.
    void goTo(int row);
    // Removes the selected pointers from their files after one question (No by default) and
    // reports how many went. Missing ones go first; not-reachable ones only when no missing one
    // is selected, after a question of their own. Returns the files rewritten.
    QStringList removeSelected();
    void close();

    // Locate...: an open-file dialog in the row's target's folder, or the nearest folder above it
    // that exists; the file chosen becomes the pointer's target (relink). False when nothing
    // changed.
    void setFileDialogs(FileDialogs *dialogs) { dialogs_ = dialogs; }
    bool locate(int row);
    // Makes target the row's pointer's target, its name kept as it is: only that pointer's line
    // of its file is rewritten, as one undoable change; the row goes from the list. False when
    // the file was not written.
    bool relink(int row, const QString &target);
    // Find Moved: the files named as the row's target's file, in the home folder first, then on
    // the old target's drive, looked for on a thread of their own (MovedSearch); chooseMoved shows
    // the walk as it goes and picks one of its matches (-1: none), and the pointer is relinked to
    // it. A walk that ends with no match is told in a box. False when nothing changed.
    struct MovedFile
    {
        QString path;
        QString folder;
        qint64 modified = 0; // seconds since the epoch
    };
    class MovedSearch;
    bool findMoved(int row);
    std::function<int(MovedSearch &)> chooseMoved;
    // The folders Find Moved walks, in order, for an old target's nearest folder.
    std::function<QStringList(const QString &folder)> movedRoots;
    static QString movedCaption() { return QStringLiteral(" Moved Files Found"); }

    // The folder a search for the row's target starts in: its own, or the nearest one above it.
    QString nearestFolder(int row) const;

    bool closed() const { return closed_; }
    // The files pointers were removed from while the window was open.
    const QStringList &written() const { return written_; }
    const PointerPlace *chosen() const { return chosen_ ? &*chosen_ : nullptr; }

    std::function<void(Change)> onChanged;

private:
    struct Check;

    TextBlocks blocks_;
    std::vector<PointerFile> files_;
    TargetCheck check_;
    Store &store_;
    Ui &ui_;
    UndoHistory *undo_;
    FileDialogs *dialogs_ = nullptr;
    QString dataFolder_;
    std::vector<PointerPlace> pending_; // every file pointer, in the order checked
    std::shared_ptr<Check> job_;        // shared with the checking thread
    std::vector<Row> rows_;
    int checked_ = 0;
    std::optional<PointerPlace> chosen_;
    bool closed_ = false;

    void changed(Change c) { if (onChanged) onChanged(c); }
    QStringList written_;
    // Removes rows' pointers from file; the rows removed (none when the file was not written).
    std::vector<size_t> removeFrom(const PointerFile &file, const std::vector<size_t> &rows);
};

// Find Moved's walk: the roots in turn on a thread of its own, gathering the files of one name.
// The window's thread takes what was found with update(), never waiting on the walk; stop() ends
// it at once (a walk held up in the system is left to itself and touches only what it owns).
class MissingTargets::MovedSearch
{
public:
    MovedSearch(const QString &name, const QStringList &roots);
    ~MovedSearch(); // stops the walk
    MovedSearch(const MovedSearch &) = delete;
    MovedSearch &operator=(const MovedSearch &) = delete;

    // Takes what the walk found since the last call, waiting up to wait for news; true when
    // anything changed (a match, the folder walked, the end).
    bool update(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // The matches taken so far, newest first; of two as new, the one found first.
    const std::vector<MovedFile> &found() const { return found_; }
    const QString &folder() const { return folder_; } // the root being walked
    bool running() const { return !done_; }
    void stop();
    bool stopped() const;

private:
    struct Walk;
    std::shared_ptr<Walk> walk_;
    std::vector<MovedFile> found_;
    QString folder_;
    bool done_ = false;
};

// The desktop's side of the window: shows it modally until it closes.
class MissingTargetsDisplay
{
public:
    virtual void showMissingTargets(MissingTargets &window) = 0;

protected:
    ~MissingTargetsDisplay() = default;
};

// Opens the window from the Tools menu, then the chosen pointer's topic, and reloads the File
// List shown when pointers went from its file.
class CheckMissingTargets
{
public:
    CheckMissingTargets(const FeatureContext &context, MissingTargetsDisplay &display);

    void OpenCheckMissingTargets();
    // Replaces the system's mount table and stat(), for tests.
    void setChecker(std::function<TargetCheck(const QString &)> make) { make_ = std::move(make); }

private:
    FeatureContext c;
    MissingTargetsDisplay &display_;
    std::function<TargetCheck(const QString &)> make_;
    bool open_ = false;
};

} // namespace corvanta
