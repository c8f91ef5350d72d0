#pragma once

#include "app/FeatureContext.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace corvanta {

// Cut, Copy and Paste of pointers between File Lists. The clipboard is the file Paste.Lst in the
// data folder, one pointer record a line, so a pointer cut in one topic can be pasted into any
// topic of any project, also after a restart. Every file is written before the screen changes:
// a write that fails shows " File Not Saved" and leaves the lists as they were.
// Whether the pointers put into Paste.Lst leave their list.
enum class ClipboardMode { Cut, Copy };
// Where a paste puts the pointers: at the File List's current row, or after its last.
enum class PastePlace { AtRow, AtEnd };

class PointerClipboard final : public PointerDrops
{
public:
    explicit PointerClipboard(const FeatureContext &context);

    // Cuts or copies the File List's rows into Paste.Lst: a Cut writes them bottom row first
    // and removes them from the list and its file, a Copy writes them in list order. No rows
    // write nothing.
    void cutOrCopy(ClipboardMode mode, const std::vector<int> &rows);
    // Pastes the pointers of Paste.Lst at place, in the file's order, refusing each name the
    // list already holds.
    void paste(PastePlace place);

    // The File List's rows dragged onto the Topic List's row topicRow: moved (or copied) there
    // through the paste's duplicate check, the topic's file written before the shown one loses
    // them. A drop onto the shown topic does nothing; no rows or no topic beeps.
    void dropPointers(const std::vector<int> &rows, int topicRow, DropMode mode) override;

    // The File List's selected rows, top first.
    std::vector<int> selectedRows() const;

    QString pasteListPath() const;
    // Whether Paste.Lst holds a pointer: the paste items start enabled then, so pointers cut
    // before a restart can still be pasted.
    bool holdsPointers() const;

private:
    FeatureContext c;
    SharedState &s;

    void cutFiles(const std::vector<int> &rows);
    void copyFiles(const std::vector<int> &rows);
    [[nodiscard]] bool savePasteList(const QStringList &lines);
    void enablePasteItems();
    QString topicFilePath(int row) const;
};

} // namespace corvanta
