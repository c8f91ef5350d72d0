#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "filelist/Launching.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvanta::test {
namespace {

class LaunchingTest : public FormFixture
{
protected:

    // The entry screen's File List, as a user might have left it.
    void SetUp() override
    {
        data.write(u"Project.Files"_s,
            " Letter\t/docs/letter.odt \r\n"
            "Report\t/docs/report.txt\r\n"
            "Report 2\t/docs/report2.txt\r\n"
            "Setup\t/apps/SETUP.EXE\r\n"
            "Report\t/other/report.txt\r\n");
    }

    void select(std::initializer_list<int> rows)
    {
        bool first = true;
        for (int row : rows) {
            files().userMouseDown(row, 1, first ? 0 : Key::CtrlMask);
            first = false;
        }
    }
    QStringList fileLines() const
    {
        return QString::fromUtf8(data.read(u"Project.Files"_s)).split(u"\r\n"_s);
    }
};

TEST_F(LaunchingTest, singleSelection_launchesTheCurrentRowOnDoubleClick)
{
    start();
    doubleClick(files(), 1);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, u"open"_s);
    EXPECT_EQ(shell.calls[0].file, u"report.txt"_s);
    EXPECT_EQ(shell.calls[0].folder, u"/docs/"_s);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(LaunchingTest, threeSelected_launchedInNextSelOrderAndIteratorReset)
{
    start();
    select({4, 0, 2});
    int key = Key::Return;
    files().userKeyDown(key, 0);
    EXPECT_EQ(shell.targets(),
        (QStringList {u"/docs/letter.odt"_s, u"/docs/report2.txt"_s, u"/other/report.txt"_s}));
    EXPECT_EQ(files().NextSel(), 0);
}

TEST_F(LaunchingTest, printMode_printsDocumentsButStartsExeTargets)
{
    start();
    form->run(u"optPrint_Click"_s);
    select({1, 3});
    program->launching().launchSelected(LaunchVerb::Chosen);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].verb, u"print"_s);
    EXPECT_EQ(shell.calls[1].verb, u"Open"_s);
    EXPECT_EQ(shell.calls[1].file, u"SETUP.EXE"_s);
}

