#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "platform/Keys.h"
#include "platform/MsgBox.h"

namespace corvanta::test {
namespace {

class NavigationTest : public FormFixture {
protected:
    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, \\s\\sBeta\\s\\s, , Gamma", "Project.Topics: Inbox",
                              "Project.Files: Home page -> http://example.com",
                              "Projects/Inbox.Files: Letter -> /home/u/letter.odt",
                              "Projects/Beta/Beta.List:= Plans\nNotes\n",
                              "Projects/Beta/Beta.Files: Budget -> /home/u/budget.ods",
                              // A hand-edited topic: a blank line in the middle and a record of five bytes.
                              "Projects/Beta/Plans.Files: One -> /a, , Two -> /b", "Projects/Beta/Notes.Files: a -> b"});
    }
};

TEST_F(NavigationTest, entryScreen_showsTheStoredListsTrimmed)
{
    start();
    EXPECT_EQ(rows(projects()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Inbox"_s}));
    EXPECT_EQ(rows(files()), QStringList{u"Home page\thttp://example.com"_s});
    EXPECT_EQ(projects().ListIndex(), 0);
    EXPECT_FALSE(projects().isSelected(0));
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_EQ(form->state.ActiveList, ActiveList::Projects);
    EXPECT_FALSE(form->commands.item(u"mnuReturnToEntryScreen"_s)->enabled);
    EXPECT_FALSE(form->commands.toolbarButton(6)->enabled);
    EXPECT_EQ(form->commands.panels()[0].text, QLocale().toString(QDate(2026, 12, 6), u"ddd  MMM dd, yyyy"_s));
    EXPECT_EQ(form->commands.panels()[6].text, u" Tester"_s);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_FALSE(form->state.ListLoading);
}

TEST_F(NavigationTest, windowsFiles_readWithTheirEncodingAndLineEnds)
{
    data.write(u"Project.List"_s, "Caf\xE9 \x93quoted\x94\rSecond\r");
    start();
    EXPECT_EQ(rows(projects()), (QStringList{u"Café \u201Cquoted\u201D"_s, u"Second"_s}));
}

TEST_F(NavigationTest, doubleClickOnProject_opensItsTopicsAndOwnPointers)
{
    start();
    doubleClick(projects(), 1);
    EXPECT_EQ(form->state.CurrentProject, u"Beta"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Plans"_s, u"Notes"_s}));
    EXPECT_EQ(rows(files()), QStringList{u"Budget\t/home/u/budget.ods"_s});
    EXPECT_EQ(projects().rowBackColour(1), 0xE0E0E0);
    EXPECT_EQ(projects().rowBackColour(0), ListControl::NoColour);
    EXPECT_TRUE(topics().isSelected(0));
    EXPECT_TRUE(topics().hasFocus());
    EXPECT_TRUE(form->commands.item(u"mnuReturnToEntryScreen"_s)->enabled);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Beta/Beta.Files"_s));

    // Every record of a hand-edited topic shows, blank line or not, however short the file.
    click(topics(), 1);
    EXPECT_EQ(rows(files()), (QStringList{u"One\t/a"_s, u"Two\t/b"_s}));
    click(topics(), 2);
    EXPECT_EQ(rows(files()), QStringList{u"a\tb"_s});
    EXPECT_EQ(form->state.CurrentTopic, u"Notes"_s);
    EXPECT_FALSE(projects().isSelected(1));
    // The grey mark stays when the selection leaves the Project List.
    EXPECT_EQ(projects().rowBackColour(1), 0xE0E0E0);
}

TEST_F(NavigationTest, arrowKeysAndHoverWork_onTheTopicList)
{
    start();
    doubleClick(projects(), 1);
    topics().userKeyDown(Key::Down, 0);
    EXPECT_EQ(form->state.CurrentTopic, u"Plans"_s);
    EXPECT_EQ(files().ListCount(), 2);
    topics().userMouseMove(1, 0, 0);
    EXPECT_EQ(form->commands.panels()[1].text, u"Topic Line: 2"_s);
}

// The highlighted topic is always the one whose pointers show: after a project opens sorted
// descending (the project row last), after a right-click, and a click on an empty File List
// hands the focus back to the Project List.
TEST_F(NavigationTest, highlightedTopic_isTheOneWhosePointersShow)
{
    setIni(u"Topic List"_s, u"Sort"_s, u"descend"_s);
    start();
    doubleClick(projects(), 1);
    ASSERT_EQ(rows(topics()), (QStringList{u"Plans"_s, u"Notes"_s, u" ..."_s}));
    EXPECT_EQ(selectedRows(topics()), QList<int>{2});
    EXPECT_EQ(rows(files()), QStringList{u"Budget\t/home/u/budget.ods"_s});

    topics().userMouseDown(1, Mouse::Right, 0);
    EXPECT_EQ(selectedRows(topics()), QList<int>{1});
    EXPECT_EQ(rows(files()), QStringList{u"a\tb"_s});

    form->run(u"LoadEntryScreen"_s);
    doubleClick(projects(), 2); // Gamma: no pointers at all
    ASSERT_EQ(files().ListCount(), 0);
    click(files(), -1);
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_EQ(selectedRows(projects()), QList<int>{2});
}

TEST_F(NavigationTest, projectRowRightAfterStart_isNotReadAgain)
{
    start();
    data.write(u"Project.Files"_s, "Changed\tx\r\n");
    click(topics(), 0);
    EXPECT_EQ(rows(files()), QStringList{u"Home page\thttp://example.com"_s});
}

TEST_F(NavigationTest, singleProject_doubleClickBeepsButEnterOpens)
{
    data.write(u"Project.List"_s, "Only\r\n");
    start();
    doubleClick(projects(), 0);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(form->state.CurrentProject, u"Only"_s);
}

TEST_F(NavigationTest, enterRightAfterStart_opensTheProjectWithTheFocusFrame)
{
    start();
    ASSERT_EQ(projects().SelCount(), 0);
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(form->state.CurrentProject, u"Alpha"_s);
}

TEST_F(NavigationTest, enterOnTheBlankRowOfAnEmptyProjectList_createsNothing)
{
    data.write(u"Project.List"_s, "");
    start();
    EXPECT_EQ(rows(projects()), QStringList{u" "_s});
    projects().userKeyDown(Key::Return, 0);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
    EXPECT_FALSE(data.exists(u"Projects/ "_s));
    EXPECT_EQ(ui.beeps, 1);
    // Also when the blank row is selected by a click.
    click(projects(), 0);
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_FALSE(data.exists(u"Projects/ "_s));
}

TEST_F(NavigationTest, nameThatWouldLeaveTheDataFolder_isRefused)
{
    data.write(u"Project.List"_s, "A\r\n../../escape\r\n");
    data.write(u"Project.Topics"_s, "../../outside\r\n");
    start();
    doubleClick(projects(), 1);
    ASSERT_NE(ui.lastBox(), nullptr);
    EXPECT_EQ(ui.lastBox()->title, u" Invalid Input"_s);
    EXPECT_TRUE(ui.lastBox()->text.contains(u"[../../ESCAPE]"_s));
    EXPECT_FALSE(QFileInfo::exists(data.path() + u"/../escape"_s));
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());

    click(topics(), 1);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(data.stray(), QStringList());
}

TEST_F(NavigationTest, arrowKeys_moveRoundTheThreeLists)
{
    start();
    projects().userKeyDown(Key::Right, 0);
    EXPECT_TRUE(topics().hasFocus());
    EXPECT_TRUE(topics().isSelected(0));
    EXPECT_EQ(form->state.ActiveList, ActiveList::Topics);
    topics().userKeyDown(Key::Right, 0);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_TRUE(topics().isSelected(0)); // the File List leaves the Topic List its selection
    files().userKeyDown(Key::Right, 0);
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_TRUE(projects().isSelected(0));
    projects().userKeyDown(Key::Left, 0);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(form->state.ActiveList, ActiveList::Files);
}

TEST_F(NavigationTest, descendingProjectSort_loadsAscendingThenSortsWithoutMarkerRow)
{
    setIni(u"Project List"_s, u"Sort"_s, u"descend"_s);
    setIni(u"Topic List"_s, u"Sort"_s, u"ascend"_s);
    data.write(u"Project.Topics"_s, "zeta\r\nAlpha\r\n");
    start();
    EXPECT_EQ(rows(projects()), (QStringList{u"Gamma"_s, u"Beta"_s, u"Alpha"_s}));
    EXPECT_TRUE(form->commands.item(u"mnuSortDescendingProjects"_s)->checked);
    EXPECT_EQ(ini(u"Project List"_s, u"Sort"_s), u"descend"_s);
    EXPECT_EQ(form->caption(), u" Corvanta"_s);
    EXPECT_EQ(ui.beeps, 1);
    // The project row sorts with the topics.
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Alpha"_s, u"zeta"_s}));
    // The file keeps its stored order.
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\n  Beta  \r\n\r\nGamma\r\n"));
}

TEST_F(NavigationTest, rightClickOnProject_showsItsPopupAndOpenOpensIt)
{
    start();
    ui.onPopup = [&](const QString &menu) {
        EXPECT_EQ(menu, u"mnuPopupList"_s);
        EXPECT_TRUE(form->state.SuppressListClick);
        form->menuClick(u"mnuOpenProject"_s);
    };
    projects().userMouseDown(1, Mouse::Right, 0);
    EXPECT_EQ(form->commands.item(u"mnuPopupMenu2Title"_s)->caption, u"BETA"_s);
    EXPECT_EQ(form->state.CurrentProject, u"Beta"_s);
    EXPECT_FALSE(form->state.SuppressListClick);
    EXPECT_FALSE(form->commands.item(u"mnuTopicPopupPasteNameAtEndOfList"_s)->enabled);
}

TEST_F(NavigationTest, ctrlP_asksBeforePrintingAndPlainPPasses)
{
    start();
    int key = Key::P;
    form->navigation().lstTopicList_KeyDown(key, Key::CtrlMask);
    EXPECT_EQ(key, 0);
    ASSERT_NE(ui.lastBox(), nullptr);
    EXPECT_EQ(ui.lastBox()->title, u" Print Topic List"_s);
    EXPECT_EQ(ui.lastBox()->text, u"This Will Print The Topic List.\rDo You Want To Print The Topic List?     \r"_s);
    EXPECT_EQ(ui.lastBox()->flags, MsgBox::YesNo | MsgBox::Question);
    key = Key::P;
    form->navigation().lstProjectList_KeyDown(key, 0);
    EXPECT_EQ(key, int(Key::P));
}

TEST_F(NavigationTest, hover_showsTheTargetAndTheLinePanelFollowsMouseAndSelection)
{
    QByteArray many;
    for (int i = 0; i < 1200; ++i)
        many += "Pointer " + QByteArray::number(i) + "\t/x\r\n";
    many += QByteArray(51, 'n') + "\t/long\r\n";
    data.write(u"Project.Files"_s, many);
    start();
    files().userMouseMove(1200, 0, 0);
    EXPECT_EQ(files().toolTip(), QString(51, u'n') + u"\n/long"_s);
    EXPECT_EQ(form->commands.panels()[1].text, u"Files Line: "_s + QLocale().toString(1201));
    // A short name: the target alone, which the list does not show.
    files().userMouseMove(3, 0, 0);
    EXPECT_EQ(files().toolTip(), u"/x"_s);

    // The line panel follows the selection too, whichever list the user moves in.
    click(files(), 7);
    files().userKeyDown(Key::Down, 0);
    EXPECT_EQ(form->commands.panels()[1].text, u"Files Line: 9"_s);
    projects().userKeyDown(Key::End, 0);
    EXPECT_EQ(form->commands.panels()[1].text, u"Project Line: "_s + QString::number(projects().ListCount()));
}

} // namespace
} // namespace corvanta::test
