#include "filelist/PointerClipboard.h"

#include "app/CommandSurface.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "filelist/FileListCommands.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <algorithm>

namespace corvanta {

PointerClipboard::PointerClipboard(const FeatureContext &context)
    : c(context), s(context.state)
{
    c.operations.add(QStringLiteral("mnuCutFiles"), [this] { cutOrCopy(ClipboardMode::Cut, selectedRows()); });
    c.operations.add(QStringLiteral("mnuCopyFiles"), [this] { cutOrCopy(ClipboardMode::Copy, selectedRows()); });
    c.operations.add(QStringLiteral("mnuPasteInsert"), [this] { paste(PastePlace::AtRow); });
    c.operations.add(QStringLiteral("mnuPasteFiles"), [this] { paste(PastePlace::AtEnd); });
    if (holdsPointers()) {
        c.commands.setEnabled(QStringLiteral("mnuPasteInsert"), true);
        c.commands.setEnabled(QStringLiteral("mnuPasteFiles"), true);
    }
}

QString PointerClipboard::pasteListPath() const
{
    return s.ProgramFolder + QStringLiteral("/Paste.Lst");
}

bool PointerClipboard::holdsPointers() const
{
    for (const QString &line : readLines(c.store, pasteListPath())) {
        if (!trimSpaces(line).isEmpty())
            return true;
    }
    return false;
}

std::vector<int> PointerClipboard::selectedRows() const
{
    const ListControl &list = c.lstFileList;
    std::vector<int> rows;
    for (int row = 0; row < list.ListCount(); ++row) {
        if (list.isSelected(row))
            rows.push_back(row);
    }
    return rows;
}

namespace {

// rows of list that exist, top first, each once.
std::vector<int> rowsOf(const ListControl &list, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](int row) { return row < 0 || row >= list.ListCount(); });
    return rows;
}

} // namespace

void PointerClipboard::cutOrCopy(ClipboardMode mode, const std::vector<int> &rows)
{
    const std::vector<int> shown = rowsOf(c.lstFileList, rows);
    // No rows write nothing: Paste.Lst may hold pointers cut earlier and nowhere else.
    if (shown.empty() || s.FileListPath.isEmpty())
        return;
    if (mode == ClipboardMode::Cut)
        cutFiles(shown);
    else
        copyFiles(shown);
}

void PointerClipboard::cutFiles(const std::vector<int> &rows)
{
    ListControl &list = c.lstFileList;
    QStringList cut;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        cut.append(list.rowText(*row));
    const int topmost = rows.front();
    PointerChange change(c.undo, QStringLiteral("Cut ") + pointerCount(int(cut.size())));
    change.touchClipboard(pasteListPath());
    change.touch(s.FileListPath);
    // Paste.Lst first: when the list's file then fails, the pointers are in both files, never
    // in neither.
    if (!savePasteList(cut))
        return;
    if (!reportSaveFailure(c.store, c.ui, s.FileListPath, editPointerList(c.store, s.FileListPath, cut)))
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        list.setRow(*row);
        list.removeRow(*row);
    }
    // The row that followed the topmost cut row, or the new last row.
    list.selectRow(std::min(topmost, list.ListCount() - 1));
    enablePasteItems();
}

void PointerClipboard::copyFiles(const std::vector<int> &rows)
{
    ListControl &list = c.lstFileList;
    QStringList copied;
    for (const int row : rows)
        copied.append(list.rowText(row));
    if (!savePasteList(copied))
        return;
    const int keep = list.ListIndex();
    list.deselectAll();
    list.selectRow(keep);
    enablePasteItems();
}

bool PointerClipboard::savePasteList(const QStringList &lines)
{
    // A Paste.Lst that is there but unreadable may hold pointers cut earlier and kept nowhere
    // else: it is never replaced.
    const QString path = pasteListPath();
    QStringList old;
    QString reason;
    const SaveResult saved = readLinesForRewrite(c.store, path, old, &reason) ? saveLines(c.store, path, lines)
                                                                     : SaveResult{false, reason};
    return reportSaveFailure(c.store, c.ui, path, saved);
}

void PointerClipboard::enablePasteItems()
{
    // A pending move of a project or topic name ends here.
    for (const char *item : {"mnuPasteProjectRow", "mnuPasteProjectEOF",
             "mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"})
        c.commands.setEnabled(QString::fromLatin1(item), false);
    c.commands.setEnabled(QStringLiteral("mnuPasteFiles"), true);
    c.commands.setEnabled(QStringLiteral("mnuPasteInsert"), true);
}

