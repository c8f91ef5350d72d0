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

TEST_F(NavigationTest, entryScreenShowsTheStoredListsTrimmed_aDoubleClickOpensAProject)
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

    doubleClick(projects(), 1);
    EXPECT_EQ(form->state.CurrentProject, u"Beta"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Plans"_s, u"Notes"_s}));
    EXPECT_EQ(rows(files()), QStringList{u"Budget\t/home/u/budget.ods"_s});
    EXPECT_EQ(projects().rowBackColour(1), 0xE0E0E0);
    EXPECT_EQ(projects().rowBackColour(0), ListControl::NoColour);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Beta/Beta.Files"_s));

    // Every record of a hand-edited topic shows, blank line or not, however short the file.
    click(topics(), 1);
    EXPECT_EQ(rows(files()), (QStringList{u"One\t/a"_s, u"Two\t/b"_s}));
    click(topics(), 2);
    EXPECT_EQ(rows(files()), QStringList{u"a\tb"_s});
    // The grey mark stays when the selection leaves the Project List.
    EXPECT_EQ(projects().rowBackColour(1), 0xE0E0E0);
}

TEST_F(NavigationTest, oneProjectOrNone_doubleClickBeepsAndEnterOpensOnlyAName)
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

TEST_F(NavigationTest, enterOnTheBlankRowOfAnEmptyProjectList_beepsAndCreatesNothing)
{
    data.write(u"Project.List"_s, "");
    start();
    EXPECT_EQ(rows(projects()), QStringList{u" "_s});
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(ui.beeps, 1);
    click(projects(), 0);
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
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
