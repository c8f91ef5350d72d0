#include "app/Sorting.h"
#include "support/FormFixture.h"

#include "platform/MsgBox.h"

namespace corvanta::test {
namespace {

class SortingTest : public FormFixture {
protected:
    void SetUp() override
    {
        data.write(u"Project.List"_s, "delta\r\nAlpha\r\ncharlie\r\nBravo\r\n");
        data.write(u"Project.Topics"_s, "Zoo\r\napple\r\n");
        data.write(u"Project.Files"_s, "beta\t/b\r\n\r\nAlpha\t/a\r\n  gamma\t/g  \r\n");
        start();
    }
    Sorting &sorting() { return form->sorting(); }
    // Captions the window showed, in order.
    QStringList captions;
    void watchCaptions()
    {
        form->onChanged = [this](MainForm::Change c) {
            if (c == MainForm::Change::Caption)
                captions << form->caption();
        };
    }
};

TEST_F(SortingTest, ascendingThenNoSort_restoresTheStoredOrderKeepsTheRowNumberAndCaption)
{
    watchCaptions();
    // The topics' marker row moves with a sort, and the caption comes back.
    form->menuClick(u"mnuTopicSortDescending"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u"Zoo"_s, u"apple"_s, u" ..."_s}));
    EXPECT_EQ(captions, (QStringList{u" Sort Decending"_s, u" Corvanta Software"_s}));
    captions.clear();
    projects().setListIndex(1);
    form->menuClick(u"mnuSortAscendingProjects"_s);
    EXPECT_EQ(rows(projects()), (QStringList{u"Alpha"_s, u"Bravo"_s, u"charlie"_s, u"delta"_s}));
    EXPECT_EQ(projects().ListIndex(), 1);
    EXPECT_TRUE(projects().isSelected(1));
    EXPECT_EQ(ini(u"Project List"_s, u"Sort"_s), u"ascend"_s);
    EXPECT_TRUE(form->commands.item(u"mnuSortAscendingProjects"_s)->checked);
    EXPECT_FALSE(form->commands.item(u"mnuSortNoSortProjects"_s)->checked);
    EXPECT_EQ(captions, (QStringList{u" Sort Ascending"_s, u" Corvanta"_s}));

    form->menuClick(u"mnuSortNoSortProjects"_s);
    EXPECT_EQ(rows(projects()), (QStringList{u"delta"_s, u"Alpha"_s, u"charlie"_s, u"Bravo"_s}));
    EXPECT_EQ(ini(u"Project List"_s, u"Sort"_s), u"none"_s);
    EXPECT_EQ(captions.last(), u" Corvanta"_s);
    EXPECT_EQ(ui.beeps, 3); // one a sort
    // The file never changes by sorting.
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("delta\r\nAlpha\r\ncharlie\r\nBravo\r\n"));
}

TEST_F(SortingTest, sortState_survivesARestartAndAppliesToListsLoadedLater)
{
    form->menuClick(u"mnuSortDescendingFiles"_s);
    start();
    // Read untrimmed at start, so the indented name sorts by its leading spaces.
    EXPECT_EQ(rows(files()), (QStringList{u"beta\t/b"_s, u"Alpha\t/a"_s, u"  gamma\t/g  "_s}));
    EXPECT_TRUE(form->commands.item(u"mnuSortDescendingFiles"_s)->checked);
    data.write(u"Projects/Inbox.Files"_s, "m\t1\r\nz\t2\r\na\t3\r\n");
    data.write(u"Project.Topics"_s, "Inbox\r\n");
    start();
    click(topics(), 1);
    EXPECT_EQ(rows(files()), (QStringList{u"z\t2"_s, u"m\t1"_s, u"a\t3"_s}));
}

// Spaces are trimmed, never the TAB of a pointer without a display name.
TEST_F(SortingTest, fileListNoSort_keepsBlankRowsAndEveryTab)
{
    data.write(u"Project.Files"_s, "beta\t/b\r\n\r\n\t/nameless \r\n  gamma\t/g  \r\n");
    form->menuClick(u"mnuSortAscendingFiles"_s);
    form->menuClick(u"mnuSortNoSortFiles"_s);
    EXPECT_EQ(rows(files()), (QStringList{u"beta\t/b"_s, QString(), u"\t/nameless"_s, u"gamma\t/g"_s}));
    EXPECT_EQ(form->caption(), u" Corvanta"_s);
    form->menuClick(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), QByteArray("beta\t/b\r\n\t/nameless\r\ngamma\t/g\r\n"));
}

// After a sort exactly the remembered row number is selected, whatever the sort moved.
TEST_F(SortingTest, fileListSort_leavesOnlyTheRowNumberSelected)
{
    click(files(), 0); // beta
    form->menuClick(u"mnuSortAscendingFiles"_s);
    EXPECT_EQ(selectedRows(files()), QList<int>{0});
    const QStringList kept = rows(files()).mid(1);
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_EQ(rows(files()), kept);
}

TEST_F(SortingTest, projectListDescending_leavesNoMarkerRowButApplyingItAgainDoes)
{
    form->menuClick(u"mnuSortDescendingProjects"_s);
    EXPECT_EQ(rows(projects()), (QStringList{u"delta"_s, u"charlie"_s, u"Bravo"_s, u"Alpha"_s}));
    // A project added while descending: the apply operation leaves its marker row.
    projects().setRow(projects().ListCount());
    projects().insertRow(u"echo"_s);
    sorting().ApplyProjectSort();
    EXPECT_TRUE(rows(projects()).contains(u" ..."_s));
    // The marker row is never stored, and opening it only beeps.
    form->menuClick(u"mnuRebuildProjectList"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("echo\r\ndelta\r\ncharlie\r\nBravo\r\nAlpha\r\n"));
    const int marker = int(rows(projects()).indexOf(u" ..."_s));
    const int beeps = ui.beeps;
    doubleClick(projects(), marker);
    EXPECT_EQ(ui.beeps, beeps + 1);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
}

TEST_F(SortingTest, captionLabels_showTheSortMenuAtTheirList)
{
    form->setGeometry({0, 0, 10250, 6500});
    form->Form_Resize();
    sorting().label_MouseDown(1, 2);
    EXPECT_EQ(ui.popups.back(), u"mnuSortTopicList"_s);
    EXPECT_FALSE(topics().hasFocus());
    sorting().label_DblClick(2);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(ui.popups.back(), u"mnuSortFiles"_s);
}

TEST_F(SortingTest, resetWindow_asksAndNoChangesNothing)
{
    form->setGeometry({100, 900, 11000, 7000});
    ui.answers.push_back(MsgBox::No);
    form->run(u"ResetWindowToDefault"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Reset Program Window"_s);
    EXPECT_EQ(ui.lastBox()->text, u"Do You Want To Reset The Window To     \rThe Default Size and Location?\r"_s);
    EXPECT_EQ(form->geometry(), (WindowGeometry{100, 900, 11000, 7000}));

    ui.answers.push_back(MsgBox::Yes);
    form->run(u"ResetWindowToDefault"_s);
    EXPECT_EQ(form->geometry(), (WindowGeometry{2400, 400, 14400, 6500}));

    form->run(u"ResetWindowToDefault"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Set Default Program Window Size and Location"_s);
    EXPECT_EQ(ui.lastBox()->flags, MsgBox::OkOnly | MsgBox::Information);
}

} // namespace
} // namespace corvanta::test