QString PointerClipboard::topicFilePath(int row) const
{
    const ListControl &topics = c.lstTopicList;
    if (row < 0 || row >= topics.ListCount())
        return {};
    const QString topic = topics.columnText(row, 0);
    const bool atEntryScreen = s.CurrentProject.isEmpty();
    const QString folder = atEntryScreen ? s.ProgramFolder + u'/' : s.ProjectFolder;
    if (isProjectRow(topic))
        return folder + (atEntryScreen ? QStringLiteral("Project") : s.CurrentProject) + QStringLiteral(".Files");
    // A hand-edited list may hold a name that cannot be a file of its own.
    if (!isUsableFileName(topic) || folder.isEmpty())
        return {};
    return folder + (atEntryScreen ? QStringLiteral("Projects/") : QString()) + topic + QStringLiteral(".Files");
}

void PointerClipboard::dropPointers(const std::vector<int> &rows, int topicRow, DropMode mode)
{
    ListControl &list = c.lstFileList;
    const std::vector<int> shown = rowsOf(list, rows);
    const QString target = topicFilePath(topicRow);
    if (shown.empty() || s.FileListPath.isEmpty() || target.isEmpty()) {
        c.ui.beep();
        return;
    }
    if (target == s.FileListPath)
        return; // onto the topic shown: nothing moves
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(c.store, target, lines, &reason)) {
        reportSaveFailure(c.store, c.ui, target, SaveResult {false, reason});
        return;
    }
    ListControl existing(2, true);
    for (const QString &line : lines) {
        const QString record = trimSpaces(line);
        if (!record.isEmpty())
            existing.addRow(record);
    }
    NameSet names(existing, NameField::FirstColumn);
    QStringList dropped;
    std::vector<bool> moved(size_t(list.ListCount()), false);
    for (const int row : shown) {
        const QString name = list.columnText(row, 0);
        if (names.contains(name)) {
            showDuplicateFileName(c.ui, name);
            continue;
        }
        names.insert(name);
        dropped.append(list.rowText(row));
        moved[size_t(row)] = true;
    }
    if (dropped.isEmpty())
        return;
    PointerChange change(c.undo, (mode == DropMode::Copy ? QStringLiteral("Copy ") : QStringLiteral("Move "))
            + pointerCount(int(dropped.size())));
    change.touch(s.FileListPath);
    change.touch(target);
    // The topic's file first: when the shown one then fails, the pointers are in both files,
    // never in neither.
    if (!reportSaveFailure(c.store, c.ui, target, editPointerList(c.store, target, {}, dropped)) || mode == DropMode::Copy)
        return;
    if (!reportSaveFailure(c.store, c.ui, s.FileListPath, editPointerList(c.store, s.FileListPath, dropped)))
        return;
    int topmost = -1;
    for (int row = list.ListCount() - 1; row >= 0; --row) {
        if (moved[size_t(row)]) {
            list.setRow(row);
            list.removeRow(row);
            topmost = row;
        }
    }
    list.deselectAll();
    list.selectRow(std::min(topmost, list.ListCount() - 1));
}

void PointerClipboard::paste(PastePlace place)
{
    if (s.FileListPath.isEmpty())
        return;
    const QString path = pasteListPath();
    QByteArray bytes;
    QString reason;
    if (readOwnFile(c.store, path, bytes, &reason) == ReadOutcome::Unreadable) {
        c.ui.msgBox(fileNotReadText(path, reason), fileNotReadTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    if (bytes.isEmpty())
        return;
    const QStringList lines = splitLines(decodeListText(bytes));
    ListControl &list = c.lstFileList;
    const int at = std::clamp(place == PastePlace::AtRow ? list.ListIndex() : list.ListCount(), 0, list.ListCount());

    NameSet names(list, NameField::FirstColumn);
    QStringList pasted;
    for (const QString &line : lines) {
        QString record = trimSpaces(line);
        if (record.isEmpty())
            continue;
        // A hand-written line without a TAB is all name, with an empty target.
        const qsizetype tab = record.indexOf(u'\t');
        const QString name = tab < 0 ? record : record.left(tab);
        if (tab < 0)
            record += u'\t';
        if (names.contains(name)) {
            showDuplicateFileName(c.ui, name);
            continue;
        }
        names.insert(name);
        pasted.append(record);
    }

    // Nothing pasted changes nothing, so nothing is written.
    const QStringList rows = rowTexts(list);
    PointerChange change(c.undo, QStringLiteral("Paste ") + pointerCount(int(pasted.size())));
    change.touch(s.FileListPath);
    if (!pasted.isEmpty()
        && !reportSaveFailure(c.store, c.ui, s.FileListPath,
            editPointerList(c.store, s.FileListPath, {}, pasted, at < rows.size() ? rows[at] : QString())))
        return;
    int pos = at;
    for (const QString &record : pasted) {
        list.setRow(pos++);
        list.insertRow(record);
    }
    // Only the last pasted row ends selected (or the row before the place, when none was).
    list.deselectAll();
    list.selectRow(pos - 1);
}

} // namespace corvanta
