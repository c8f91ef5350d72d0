#include "app/UndoHistory.h"

#include "app/CommandSurface.h"
#include "app/FeatureCalls.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/RegularFile.h"
#include "platform/Ui.h"
#include "store/ListFiles.h"

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

bool UndoHistory::restore(const Change &change, bool back)
{
    const QString title = back ? QStringLiteral(" Cannot Undo") : QStringLiteral(" Cannot Redo");
    auto refuse = [&](const QString &path, const QString &why) {
        ui_.msgBox(refusalText(path, why, back), title, MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    };
    // Every file first: a change is put back whole or not at all.
    std::vector<const FileState *> writes;
    for (const FileState &file : change.files) {
        if (file.clipboard && back)
            continue;
        QByteArray now;
        QString reason;
        if (!bytesNow(file.path, now, &reason))
            return refuse(file.path, QStringLiteral("Could Not Be Read: ") + reason);
        // Undo finds what the change left, Redo what was there before it; but Paste.Lst must
        // still hold the pointers the Cut put there, which the topic loses again.
        if (now != (back || file.clipboard ? file.after : file.before))
            return refuse(file.path, QStringLiteral("Was Changed Since."));
        if (!file.clipboard)
            writes.push_back(&file);
    }
    // The files that gain pointers before those that lose them: a pointer moving between two
    // files is in one of them at every moment, whenever the program is stopped.
    if (writes.size() > 1) {
        std::stable_partition(writes.begin(), writes.end(), [back](const FileState *file) {
            return gainsRecords(back ? file->after : file->before, back ? file->before : file->after);
        });
    }
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const FileState &file = *writes[i];
        const SaveResult saved = saveListBytes(store_, file.path, back ? file.before : file.after);
        if (saved) {
            if (betweenWrites_ && i + 1 < writes.size())
                betweenWrites_();
            continue;
        }
        // The files already put back take what the change left again, the last written first,
        // so they stay alike.
        QStringList notPutBack;
        for (std::size_t j = i; j-- > 0;) {
            const FileState &done = *writes[j];
            const SaveResult putBack = saveListBytes(store_, done.path, back ? done.after : done.before);
            if (!putBack)
                notPutBack << userText(done.path) + QStringLiteral("]  ")
                        + (putBack.changedOnDisk ? QStringLiteral("Was Changed Since.") : putBack.reason);
        }
        refuse(file.path,
            saved.changedOnDisk ? QStringLiteral("Was Changed Since.")
                                : QStringLiteral("Could Not Be Saved: ") + saved.reason);
        // Such a file keeps the step after all: the user is told which, and why.
        for (const QString &line : notPutBack)
            ui_.msgBox(QStringLiteral("The Step Stays In The File  [") + line + fiveSpaces() + u'\r', title,
                       MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    }
    return true;
}

void UndoHistory::show(const Change &change, bool back)
{
    const FileState &first = *std::find_if(change.files.begin(), change.files.end(),
        [](const FileState &file) { return !file.clipboard; });
    const QByteArray &shown = back ? first.before : first.after;
    const QString pointer = firstChangedRecord(shown, back ? first.after : first.before);
    if (!navigation_)
        return;
    Place place;
    place.pointer = pointer;
    if (first.path == s.FileListPath) {
        navigation_->rereadFileList();
        navigation_->selectPointer(pointer);
    } else if (placeOf(s.ProgramFolder, first.path, place.project, place.topic)) {
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

void PointerChange::take(const QString &path, bool clipboard)
{
    if (outer_) {
        outer_->take(path, clipboard);
        return;
    }
    for (const UndoHistory::FileState &file : change_.files) {
        if (file.path == path)
            return;
    }
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
        return !bytesNow(file.path, file.after) || (file.after == file.before && !file.clipboard);
    });
    // Paste.Lst written alone (the topic's file could not be) is nothing to undo.
    if (std::any_of(change_.files.begin(), change_.files.end(),
            [](const UndoHistory::FileState &file) { return !file.clipboard; }))
        history_.record(std::move(change_));
}

} // namespace corvanta
