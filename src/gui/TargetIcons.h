#pragma once

#include "search/TargetMarks.h"

#include <QIcon>
#include <QObject>

#include <functional>

namespace corvanta {

class ListBox;

// A pointer's icon: the desktop theme's icon for its MIME type (or its kind's), else the bundled
// one of its kind; a missing or not-reachable target's carries its mark in the corner.
QIcon pointerIcon(const TargetKind &kind, TargetState state);

// Keeps the File List's marks: its targets are looked at after a list is shown, when rows are
// added and when the window regains focus (recheck); the list's model shows them as they come.
class FileListMarks : public QObject
{
public:
    // dataFolder: where a target without a leading '/' lies, asked at each look. Goes with the
    // list's model.
    FileListMarks(ListBox &list, std::function<QString()> dataFolder);

    // Looks at the shown list's targets again; keep: the same list, its marks stay meanwhile.
    void recheck(bool keep);
    const TargetMarks &marks() const { return marks_; }

private:
    ListBox &list_;
    std::function<QString()> dataFolder_;
    TargetMarks marks_;
};

} // namespace corvanta
