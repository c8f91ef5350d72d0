#include "app/UndoHistory.h"

#include "app/CommandSurface.h"
#include "app/FeatureCalls.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/RegularFile.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/ListFiles.h"

#include <QDir>
#include <QFileInfo>

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <set>

namespace corvanta {

namespace {

const QString UndoItem = QStringLiteral("mnuUndo");
const QString RedoItem = QStringLiteral("mnuRedo");

// The file's bytes now; a missing file reads as empty. False when something is there that
// cannot be read.
bool bytesNow(const QString &path, QByteArray &bytes, QString *reason = nullptr)
{
    bytes.clear();
    return readRegularFile(path, bytes, reason) != ReadOutcome::Unreadable;
}

// Where a pointer file of the data folder is shown: the project ("" for the entry screen) and the
// topic ("" for the " ..." row), as the paths are made from the names.
bool placeOf(const QString &dataFolder, const QString &path, QString &project, QString &topic)
{
    const QString prefix = dataFolder + u'/';
    const QString suffix = QStringLiteral(".Files");
    if (!path.startsWith(prefix) || !path.endsWith(suffix))
        return false;
    const QString inside = path.sliced(prefix.size());
    if (inside == QStringLiteral("Project.Files")) {
        project.clear();
        topic.clear();
        return true;
    }
    const QString projects = QStringLiteral("Projects/");
    if (!inside.startsWith(projects))
        return false;
    const QStringList parts = inside.sliced(projects.size()).chopped(suffix.size()).split(u'/');
    if (parts.size() == 1) {
        project.clear();
        topic = parts[0];
        return true;
    }
    if (parts.size() != 2)
        return false;
    project = parts[0];
    topic = parts[1] == parts[0] ? QString() : parts[1];
    return true;
}

QStringList recordsOf(const QByteArray &bytes)
{
    QStringList records;
    const QString text = decodeListText(bytes);
    forEachRecord(text, [&](QStringView line) { records.append(line.toString()); });
    return records;
}

// The row to make current once shown comes back: the first that differs from other, or the last
// row when shown only lost rows at its end.
QString firstChangedRecord(const QByteArray &shown, const QByteArray &other)
{
    const QStringList now = recordsOf(shown);
    const QStringList was = recordsOf(other);
    qsizetype i = 0;
    while (i < now.size() && i < was.size() && now[i] == was[i])
        ++i;
    if (i < now.size())
        return now[i];
    return now.isEmpty() ? QString() : now.last();
}

// Whether anything is at path, a link leading nowhere too.
bool isThere(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString refusalText(const QString &path, const QString &why, bool back)
{
    return QStringLiteral("The File  [") + userText(path) + QStringLiteral("]  ") + why
        + fiveSpaces() + u'\r'
        + (back ? QStringLiteral("Nothing Was Undone.") : QStringLiteral("Nothing Was Redone."))
        + u'\r';
}

// Whether to holds a record from does not (each counted as often as it stands).
bool gainsRecords(const QByteArray &from, const QByteArray &to)
{
    QHash<QString, int> held;
    for (const QString &record : recordsOf(from))
        ++held[record];
    for (const QString &record : recordsOf(to)) {
        if (--held[record] < 0)
            return true;
    }
    return false;
}

} // namespace

QString pointerCount(int count)
{
    return count == 1 ? QStringLiteral("Pointer") : QString::number(count) + QStringLiteral(" Pointers");
}

QString projectStepName(const QString &verb, const QString &project)
{
    return verb + QStringLiteral(" Project '") + userText(project) + u'\'';
}

QString topicStepName(const QString &verb, const QString &topic, const QString &project)
{
    QString name = verb + QStringLiteral(" Topic '") + userText(topic) + u'\'';
    if (!project.isEmpty())
        name += QStringLiteral(" in '") + userText(project) + u'\'';
    return name;
}

UndoHistory::UndoHistory(SharedState &state, Ui &ui, Operations &operations, CommandSurface &commands, Store &store)
    : s(state), ui_(ui), store_(store), commands_(commands)
{
    operations.add(UndoItem, [this] { Undo(); });
    operations.add(RedoItem, [this] { Redo(); });
    updateMenu();
}

void UndoHistory::record(Change change)
{
    redo_.clear();
    ++recorded_;
    undo_.push_back(std::move(change));
    while (undo_.size() > Limit || (undo_.size() > 1 && heldBytes() > byteBudget_))
        undo_.pop_front();
    updateMenu();
}

QByteArray UndoHistory::shared(const QString &path, const QByteArray &bytes) const
{
    for (auto change = undo_.rbegin(); change != undo_.rend(); ++change) {
        for (const FileState &file : change->files) {
            if (file.path == path)
                return file.after == bytes ? file.after : bytes;
        }
    }
    return bytes;
}

qsizetype UndoHistory::heldBytes() const
{
    // Copies shared between changes count once.
    std::set<const char *> counted;
    qsizetype held = 0;
    auto count = [&](const QByteArray &bytes) {
        if (counted.insert(bytes.constData()).second)
            held += bytes.size();
    };
    for (const std::deque<Change> *changes : {&undo_, &redo_}) {
        for (const Change &change : *changes) {
            for (const FileState &file : change.files) {
                count(file.before);
                count(file.after);
            }
        }
    }
    return held;
}

QString UndoHistory::undoCaption() const
{
    return undo_.empty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + undo_.back().label;
}

QString UndoHistory::redoCaption() const
{
    return redo_.empty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + redo_.back().label;
}

void UndoHistory::Undo() { step(undo_, redo_, true); }

void UndoHistory::Redo() { step(redo_, undo_, false); }

void UndoHistory::step(std::deque<Change> &from, std::deque<Change> &to, bool back)
{
    if (from.empty() || s.ListLoading)
        return;
    Change change = std::move(from.back());
    from.pop_back();
    if (restore(change, back)) {
        to.push_back(change);
        show(change, back);
    }
    updateMenu();
}

bool UndoHistory::leftAsIs(const Change &change, bool back, QString *path, QString *why) const
{
    auto wanted = [back](const FileState &file) { return back ? file.existedBefore : file.existsAfter; };
    for (const FileState &file : change.files) {
        if (file.clipboard && back)
            continue;
        *path = file.path;
        // Undo finds what the change left, Redo what was there before it; but Paste.Lst must
        // still hold the pointers the Cut put there, which the topic loses again.
        const bool leftThere = back || file.clipboard ? file.existsAfter : file.existedBefore;
        const bool there = isThere(file.path);
        if (!leftThere) {
            if (there) {
                *why = QStringLiteral("Is There Again, And Is Not Replaced.");
                return false;
            }
            continue;
        }
        if ((file.folder || file.tracked) && !there) {
            *why = QStringLiteral("Is Gone.");
            return false;
        }
        if (file.folder) {
            if (!isRealFolder(file.path)) {
                *why = QStringLiteral("Was Changed Since.");
                return false;
            }
            // A folder that goes holds nothing but the files that go with it.
            if (!wanted(file)) {
                const QStringList entries = QDir(file.path).entryList(
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
                for (const QString &entry : entries) {
                    const QString inside = file.path + u'/' + entry;
                    const bool goes = std::any_of(change.files.begin(), change.files.end(), [&](const FileState &f) {
                        return f.path == inside && !wanted(f);
                    });
                    if (!goes) {
                        *why = QStringLiteral("Holds Files Corvanta Did Not Make.");
                        return false;
                    }
                }
            }
            continue;
        }
        QByteArray now;
        QString reason;
        if (!bytesNow(file.path, now, &reason)) {
            *why = QStringLiteral("Could Not Be Read: ") + reason;
            return false;
        }
        if (now != (back || file.clipboard ? file.after : file.before)) {
            *why = QStringLiteral("Was Changed Since.");
            return false;
        }
    }
    // A rename goes back only onto a free name, in any letter case.
    for (const Move &move : change.moves) {
        const QString &now = back ? move.to : move.from;
        const QString &then = back ? move.from : move.to;
        if (move.from.startsWith(change.moves.back().from + u'/'))
            continue; // inside a folder renamed with it: checked when it is renamed
        *path = now;
        if (!isThere(now)) {
            *why = QStringLiteral("Is Gone.");
            return false;
        }
        if (existsIgnoringCase(then)) {
            *path = then;
            *why = QStringLiteral("Is There Again, And Is Not Replaced.");
            return false;
        }
    }
    return true;
}

bool UndoHistory::restore(const Change &change, bool back)
{
    const QString title = back ? QStringLiteral(" Cannot Undo") : QStringLiteral(" Cannot Redo");
    auto refuse = [&](const QString &path, const QString &why) {
        ui_.msgBox(refusalText(path, why, back), title, MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    };
    // Everything first: a change is put back whole or not at all.
    {
        QString path;
        QString why;
        if (!leftAsIs(change, back, &path, &why))
            return refuse(path, why);
    }
    auto wanted = [back](const FileState &file) { return back ? file.existedBefore : file.existsAfter; };

    // What is done so far, each with the step that takes it back ("" when it did), for a change
    // that fails midway.
    struct Done {
        QString path;
        std::function<QString()> takeBack;
    };
    std::vector<Done> done;
    auto fail = [&](const QString &path, const QString &why) {
        // The files already put back take what the change left again, the last written first,
        // so they stay alike.
        QStringList notPutBack;
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (const QString reason = it->takeBack(); !reason.isEmpty())
                notPutBack << userText(it->path) + QStringLiteral("]  ") + reason;
        }
        refuse(path, why);
        // Such a file keeps the step after all: the user is told which, and why.
        for (const QString &line : notPutBack)
            ui_.msgBox(QStringLiteral("The Step Stays In The File  [") + line + fiveSpaces() + u'\r', title,
                       MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    };
    auto reasonOf = [](const FsResult &result) { return result ? QString() : result.reason; };
    auto write = [this](const QString &path, const QByteArray &bytes, bool madeNow) {
        if (madeNow)
            store_.forget(path); // a file deleted before is new again
        const SaveResult saved = saveListBytes(store_, path, bytes);
        return saved ? QString() : saved.changedOnDisk ? QStringLiteral("Was Changed Since.") : saved.reason;
    };

    std::vector<const FileState *> folders;
    std::vector<const FileState *> writes;
    for (const FileState &file : change.files) {
        if (file.folder)
            folders.push_back(&file);
        else if (!file.clipboard)
            writes.push_back(&file);
    }
    std::sort(folders.begin(), folders.end(),
              [](const FileState *a, const FileState *b) { return a->path.size() < b->path.size(); });

    // The folders that come back, outer ones first.
    for (const FileState *folder : folders) {
        if (!wanted(*folder))
            continue;
        if (const FsResult made = makeFolder(folder->path); !made)
            return fail(folder->path, QStringLiteral("Could Not Be Made: ") + made.reason);
        done.push_back({folder->path, [path = folder->path, reasonOf] { return reasonOf(removeEmptyFolder(path)); }});
    }
    // The renames, the last one made first when undone.
    std::vector<Move> moves = change.moves;
    if (back) {
        std::reverse(moves.begin(), moves.end());
        for (Move &move : moves)
            std::swap(move.from, move.to);
    }
    for (const Move &move : moves) {
        if (const FsResult renamed = renamePath(store_, move.from, move.to); !renamed)
            return fail(move.from, QStringLiteral("Could Not Be Renamed: ") + renamed.reason);
        done.push_back({move.to, [this, move, reasonOf] { return reasonOf(renamePath(store_, move.to, move.from)); }});
    }
    // The files that gain pointers before those that lose them: a pointer moving between two
    // files is in one of them at every moment, whenever the program is stopped. Files deleted
    // go last.
    if (writes.size() > 1) {
        std::stable_partition(writes.begin(), writes.end(), [&](const FileState *file) {
            return wanted(*file)
                && gainsRecords(back ? file->after : file->before, back ? file->before : file->after);
        });
        std::stable_partition(writes.begin(), writes.end(), [&](const FileState *file) { return wanted(*file); });
    }
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const FileState &file = *writes[i];
        const QByteArray &target = back ? file.before : file.after;
        const QByteArray &left = back ? file.after : file.before;
        const bool leftThere = back ? file.existsAfter : file.existedBefore;
        if (!wanted(file)) {
            const bool toTrash = file.deleted && !back && trashUsableFor(QFileInfo(file.path).path());
            const FsResult removed = toTrash ? moveToTrash(store_, file.path) : removeFile(store_, file.path);
            if (!removed)
                return fail(file.path, QStringLiteral("Could Not Be Deleted: ") + removed.reason);
            done.push_back({file.path, [write, &file, &left] { return write(file.path, left, true); }});
        } else {
            if (const QString failed = write(file.path, target, !leftThere); !failed.isEmpty())
                return fail(file.path, failed == QStringLiteral("Was Changed Since.") ? failed
                                                                                   : QStringLiteral("Could Not Be Saved: ") + failed);
            if (leftThere)
                done.push_back({file.path, [write, &file, &left] { return write(file.path, left, false); }});
            else
                done.push_back({file.path, [this, &file, reasonOf] { return reasonOf(removeFile(store_, file.path)); }});
        }
        if (betweenWrites_ && i + 1 < writes.size())
            betweenWrites_();
    }
    // The folders that go, inner ones first.
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (wanted(**folder))
            continue;
        if (const FsResult removed = removeEmptyFolder((*folder)->path); !removed)
            return fail((*folder)->path, QStringLiteral("Could Not Be Removed: ") + removed.reason);
        done.push_back({(*folder)->path, [path = (*folder)->path, reasonOf] { return reasonOf(makeFolder(path)); }});
    }
    return true;
}

void UndoHistory::show(const Change &change, bool back)
{
    if (!navigation_)
        return;
    if (change.names != NameList::None) {
        navigation_->showNameRow(change.names == NameList::Topics, change.project,
                                 back ? change.rowBefore : change.rowAfter);
        return;
    }
    const auto first = std::find_if(change.files.begin(), change.files.end(),
        [](const FileState &file) { return !file.clipboard && !file.folder; });
    if (first == change.files.end())
        return;
    const QByteArray &shown = back ? first->before : first->after;
    const QString pointer = firstChangedRecord(shown, back ? first->after : first->before);
    Place place;
    place.pointer = pointer;
    if (first->path == s.FileListPath) {
        navigation_->rereadFileList();
        navigation_->selectPointer(pointer);
    } else if (placeOf(s.ProgramFolder, first->path, place.project, place.topic)) {
        (void)navigation_->openPlace(place);
    }
}

void UndoHistory::updateMenu()
{
    commands_.setCaption(UndoItem, undoCaption());
    commands_.setEnabled(UndoItem, !undo_.empty());
    commands_.setCaption(RedoItem, redoCaption());
    commands_.setEnabled(RedoItem, !redo_.empty());
}

PointerChange::PointerChange(UndoHistory &history, QString label)
    : history_(history), outer_(history.open_)
{
    if (!outer_)
        history.open_ = this;
    change_.label = std::move(label);
}

void PointerChange::touch(const QString &path)
{
    take(path, false);
}

void PointerChange::touchClipboard(const QString &path)
{
    take(path, true);
}

bool PointerChange::taken(const QString &path) const
{
    return std::any_of(change_.files.begin(), change_.files.end(),
                       [&](const UndoHistory::FileState &file) { return file.path == path; });
}

void PointerChange::touchFile(const QString &path, bool deleting)
{
    if (outer_) {
        outer_->touchFile(path, deleting);
        return;
    }
    if (taken(path))
        return;
    UndoHistory::FileState file{path, {}, {}, false};
    file.tracked = true;
    file.deleted = deleting;
    file.existedBefore = isThere(path);
    if (file.existedBefore && !bytesNow(path, file.before))
        return;
    file.before = history_.shared(path, file.before);
    change_.files.push_back(std::move(file));
}

void PointerChange::touchFolder(const QString &path)
{
    if (outer_) {
        outer_->touchFolder(path);
        return;
    }
    if (taken(path))
        return;
    UndoHistory::FileState folder{path, {}, {}, false};
    folder.folder = true;
    folder.existedBefore = isRealFolder(path);
    change_.files.push_back(std::move(folder));
}

void PointerChange::moved(const QString &from, const QString &to)
{
    if (outer_)
        outer_->moved(from, to);
    else
        change_.moves.push_back({from, to});
}

void PointerChange::showNames(UndoHistory::NameList list, const QString &project, const QString &before,
                              const QString &after)
{
    if (outer_) {
        if (outer_->change_.names == UndoHistory::NameList::None) // the outer change's list is shown
            outer_->showNames(list, project, before, after);
        return;
    }
    change_.names = list;
    change_.project = project;
    change_.rowBefore = before;
    change_.rowAfter = after;
}

void PointerChange::take(const QString &path, bool clipboard)
{
    if (outer_) {
        outer_->take(path, clipboard);
        return;
    }
    if (taken(path))
        return;
    UndoHistory::FileState file{path, {}, {}, clipboard};
    if (bytesNow(path, file.before)) {
        file.before = history_.shared(path, file.before);
        change_.files.push_back(std::move(file));
    }
}

PointerChange::~PointerChange()
{
    if (outer_)
        return;
    history_.open_ = nullptr;
    // Paste.Lst stays even when the Cut wrote what it held already: Redo still needs it so.
    std::erase_if(change_.files, [](UndoHistory::FileState &file) {
        if (file.folder) {
            file.existsAfter = isRealFolder(file.path);
            return file.existsAfter == file.existedBefore;
        }
        if (file.tracked)
            file.existsAfter = isThere(file.path);
        if (!file.existsAfter)
            return !file.existedBefore;
        return !bytesNow(file.path, file.after)
            || (file.after == file.before && file.existedBefore && !file.clipboard);
    });
    // Paste.Lst written alone (the topic's file could not be) is nothing to undo.
    if (!change_.moves.empty()
        || std::any_of(change_.files.begin(), change_.files.end(),
            [](const UndoHistory::FileState &file) { return !file.clipboard; }))
        history_.record(std::move(change_));
}

} // namespace corvanta
