#pragma once

#include "app/FeatureCalls.h"
#include "app/SharedState.h"
#include "store/ListControl.h"

#include <QString>

namespace corvanta {

class MainForm;
struct SharedState;

// The direction a list sorts its first column in for a stored order; None for no or an unknown order.
constexpr SortDirection listSortDirection(SortOrder order)
{
    return order == SortOrder::Ascending    ? SortDirection::Ascending
           : order == SortOrder::Descending ? SortDirection::Descending
                                            : SortDirection::None;
}

// Shows each list in its stored order, ascending or descending, keeps the sort states in the
// settings file, and rebuilds the list files from the lists as shown.
class Sorting final : public ListSorting {
public:
    explicit Sorting(MainForm &form);

    // ListSorting, for the other features.
    void applyProjectSort() override { ApplyProjectSort(); }
    void sortProjects(SortOrder order) override;
    void saveProjectList() override { SaveProjectList(); }
    void saveTopicList() override { SaveTopicList(); }

    void ApplyProjectSort();
    void ApplyTopicSort();
    void ApplyFileSort();

    void mnuSortNoSortProjects_Click();
    void mnuSortAscendingProjects_Click();
    void mnuSortDescendingProjects_Click();
    void mnuTopicNoSort_Click();
    void mnuTopicSortAscending_Click();
    void mnuTopicSortDescending_Click();
    void mnuSortNoSortFiles_Click();
    void mnuSortAscendingFiles_Click();
    void mnuSortDescendingFiles_Click();

    void SaveProjectList();
    void SaveTopicList();
    void SaveFileList();

    // The caption labels: a double-click focuses the list and shows its Sort menu, a right press
    // shows the menu without moving the focus. which: 0 Projects, 1 Topics, 2 Files.
    void label_DblClick(int which);
    void label_MouseDown(int which, int button);

    // Sets the check marks of the three Sort menus from the sort orders.
    void setSortMenuChecks();

private:
    MainForm &f;
    SharedState &s;

    void registerOperations();
    // Sort Ascending or Descending of one list (the Project List's descending sort has its own).
    void sortCommand(int which, SortOrder order, const QString &caption, bool restoreCaption);
    void storeState(int which, SortOrder order);
    // An unknown order leaves the menu's marks as they are.
    void setSortChecks(int which, SortOrder order);
};

} // namespace corvanta
