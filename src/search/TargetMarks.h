#pragma once

#include "search/MissingTargets.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace corvanta {

// What a pointer points to, for its icon.
enum class PointerKind { Document, Folder, Program, Website, EMail };

// A pointer's kind and the MIME type it was told by ("" for an address).
struct TargetKind
{
    PointerKind kind = PointerKind::Document;
    QString mimeType;
    bool operator==(const TargetKind &) const = default;
};

// The kind told by the target's text alone, never touching the disk: an address by its scheme, a
// file by the MIME type its name suggests, a path ending in '/' a folder.
TargetKind kindByName(const QString &target);
// The target of a File List row ("name<TAB>target"), spaces trimmed; "" when it has none.
QString rowTarget(const QString &rowText);

// What a screen reader hears of a row's mark: "Target missing", "Target not reachable", or "".
QString markText(TargetState state);

// What a look at one file target found: its state, and its kind where the disk tells more than
// its name (a folder, a program without a telling name).
struct TargetMark
{
    TargetState state = TargetState::Exists;
    std::optional<TargetKind> kind; // none: as its name tells
};

// Looks at one target on the disk: stat() alone, never opening it, so a FIFO or a device holds
// nothing up. Missing and not reachable as TargetChecker tells them.
class TargetLooker
{
public:
    explicit TargetLooker(TargetChecker checker) : statter_(std::move(checker)) { }
    // Looks folder by folder: one thread at a time.
    TargetMark operator()(const QString &target) const;

private:
    mutable TargetStatter statter_;
};

// The File List's marks: the shown list's file targets looked at on a thread of its own, the
// marks handed to the thread that made this one as they come in. The list never waits: a target
// on a stopped mount keeps only its own thread in the system, and the marks of a list no longer
// shown are dropped when they arrive.
class TargetMarks
{
public:
    using Look = std::function<TargetMark(const QString &target)>;
    // The threads a stuck mount may hold before no new look is started.
    static constexpr int MostStuck = 3;

    TargetMarks();
    ~TargetMarks();
    TargetMarks(const TargetMarks &) = delete;
    TargetMarks &operator=(const TargetMarks &) = delete;

    // Looks at the file targets of rows (File List rows' texts) with look. A look under way is dropped;
    // keep keeps the marks found so far, each until its target is looked at again (the same
    // list once more), else they go at once (another list). False when no look could start.
    bool check(const QStringList &rows, bool keep, Look look);
    // The mark of a target, nullptr while it has not been looked at (or is no file).
    const TargetMark *mark(const QString &target) const;
    // A look is under way.
    bool checking() const;

    // Called on this object's thread after new marks came in.
    std::function<void()> onMarked;

private:
    struct Round;
    std::unique_ptr<QObject> receiver_; // lives on this object's thread; takes the marks
    std::shared_ptr<Round> round_;
    std::shared_ptr<std::atomic<int>> running_;
    QHash<QString, TargetMark> marks_;

    void take(const std::shared_ptr<Round> &round);
};

} // namespace corvanta
