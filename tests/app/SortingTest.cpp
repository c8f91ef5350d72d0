#include "app/Sorting.h"
#include "support/FormFixture.h"

#include "platform/Keys.h"
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

TEST_F(SortingTest, ascendingThenNoSort_restoresTheStoredOrderAndKeepsTheRowNumber)
{
    projects().setListIndex(1);
    watchCaptions();
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
    EXPECT_EQ(ui.beeps, 2);
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

TEST_F(SortingTest, fileListNoSort_keepsBlankRowsOfAHandEditedFile)
{
    form->menuClick(u"mnuSortAscendingFiles"_s);
    form->menuClick(u"mnuSortNoSortFiles"_s);
    EXPECT_EQ(rows(files()), (QStringList{u"beta\t/b"_s, QString(), u"Alpha\t/a"_s, u"gamma\t/g"_s}));
    EXPECT_EQ(form->caption(), u" Corvanta"_s);
}

TEST_F(SortingTest, topicListDescending_movesTheProjectRowAndRestoresTheCaption)
{
    watchCaptions();
    form->menuClick(u"mnuTopicSortDescending"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u"Zoo"_s, u"apple"_s, u" ..."_s}));
    EXPECT_EQ(captions, (QStringList{u" Sort Decending"_s, u" Corvanta Software"_s}));
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

TEST_F(SortingTest, rebuild_writesTheListAsShown)
{
    form->menuClick(u"mnuSortAscendingProjects"_s);
    form->menuClick(u"mnuRebuildProjectList"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBravo\r\ncharlie\r\ndelta\r\n"));
    form->menuClick(u"mnuTopicRebuildTopicList"_s);
    EXPECT_EQ(data.read(u"Project.Topics"_s), QByteArray("Zoo\r\napple\r\n"));
    form->menuClick(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), QByteArray("beta\t/b\r\nAlpha\t/a\r\ngamma\t/g\r\n"));
    EXPECT_EQ(form->caption(), u" Corvanta"_s);
}

TEST_F(SortingTest, rebuildOfAOneProjectList_onlyBeeps)
{
    data.write(u"Project.List"_s, "  Only  \r\n\r\n");
    start();
    form->menuClick(u"mnuRebuildProjectList"_s);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("  Only  \r\n\r\n"));
}

TEST_F(SortingTest, rebuildOfAnEmptyFileList_emptiesItsFileAndFocusesProjects)
{
    files().clear();
    files().setHasFocus(true);
    form->menuClick(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), QByteArray());
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(SortingTest, rebuildThatCannotWrite_saysSoAndKeepsTheFile)
{
    QFile::setPermissions(data.file(u"Project.List"_s), QFile::ReadOwner);
    form->menuClick(u"mnuSortAscendingProjects"_s);
    form->menuClick(u"mnuRebuildProjectList"_s);
    ASSERT_NE(ui.lastBox(), nullptr);
    EXPECT_EQ(ui.lastBox()->title, u" File Not Saved"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("delta\r\nAlpha\r\ncharlie\r\nBravo\r\n"));
}

TEST_F(SortingTest, captionLabels_showTheSortMenuAtTheirList)
{
    form->setGeometry({0, 0, 10250, 6500});
    form->Form_Resize();
    sorting().label_MouseDown(1, 2);
    EXPECT_EQ(ui.popups.back(), u"mnuSortTopicList"_s);
    EXPECT_EQ(ui.popupX, int(125 + 3216.67f + 100 + 10));
    EXPECT_EQ(ui.popupY, 775);
    EXPECT_FALSE(topics().hasFocus());
    sorting().label_DblClick(2);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(ui.popups.back(), u"mnuSortFiles"_s);
}

// --- layout ---

class LayoutTest : public FormFixture {};

TEST_F(LayoutTest, listsShareTheWidthInThirdsAndTheWindowKeepsItsMinimum)
{
    start();
    form->setGeometry({0, 0, 10250, 8000});
    form->Form_Resize();
    const MainLayout &l = form->layout();
    EXPECT_NEAR(l.lists[0].width, 3216.67, 0.01);
    EXPECT_NEAR(l.lists[2].left + l.lists[2].width, 9975, 0.01);
    EXPECT_EQ(l.lists[1].height, 8000 - 2100);
    EXPECT_NEAR(l.labels[1].left, l.lists[1].left + 75, 0.01);
    EXPECT_EQ(l.optOpenLeft, 10250 - 2700);

    form->setGeometry({0, 0, 9000, 7000});
    form->Form_Resize();
    EXPECT_EQ(form->geometry().width, 10250);
    form->setGeometry({0, 0, 12000, 5000});
    form->Form_Resize();
    EXPECT_EQ(form->geometry().height, 6500);
}

TEST_F(LayoutTest, snapToMinimum_laysTheListsOutForTheSizeTheWindowEndsWith)
{
    start();
    // Both too small: the height snaps, then the width on the resize that causes.
    form->setGeometry({0, 0, 4500, 3000});
    form->Form_Resize();
    EXPECT_EQ(form->geometry(), (WindowGeometry{0, 0, 10250, 6500}));
    EXPECT_NEAR(form->layout().lists[2].left + form->layout().lists[2].width, 9975, 0.01);
    EXPECT_EQ(form->layout().lists[0].height, 6500 - 2100);

    // A screen smaller than the minimum (a laptop at double scale) caps it.
    form->screens = {{0, 0, 10245, 5760}};
    form->setGeometry({0, 0, 4500, 3000});
    form->Form_Resize();
    EXPECT_EQ(form->geometry(), (WindowGeometry{0, 0, 10245, 5760}));
}

TEST_F(LayoutTest, defaultGeometryTest_holdsUpToTop410)
{
    // 19200 twips wide: the default window is 14400 wide and 2400 from the left.
    EXPECT_TRUE(MainForm::hasDefaultGeometry({2400, 410, 14400, 6500}, 19200));
    EXPECT_TRUE(MainForm::hasDefaultGeometry({2400, 0, 14400, 6500}, 19200));
    EXPECT_FALSE(MainForm::hasDefaultGeometry({2400, 411, 14400, 6500}, 19200));
    EXPECT_FALSE(MainForm::hasDefaultGeometry({2400, 400, 14400, 6600}, 19200));
}

TEST_F(LayoutTest, reset_asksAndNoChangesNothing)
{
    start();
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

TEST_F(LayoutTest, changeName_fromTheMenuTheKeyAndTheNamePanel)
{
    start();
    ui.typed = {u"Bea"_s, u"Cy"_s, u"Di"_s};
    form->menuClick(u"mnuChangeName"_s);
    EXPECT_EQ(form->commands.panels()[6].text, u" Bea"_s);
    int key = Key::F12;
    form->Form_KeyDown(key, 0);
    EXPECT_EQ(ini(u"User"_s, u"Name"_s), u"Cy"_s);
    // A left click on the name panel does nothing; a right click asks.
    form->stbMain_MouseDown(1);
    form->stbMain_PanelClick(7);
    EXPECT_EQ(form->state.UserName, u"Cy"_s);
    form->stbMain_MouseDown(2);
    form->stbMain_PanelClick(7);
    EXPECT_EQ(form->commands.panels()[6].text, u" Di"_s);
}

} // namespace
} // namespace corvanta::test
