#include "app/Sorting.h"

#include "app/MainForm.h"
#include "app/Navigation.h"
#include "app/Settings.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

namespace corvanta {

namespace {

const QString Corvanta = QStringLiteral(" Corvanta");

const char *const Sections[3] = {"Project List", "Topic List", "File List"};

void applySort(SharedState &s, ListControl &list, SortOrder order, int columns, bool marker)
{
    const bool wasLoading = s.ListLoading;
    s.ListLoading = true;
    list.setSortState(ListSortState::Suspended);
    list.setColumns(columns);
    list.setCol(0);
    if (order == SortOrder::Ascending) {
        list.setColSorted(SortDirection::Ascending);
    } else if (order == SortOrder::Descending) {
        list.setColSorted(SortDirection::Descending);
        if (marker) {
            list.setRow(0);
            list.insertRow(projectRowText());
        }
    }
    list.setSortState(ListSortState::Active);
    s.ListLoading = wasLoading;
}

// The marker row a descending Project List may carry, found by its text.
int markerRow(const ListControl &list)
{
    for (int i = 0; i < list.ListCount(); ++i) {
        if (isProjectRow(list.rowText(i)))
            return i;
    }
    return -1;
}

// After a sort exactly the remembered row number is selected, whatever the sort carried along.
void reselect(ListControl &list, int index)
{
    list.deselectAll();
    list.selectRow(index);
}

void removeRow(ListControl &list, int row)
{
    if (row < 0)
        return;
    list.setRow(row);
    list.removeRow(row);
}

} // namespace

Sorting::Sorting(MainForm &form) : f(form), s(form.state) { registerOperations(); }

void Sorting::registerOperations()
{
    const std::pair<const char *, void (Sorting::*)()> commands[] = {
        {"mnuSortNoSortProjects", &Sorting::mnuSortNoSortProjects_Click},
        {"mnuSortAscendingProjects", &Sorting::mnuSortAscendingProjects_Click},
        {"mnuSortDescendingProjects", &Sorting::mnuSortDescendingProjects_Click},
        {"mnuRebuildProjectList", &Sorting::SaveProjectList},
        {"mnuTopicNoSort", &Sorting::mnuTopicNoSort_Click},
        {"mnuTopicSortAscending", &Sorting::mnuTopicSortAscending_Click},
        {"mnuTopicSortDescending", &Sorting::mnuTopicSortDescending_Click},
        {"mnuTopicRebuildTopicList", &Sorting::SaveTopicList},
        {"mnuSortNoSortFiles", &Sorting::mnuSortNoSortFiles_Click},
        {"mnuSortAscendingFiles", &Sorting::mnuSortAscendingFiles_Click},
        {"mnuSortDescendingFiles", &Sorting::mnuSortDescendingFiles_Click},
        {"mnuRebuildFileList", &Sorting::SaveFileList},
    };
    for (const auto &[name, method] : commands)
        f.registerOperation(QString::fromLatin1(name), [this, method = method] { (this->*method)(); });
}

void Sorting::ApplyProjectSort() { applySort(s, f.lstProjectList, s.ProjectSort, 1, true); }
void Sorting::ApplyTopicSort() { applySort(s, f.lstTopicList, s.TopicSort, 2, false); }
void Sorting::ApplyFileSort() { applySort(s, f.lstFileList, s.FileSort, 2, false); }

void Sorting::sortProjects(SortOrder order)
{
    if (order == SortOrder::None)
        mnuSortNoSortProjects_Click();
    else if (order == SortOrder::Ascending)
        mnuSortAscendingProjects_Click();
    else if (order == SortOrder::Descending)
        mnuSortDescendingProjects_Click();
}

void Sorting::storeState(int which, SortOrder order)
{
    setSortChecks(which, order);
    SortOrder *orders[3] = {&s.ProjectSort, &s.TopicSort, &s.FileSort};
    *orders[which] = order;
    writeSetting(f.store, s, f.ui, QString::fromLatin1(Sections[which]), QStringLiteral("Sort"),
                 sortOrderSetting(order));
}

void Sorting::setSortChecks(int which, SortOrder order)
{
    static const char *const items[3][3] = {
        {"mnuSortNoSortProjects", "mnuSortAscendingProjects", "mnuSortDescendingProjects"},
        {"mnuTopicNoSort", "mnuTopicSortAscending", "mnuTopicSortDescending"},
        {"mnuSortNoSortFiles", "mnuSortAscendingFiles", "mnuSortDescendingFiles"},
    };
    if (order == SortOrder::Unknown)
        return;
    const SortOrder orders[3] = {SortOrder::None, SortOrder::Ascending, SortOrder::Descending};
    for (int i = 0; i < 3; ++i)
        f.commands.setChecked(QString::fromLatin1(items[which][i]), orders[i] == order);
}

void Sorting::setSortMenuChecks()
{
    setSortChecks(0, s.ProjectSort);
    setSortChecks(1, s.TopicSort);
    setSortChecks(2, s.FileSort);
}

void Sorting::sortCommand(int which, SortOrder order, const QString &caption, bool restoreCaption)
{
    ListControl *lists[3] = {&f.lstProjectList, &f.lstTopicList, &f.lstFileList};
    ListControl &list = *lists[which];
    const QString before = f.caption();
    f.ui.setBusy(true);
    f.setCaption(caption);
    const int index = list.ListIndex();
    storeState(which, order);
    if (which == 0)
        ApplyProjectSort();
    else if (which == 1)
        ApplyTopicSort();
    else
        ApplyFileSort();
    reselect(list, index);
    if (which == 1)
        f.navigation().showHighlightedTopic();
    f.ui.beep();
    f.setCaption(restoreCaption ? before : Corvanta);
    f.ui.setBusy(false);
}

void Sorting::mnuSortAscendingProjects_Click()
{
    sortCommand(0, SortOrder::Ascending, QStringLiteral(" Sort Ascending"), false);
}

void Sorting::mnuTopicSortAscending_Click()
{
    sortCommand(1, SortOrder::Ascending, QStringLiteral(" Sort Ascending"), true);
}

void Sorting::mnuTopicSortDescending_Click()
{
    sortCommand(1, SortOrder::Descending, QStringLiteral(" Sort Decending"), true);
}

void Sorting::mnuSortAscendingFiles_Click()
{
    sortCommand(2, SortOrder::Ascending, QStringLiteral(" Sort Ascending"), false);
}

void Sorting::mnuSortDescendingFiles_Click()
{
    sortCommand(2, SortOrder::Descending, QStringLiteral(" Sort Descending"), false);
}

void Sorting::mnuSortDescendingProjects_Click()
{
    ListControl &list = f.lstProjectList;
    f.ui.setBusy(true);
    f.setCaption(QStringLiteral(" Sort Descending"));
    const int index = list.ListIndex();
    removeRow(list, markerRow(list));
    storeState(0, SortOrder::Descending);
    ApplyProjectSort(); // inserts the marker row and sorts
    removeRow(list, markerRow(list));
    reselect(list, index);
    f.ui.beep();
    f.setCaption(Corvanta);
    f.ui.setBusy(false);
}

void Sorting::mnuSortNoSortProjects_Click()
{
    const QString before = f.caption();
    f.ui.setBusy(true);
    f.setCaption(QStringLiteral(" Sort None"));
    const int index = f.lstProjectList.ListIndex();
    storeState(0, SortOrder::None);
    f.navigation().LoadProjectList();
    f.lstProjectList.selectRow(index);
    f.ui.beep();
    f.setCaption(before);
    f.ui.setBusy(false);
}

void Sorting::mnuTopicNoSort_Click()
{
    const QString before = f.caption();
    f.ui.setBusy(true);
    f.setCaption(QStringLiteral(" Sort None"));
    const int index = f.lstTopicList.ListIndex();
    storeState(1, SortOrder::None);
    f.navigation().LoadTopicList();
    f.lstTopicList.selectRow(index);
    f.navigation().showHighlightedTopic();
    f.ui.beep();
    f.setCaption(before);
    f.ui.setBusy(false);
}

void Sorting::mnuSortNoSortFiles_Click()
{
    ListControl &list = f.lstFileList;
    f.ui.setBusy(true);
    f.setCaption(QStringLiteral(" Sort None"));
    const int index = list.ListIndex();
    list.clear();
    // Blank lines of a hand-edited file come back as empty rows, as stored.
    const bool redraw = list.redraw();
    list.setRedraw(false);
    for (const QString &line : readLines(f.store, s.FileListPath))
        list.addRow(trimSpaces(line));
    list.setRedraw(redraw);
    list.selectRow(index);
    storeState(2, SortOrder::None);
    f.ui.beep();
    f.setCaption(Corvanta);
    f.ui.setBusy(false);
}

// --- rebuilding ---

void Sorting::SaveProjectList()
{
    ListControl &list = f.lstProjectList;
    if (list.ListCount() < 2) {
        f.ui.beep();
        return;
    }
    f.setCaption(QStringLiteral(" Rebuilding Project List"));
    f.ui.setBusy(true);
    const int index = list.ListIndex();
    const QString current = index >= 0 && index < list.ListCount() ? list.rowText(index) : QString();
    PointerChange change(f.undo, QStringLiteral("Rebuild Project List"));
    change.touch(s.ProjectListPath);
    change.showNames(UndoHistory::NameList::Projects, {}, current, current);
    reportSaveFailure(f.store, f.ui, s.ProjectListPath, writeNameList(f.store, s.ProjectListPath, list));
    f.setCaption(Corvanta);
    f.ui.beep();
    list.selectRow(index);
    f.ui.setBusy(false);
}

void Sorting::SaveTopicList()
{
    ListControl &list = f.lstTopicList;
    if (list.ListCount() < 2) {
        f.ui.beep();
        return;
    }
    const QString before = f.caption();
    f.setCaption(QStringLiteral(" Rebuilding Topic List"));
    f.ui.setBusy(true);
    const int index = list.ListIndex();
    const QString current = index >= 0 && index < list.ListCount() && !isProjectRow(list.rowText(index))
        ? trimSpaces(list.columnText(index, 0)) : QString();
    PointerChange change(f.undo, s.CurrentProject.isEmpty()
                                     ? QStringLiteral("Rebuild Topic List")
                                     : QStringLiteral("Rebuild Topic List in '") + userText(s.CurrentProject) + u'\'');
    change.touch(s.TopicListPath);
    change.showNames(UndoHistory::NameList::Topics, s.CurrentProject, current, current);
    list.deselectAll();
    reportSaveFailure(f.store, f.ui, s.TopicListPath, writeNameList(f.store, s.TopicListPath, list));
    f.setCaption(before);
    f.ui.beep();
    list.selectRow(index);
    f.navigation().showHighlightedTopic();
    f.ui.setBusy(false);
}

void Sorting::SaveFileList()
{
    ListControl &list = f.lstFileList;
    PointerChange change(f.undo, QStringLiteral("Rebuild File List"));
    change.touch(s.FileListPath);
    if (list.ListCount() == 0) {
        f.ui.beep();
        f.lstProjectList.selectRow(f.lstProjectList.ListIndex());
        f.giveFocus(&f.lstProjectList);
        reportSaveFailure(f.store, f.ui, s.FileListPath, writePointerList(f.store, s.FileListPath, list));
        return;
    }
    const int index = list.ListIndex();
    f.ui.setBusy(true);
    f.setCaption(QStringLiteral(" Rebuilding File List"));
    reportSaveFailure(f.store, f.ui, s.FileListPath, writePointerList(f.store, s.FileListPath, list));
    f.setCaption(Corvanta);
    f.ui.beep();
    list.selectRow(index);
    f.ui.setBusy(false);
}

// --- the caption labels ---

void Sorting::label_DblClick(int which)
{
    ListControl *lists[3] = {&f.lstProjectList, &f.lstTopicList, &f.lstFileList};
    f.giveFocus(lists[which]);
    label_MouseDown(which, 2);
}

void Sorting::label_MouseDown(int which, int button)
{
    if (button != 2)
        return;
    static const char *const menus[3] = {"mnuSortProjects", "mnuSortTopicList", "mnuSortFiles"};
    const TwipsRect &list = f.layout().lists[which];
    f.ui.showPopupMenuAt(QString::fromLatin1(menus[which]), int(list.left + 10), int(list.top + 10));
}

} // namespace corvanta
