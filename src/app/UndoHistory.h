#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace corvanta {

class CommandSurface;
class ListNavigation;
class Operations;
class PointerChange;
class Store;
class Ui;
struct SharedState;

// "Pointer" for one, "3 Pointers" for more: the end of an undo item's name ("Remove 3 Pointers").
QString pointerCount(int count);
// The name of a step on a project's or topic's name: "Delete Project 'Garden'", "Rename Topic
// 'Plans' in 'Garden'" (a topic of the entry screen is in no project).
QString projectStepName(const QString &verb, const QString &project);
QString topicStepName(const QString &verb, const QString &topic, const QString &project);

// The changes of this run to the data folder, undone and redone a whole change at a time (&Edit
// "Undo", "Redo"): pointers, project and topic names, their files and folders. A change is what
// each file it touched held before and after it (nothing, for a file it made or deleted), the
// folders it made or removed, and the renames it made. Undo puts the earlier state back through
// the store's atomic save, and only while every file still holds exactly what the change left:
// whatever another program or the program itself wrote since is never overwritten, and a file
// that is there again where the change left none is never replaced. The main form owns it;
// features record through PointerChange.
class UndoHistory
{
public:
    static constexpr int Limit = 50;
    // The bytes the history may hold: beyond it the oldest changes go, so a run of changes to a
    // very long list cannot take the memory of fifty copies of it.
    static constexpr qsizetype ByteBudget = 64 * 1024 * 1024;
    void setByteBudget(qsizetype bytes) { byteBudget_ = bytes; } // for tests

    struct FileState {
        QString path;
        QByteArray before; // a file that was missing counts as empty
        QByteArray after;
        // Paste.Lst: Undo leaves it as it is, since what a Cut put there is also back in the
        // topic then; Redo goes ahead only while it still holds what the change left, so a
        // pointer cut again is never in no file.
        bool clipboard = false;
        // Whether anything is there before and after the change: a file the change made or
        // deleted has no bytes on one side. Only the files touched as made or deleted say so;
        // for the others a missing file counts as empty.
        bool existedBefore = true;
        bool existsAfter = true;
        bool folder = false; // a folder the change made or removed: no bytes
        bool deleted = false; // a file the user deleted: Redo moves it to the trash again
        bool tracked = false; // touched as a file the change may make or delete
    };
    // A file or folder the change renamed, its content untouched.
    struct Move {
        QString from;
        QString to;
    };
    // The list whose row Undo and Redo show for a change of project or topic names.
    enum class NameList { None, Projects, Topics };
    struct Change {
        QString label; // "Remove 3 Pointers"
        std::vector<FileState> files; // the first is the one shown again by Undo and Redo
        std::vector<Move> moves;      // in the order they were made
        NameList names = NameList::None;
        QString project;   // the project whose Topic List it is ("" for the entry screen's)
        QString rowBefore; // the row shown after Undo, "" for none
        QString rowAfter;  // the row shown after Redo
    };

    UndoHistory(SharedState &state, Ui &ui, Operations &operations, CommandSurface &commands, Store &store);

    // A change made: it goes on top, and what was undone before can no longer be redone.
    void record(Change change);
    // The menu items' names: "Undo Remove 3 Pointers", or "Undo" when there is nothing to undo.
    QString undoCaption() const;
    QString redoCaption() const;
    int undoCount() const { return int(undo_.size()); }
    int redoCount() const { return int(redo_.size()); }
    int recordedCount() const { return recorded_; } // changes recorded this run, for tests

    // Puts the files of the last change back as they were before it and shows its first file's
    // topic, with the first row that came back current. Refused with " Cannot Undo" and the
    // reason, nothing written, when a file no longer holds what the change left; the refused
    // change leaves the history.
    void Undo();
    // The same the other way for the last change undone.
    void Redo();

    // Runs between two writes of one step, in the order they are made (for tests that stop the
    // program there).
    void setBetweenWrites(std::function<void()> hook) { betweenWrites_ = std::move(hook); }
    // What shows a change's place again; the form sets it once it has made its lists' navigation.
    void setNavigation(ListNavigation *navigation) { navigation_ = navigation; }

private:
    friend class PointerChange;
    PointerChange *open_ = nullptr; // the outermost change under way
    qsizetype byteBudget_ = ByteBudget;
    int recorded_ = 0;
    std::function<void()> betweenWrites_;

    SharedState &s;
    Ui &ui_;
    ListNavigation *navigation_ = nullptr;
    Store &store_;
    CommandSurface &commands_;
    std::deque<Change> undo_;
    std::deque<Change> redo_;

    void step(std::deque<Change> &from, std::deque<Change> &to, bool back);
    // bytes, sharing the copy the last change of path left when it is the same.
    QByteArray shared(const QString &path, const QByteArray &bytes) const;
    qsizetype heldBytes() const;
    [[nodiscard]] bool restore(const Change &change, bool back);
    // Whether the files and folders of change still are as it left them (back) or as they were
    // before it; else the refusal's reason for the path in *path.
    bool leftAsIs(const Change &change, bool back, QString *path, QString *why) const;
    void show(const Change &change, bool back);
    void updateMenu();
};

// One change a user makes to pointer files. Made before the first write and told each file before
// it is written; when it goes out of scope, the files that now hold other bytes become one step
// of the history. Nothing is recorded when no file changed (a refused or failed write). A change
// made while another is under way is part of it: adding five files one editor after another is
// one step, named by the outer change.
class PointerChange
{
public:
    PointerChange(UndoHistory &history, QString label);
    ~PointerChange();
    PointerChange(const PointerChange &) = delete;
    PointerChange &operator=(const PointerChange &) = delete;

    // Takes the file's bytes now, once; a file that cannot be read is left out.
    void touch(const QString &path);
    // The same for a file the change may make or delete: Undo and Redo make and delete it too.
    // deleting: the user deletes it, so Redo moves it to the trash again.
    void touchFile(const QString &path, bool deleting = false);
    // A folder the change may make or remove (empty, or holding only files it touched).
    void touchFolder(const QString &path);
    // A rename the change made; Undo renames back, refusing to replace anything.
    void moved(const QString &from, const QString &to);
    // The list row Undo (before) and Redo (after) show: the Project List's, or project's Topic
    // List's.
    void showNames(UndoHistory::NameList list, const QString &project, const QString &before, const QString &after);
    // The same for Paste.Lst before a Cut writes it. A change of Paste.Lst alone is no step.
    void touchClipboard(const QString &path);
    // The name once the change knows its size ("Paste 3 Pointers").
    void setLabel(const QString &label) { change_.label = label; }

private:
    UndoHistory &history_;
    PointerChange *outer_;
    UndoHistory::Change change_;

    void take(const QString &path, bool clipboard);
    bool taken(const QString &path) const;
};

} // namespace corvanta
