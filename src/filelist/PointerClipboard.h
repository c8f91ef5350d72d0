#pragma once

#include "app/FeatureContext.h"

#include <QString>
#include <QStringList>

namespace corvanta {

// Cut, Copy and Paste of pointers between File Lists. The clipboard is the file Paste.Lst in the
// data folder, one pointer record a line, so a pointer cut in one topic can be pasted into any
// topic of any project, also after a restart. Every file is written before the screen changes:
// a write that fails shows " File Not Saved" and leaves the lists as they were.
class PointerClipboard
{
public:
    explicit PointerClipboard(const FeatureContext &context);

    // Cut (CutMode) or Copy the selected pointers into Paste.Lst: a Cut writes them bottom row
    // first and removes them from the list and its file, a Copy writes them in list order.
    void CutOrCopyFiles();
    // Pastes the pointers of Paste.Lst at the selected row (PasteAtRow) or at the end, in the
    // file's order, refusing each name the list already holds.
    void PasteFiles();

    // The selected pointers dragged onto the Topic List's row DropTopicRow: moved there (copied
    // with DropCopy) through the paste's duplicate check, the topic's file written before the
    // shown one loses them. A drop onto the shown topic does nothing.
    void DropPointersOnTopic();

    QString pasteListPath() const;
    // Whether Paste.Lst holds a pointer: the paste items start enabled then, so pointers cut
    // before a restart can still be pasted.
    bool holdsPointers() const;

private:
    FeatureContext c;
    SharedState &s;

    void cutFiles();
    void copyFiles();
    [[nodiscard]] bool savePasteList(const QStringList &lines);
    void enablePasteItems();
    QString topicFilePath(int row) const;
};

} // namespace corvanta
