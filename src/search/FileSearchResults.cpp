#include "search/FileSearch.h"

#include "app/Launcher.h"
#include "app/Operations.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "filelist/Printout.h"
#include "platform/Clipboard.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Printing.h"
#include "platform/Ui.h"
#include "search/FileSearchTexts.h"
#include "store/NameRules.h"

#include <QScopeGuard>

#include <algorithm>

// What the user does with the results: the list's events, its popup menu and its actions.

namespace corvanta {

namespace {

MenuItem item(const char *name, const char *caption, bool checkable = false)
{
    MenuItem m;
    m.name = QString::fromLatin1(name);
    m.caption = QString::fromLatin1(caption);
    m.checkable = checkable;
    return m;
}

} // namespace

void FileSearch::buildMenu()
{
    mnuNamePointers = {
        item("mnuFileLaunch", "Launch File"),
        item("mnuSep1", "-"),
        item("mnuRemoveFromList", "Remove Selected Files"),
        item("mnuSep3", "-"),
        item("mnuSelectAll", "Select All"),
        item("mnuUnselectAll", "Unselect All"),
        item("sepRemoveFromList", "-"),
        item("mnuNameFile", "Add File To File List"),
        item("mnuCopyFile", "Copy Path And Filename"),
        item("mnuSep2", "-"),
        item("mnuDisplayLinesInFileSearch", " Display Lines In File Search", true),
        item("mnuSep4", "-"),
        item("mnuPrintSearchResults", "Print Search Results"),
    };
}

const MenuItem *FileSearch::menuItem(const QString &name) const
{
    const auto it = std::find_if(mnuNamePointers.begin(), mnuNamePointers.end(),
        [&](const MenuItem &m) { return m.name == name; });
    return it == mnuNamePointers.end() ? nullptr : &*it;
}

void FileSearch::emptyList()
{
    c.ui.beep();
    setFocus(Control::TxtFileSearch);
}

// --- the list's events ---

void FileSearch::lstFileSearch_Click()
{
    if (lstFileSearch.ListCount() == 0)
        emptyList();
}

void FileSearch::lstFileSearch_DblClick()
{
    if (lstFileSearch.ListCount() == 0) {
        emptyList();
        return;
    }
    AddResultsToFileList();
}

void FileSearch::lstFileSearch_KeyDown(int &keyCode, int /*shift*/)
{
    if (keyCode != Key::Return)
        return;
    keyCode = 0;
    AddResultsToFileList();
}

void FileSearch::lstFileSearch_MouseDown(int button, int /*shift*/, int row)
{
    ListControl &list = lstFileSearch;
    if (list.ListCount() == 0) {
        setFocus(Control::TxtFileSearch);
        c.ui.beep();
        return;
    }
    if (button != Mouse::Right)
        return;
    const int target = row >= 0 && row < list.ListCount() ? row : list.ListCount() - 1;
    list.setRow(target);
    if (!list.Selected()) {
        list.setListIndex(target);
        list.setSelected(true);
    }
    mnuNamePointers_Click();
    changed(Change::Popup);
}

void FileSearch::lstFileSearch_MouseMove(int /*button*/, int /*shift*/, int row)
{
    // Below the last row there is nothing to name: the tip is cleared.
    lstFileSearch.setToolTip(
        row >= 0 && row < lstFileSearch.ListCount() ? lstFileSearch.rowText(row) : QString());
}

void FileSearch::mnuNamePointers_Click()
{
    for (MenuItem &m : mnuNamePointers) {
        if (m.name == u"mnuNameFile")
            m.caption = lstFileSearch.SelCount() <= 1 ? QStringLiteral("Add File To File List")
                                                      : QStringLiteral("Add Files To File List");
    }
    changed(Change::Menu);
}

void FileSearch::menuClick(const QString &name)
{
    if (name == u"mnuFileLaunch")
        LaunchSearchResult();
    else if (name == u"mnuRemoveFromList")
        RemoveSearchResults();
    else if (name == u"mnuSelectAll")
        lstFileSearch.selectAll();
    else if (name == u"mnuUnselectAll")
        lstFileSearch.deselectAll();
    else if (name == u"mnuNameFile")
        AddResultsToFileList();
    else if (name == u"mnuCopyFile")
        CopyPathAndFilename();
    else if (name == u"mnuDisplayLinesInFileSearch")
        ToggleSearchLines();
    else if (name == u"mnuPrintSearchResults")
        PrintSearchResults();
}

// --- actions ---

void FileSearch::AddResultsToFileList()
{
    ListControl &list = lstFileSearch;
    if (list.ListCount() == 0) {
        emptyList();
        return;
    }
    // One step of Undo for all the results added.
    PointerChange change(c.undo, QString());
    const int pointers = c.lstFileList.ListCount();
    const auto nameChange = qScopeGuard([&] {
        change.setLabel(QStringLiteral("Add ") + pointerCount(c.lstFileList.ListCount() - pointers));
    });
    for (int i = 0; i < list.ListCount(); ++i) {
        list.setRow(i);
        if (list.SelCount() == 0)
            break;
        if (!list.Selected())
            continue;
        if (refuseUnstorableFile(c.ui, list.List())) {
            // Listed, but never a pointer: the next selected result follows.
            list.setSelected(false);
            continue;
        }
        // The editor counts the selected results as the items the loop works through: it offers
        // "Cancel All Selections" when there is more than one.
        const EditorRequest request {EditorMode::AddFile, list.List(), list.SelCount()};
        const EditorResult result = editors_ ? editors_->showEditor(request) : EditorResult {};
        if (closed_)
            return;
        list.setRow(i);
        list.setSelected(false);
        if (list.SelCount() == 0)
            break;
        if (result.outcome == EditorResult::Outcome::CancelAll) {
            list.deselectAll();
            setFocus(Control::LstFileSearch);
            break;
        }
    }
    const int index = list.ListIndex();
    if (index >= 0 && index < list.ListCount()) {
        list.setRow(index);
        list.setSelected(true);
    }
    setFocus(Control::LstFileSearch);
}

void FileSearch::launch(const QString &target)
{
    (void)Launcher(c.ui, c.platform.shell, s).LaunchTarget(target, QStringLiteral("open"));
}

void FileSearch::LaunchSearchResult()
{
    ListControl &list = lstFileSearch;
    if (list.Row() < 0 || list.Row() >= list.ListCount())
        return;
    launch(list.List());
}

void FileSearch::CopyPathAndFilename()
{
    Clipboard *clipboard = c.platform.clipboard;
    ListControl &list = lstFileSearch;
    if (!clipboard)
        return;
    clipboard->clear();
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    list.setRow(index);
    clipboard->setText(list.List());
}

void FileSearch::RemoveSearchResults()
{
    if (c.ui.msgBox(FileSearchText::removeText(), FileSearchText::removeTitle(),
            MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2)
        != MsgBox::Yes)
        return;
    ListControl &list = lstFileSearch;
    const int lowest = list.removeSelectedRows();
    // The rows after the removed ones moved up; when the removed rows were the last ones, the
    // new last row takes their place. Nothing removed: the list stays as it was.
    if (lowest >= 0 && list.ListCount() > 0) {
        const int current = std::min(lowest, list.ListCount() - 1);
        list.setRow(current);
        list.setListIndex(current);
        list.setSelected(true);
    }
    setCaption(FileSearchText::remainingCaption(list.ListCount()));
}

void FileSearch::ToggleSearchLines()
{
    bool show = true;
    for (MenuItem &m : mnuNamePointers) {
        if (m.name == u"mnuDisplayLinesInFileSearch") {
            show = !m.checked;
            m.checked = show;
        }
    }
    lstFileSearch.setGridLines(show ? GridLines::Shown : GridLines::Hidden);
    writeSetting(c.store, s, c.ui, QStringLiteral("File Search"), QStringLiteral("DisplayLines"),
        show ? QStringLiteral("True") : QStringLiteral("False"));
    changed(Change::Menu);
}

void FileSearch::PrintSearchResults()
{
    ListControl &list = lstFileSearch;
    const int pages = list.ListCount() / 60;
    if (pages > 10
        && c.ui.msgBox(FileSearchText::printPagesText(pages),
               pagePrintoutTitle(pages), MsgBox::YesNo | MsgBox::Question)
            != MsgBox::Yes)
        return;
    PrintService *printing = c.platform.printing;
    if (!printing || !printing->showPrintDialog())
        return;
    Printout printout {FileSearchText::printTitle(), 14, 10,
        [](PrintDocument &doc, const QString &row) { doc.printLine(3, row); }};
    printCopies(c.ui, *printing, lstFileSearch, printout,
        printing->dialogSettings.flags == PrintFlags::Selection);
}

} // namespace corvanta