TEST_F(LaunchingTest, blankTarget_refusedAndLaterRowsNotLaunched)
{
    data.write(u"Project.Files"_s, "Blank\t   \r\nReport\t/docs/report.txt\r\n");
    start();
    form->state.ActiveList = ActiveList::Files;
    select({0, 1});
    program->launching().launchSelected(LaunchVerb::Chosen);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(projects().hasFocus());
    ASSERT_TRUE(boxesShown(ui, {{u" No File To Search For"_s, u"No File Has Been Selected.     \r"_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::OkOnly | MsgBox::Exclamation);
    EXPECT_EQ(files().NextSel(), 0);
}

TEST_F(LaunchingTest, secondOfThreeMissing_yesRemovesOnlyThatPointerAndStops)
{
    start();
    shell.results[u"/docs/report.txt"_s] = ShellResult::FileNotFound;
    ui.answers.push_back(MsgBox::Yes);
    select({0, 1, 2});
    program->launching().launchSelected(LaunchVerb::Chosen);
    EXPECT_EQ(shell.targets(), (QStringList {u"/docs/letter.odt"_s, u"/docs/report.txt"_s}));
    ASSERT_TRUE(boxesShown(ui, {{u" /docs/report.txt  Not Found"_s, u"The File  [/docs/report.txt]  Was Not Found.\r"
        u"Do You Want To Remove  [/docs/report.txt]  From File List?     \r"_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::DefaultButton2);

    // "Report 2" only begins with the name; the other "Report" points elsewhere: both stay.
    EXPECT_EQ(rows(files()),
        (QStringList {u" Letter\t/docs/letter.odt "_s, u"Report 2\t/docs/report2.txt"_s,
            u"Setup\t/apps/SETUP.EXE"_s, u"Report\t/other/report.txt"_s}));
    EXPECT_EQ(fileLines(),
        (QStringList {u" Letter\t/docs/letter.odt "_s, u"Report 2\t/docs/report2.txt"_s,
            u"Setup\t/apps/SETUP.EXE"_s, u"Report\t/other/report.txt"_s, QString()}));
    EXPECT_EQ(files().ListIndex(), 1);
    EXPECT_TRUE(files().isSelected(1));
    EXPECT_EQ(files().NextSel(), 0);
}

// No keeps everything; Yes removes the row and its line, and the row then in its place (or the
// new last row) takes the selection.
TEST_F(LaunchingTest, missingPointer_yesRemovesItsLineNoKeepsIt)
{
    struct Case {
        QByteArray file;
        int row;
        int answer;
        int rowsLeft;
        int selected;
    };
    const Case cases[] = {
        {"Gone\t/nowhere/gone.txt\r\n", 0, MsgBox::Yes, 0, -1},
        {"A\t/a\r\nB\t/b\r\nGone\t/nowhere/gone.txt\r\n", 2, MsgBox::Yes, 2, 1},
        {"A\t/a\r\nGone\t/nowhere/gone.txt\r\nB\t/b\r\n", 1, MsgBox::No, 3, 1},
    };
    for (const Case &c : cases) {
        data.write(u"Project.Files"_s, c.file);
        start();
        shell.results[u"/nowhere/gone.txt"_s] = ShellResult::FileNotFound;
        ui.answers = {c.answer};
        doubleClick(files(), c.row);
        EXPECT_EQ(files().ListCount(), c.rowsLeft);
        EXPECT_EQ(files().ListIndex(), c.selected);
        EXPECT_EQ(selectedRows(files()), c.selected < 0 ? QList<int>() : QList<int>{c.selected});
        EXPECT_EQ(data.read(u"Project.Files"_s).contains("Gone"), c.answer == MsgBox::No);
        EXPECT_EQ(fileLines().size(), c.rowsLeft + 1); // the lines and the final line end
    }
}

TEST_F(LaunchingTest, secondOfThreeMissing_noKeepsEverythingAndStops)
{
    start();
    const QByteArray before = data.read(u"Project.Files"_s);
    shell.results[u"/docs/report.txt"_s] = ShellResult::PathNotFound;
    ui.answers.push_back(MsgBox::No);
    select({0, 1, 2});
    program->launching().launchSelected(LaunchVerb::Chosen);
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(files().ListCount(), 5);
    EXPECT_EQ(data.read(u"Project.Files"_s), before);
}

TEST_F(LaunchingTest, emptyFileList_beepsAndFocusesProjects)
{
    data.write(u"Project.Files"_s, "");
    start();
    form->giveFocus(&files());
    program->launching().launchSelected(LaunchVerb::Chosen);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LaunchingTest, optionButtons_menuChecksAndFocusFollowTheMode)
{
    start();
    form->state.ActiveList = ActiveList::Topics;
    form->run(u"optPrint_Click"_s);
    EXPECT_FALSE(form->optOpen());
    EXPECT_TRUE(form->commands.item(u"mnuPrintFiles"_s)->checked);
    EXPECT_FALSE(form->commands.item(u"mnuOpenFiles"_s)->checked);
    EXPECT_TRUE(topics().hasFocus());

    form->menuClick(u"mnuOpenFiles"_s);
    EXPECT_TRUE(form->optOpen());
    EXPECT_TRUE(form->commands.item(u"mnuOpenFiles"_s)->checked);
    EXPECT_FALSE(form->commands.item(u"mnuPrintFiles"_s)->checked);
}

TEST_F(LaunchingTest, popupOpenAndPrint_actOnceAndLeaveTheMode)
{
    start();
    form->run(u"optPrint_Click"_s);
    click(files(), 1);
    int key = Key::O; // Ctrl+O in the File List is the popup's "Open"
    files().userKeyDown(key, Key::CtrlMask);
    EXPECT_EQ(shell.calls.back().verb, u"open"_s);
    EXPECT_FALSE(form->optOpen()); // the choice stays Print

    form->run(u"optOpen_Click"_s);
    form->menuClick(u"mnuPrintSelectedFiles"_s);
    EXPECT_EQ(shell.calls.back().verb, u"print"_s);
    EXPECT_TRUE(form->optOpen());
    EXPECT_EQ(shell.calls.size(), 2u);
}

TEST_F(LaunchingTest, openWith_showsChooserForCurrentRowOnly)
{
    start();
    select({2, 0});
    ui.programChoices.push_back(u"viewer %U"_s);
    form->menuClick(u"mnuSelectProgram"_s);
    EXPECT_EQ(ui.chooserTargets, std::vector<QString> {u"/docs/letter.odt"_s});
    EXPECT_EQ(program->launching().openWithCount(), 1);
    EXPECT_TRUE(files().hasFocus());
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].program, u"viewer"_s);
    EXPECT_EQ(shell.starts[0].arguments, QStringList {u"/docs/letter.odt"_s});
}

TEST_F(LaunchingTest, openWithBlankTarget_refusedWithoutLineEnd)
{
    data.write(u"Project.Files"_s, "Blank\t \r\n");
    start();
    click(files(), 0);
    form->run(u"OpenWithProgram"_s);
    EXPECT_TRUE(ui.chooserTargets.empty());
    EXPECT_EQ(ui.beeps, 1);
    expectBoxes(ui, {{u" No File To Search For"_s, u"No File Has Been Selected.     "_s}});
}

} // namespace
} // namespace corvanta::test
