#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "filelist/Launching.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"

namespace corvanta::test {
namespace {

class LaunchingTest : public FormFixture
{
protected:
    // The entry screen's File List, as a user might have left it.
    void SetUp() override
    {
        data.write(u"Project.Files"_s,
            " Letter\t/docs/letter.odt \r\nReport\t/docs/report.txt\r\nReport "
            "2\t/docs/report2.txt\r\n"
            "Setup\t/apps/SETUP.EXE\r\nReport\t/other/report.txt\r\n");
    }
    void select(std::initializer_list<int> rows)
    {
        bool first = true;
        for (int row : rows) {
            files().userMouseDown(row, 1, first ? 0 : Key::CtrlMask);
            first = false;
        }
    }
    void launch() { program->launching().launchSelected(LaunchVerb::Chosen); }
};

// The selected rows go to the desktop in list order, and the iterator is reset for the next
// command. Print mode prints documents but starts programs.
TEST_F(LaunchingTest, selectedRows_launchedInListOrder_orPrinted)
{
    start();
    select({4, 0, 2});
    files().userKeyDown(Key::Return, 0);
    EXPECT_EQ(shell.targets(),
        (QStringList {u"/docs/letter.odt"_s, u"/docs/report2.txt"_s, u"/other/report.txt"_s}));
    EXPECT_EQ(shell.calls[0].verb, u"open"_s);
    EXPECT_EQ(files().NextSel(), 0);
    EXPECT_EQ(ui.busyDepth, 0);

    shell.calls.clear();
    form->run(u"optPrint_Click"_s);
    select({1, 3});
    launch();
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].verb, u"print"_s);
    EXPECT_EQ(shell.calls[1].verb, u"Open"_s);
    EXPECT_EQ(shell.calls[1].file, u"SETUP.EXE"_s);
}

// A blank target or an empty list launches nothing and gives the Project List the focus; a
// blank target stops the rows after it.
TEST_F(LaunchingTest, blankTargetOrEmptyList_launchesNothing)
{
    data.write(u"Project.Files"_s, "Blank\t   \r\nReport\t/docs/report.txt\r\n");
    start();
    form->state.ActiveList = ActiveList::Files;
    select({1, 0});
    launch();
    ui.programChoices.push_back(u"viewer %U"_s);
    form->run(u"OpenWithProgram"_s);
    EXPECT_TRUE(shell.calls.empty() && shell.starts.empty() && ui.chooserTargets.empty());
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_TRUE(projects().hasFocus());
    const QString text = u"No File Has Been Selected.     "_s; // Open With's has no line end
    expectBoxes(
        ui, {{u" No File To Search For"_s, text + u'\r'}, {u" No File To Search For"_s, text}});
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::OkOnly | MsgBox::Exclamation);
    EXPECT_EQ(files().NextSel(), 0);

    data.write(u"Project.Files"_s, "");
    start();
    form->giveFocus(&files());
    launch();
    EXPECT_EQ(ui.beeps, 3);
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LaunchingTest, secondOfThreeMissing_yesRemovesOnlyThatPointerAndStops)
{
    start();
    shell.results[u"/docs/report.txt"_s] = ShellResult::FileNotFound;
    ui.answers.push_back(MsgBox::Yes);
    select({0, 1, 2});
    launch();
    EXPECT_EQ(shell.targets(), (QStringList {u"/docs/letter.odt"_s, u"/docs/report.txt"_s}));
    expectBoxes(ui,
        {{u" /docs/report.txt  Not Found"_s,
            u"The File  [/docs/report.txt]  Was Not Found.\r"
            u"Do You Want To Remove  [/docs/report.txt]  From File List?     \r"_s}});
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::DefaultButton2);
    // "Report 2" only begins with the name; the other "Report" points elsewhere: both stay.
    expectFile(data.file(u"Project.Files"_s),
        {R"(\sLetter -> /docs/letter.odt\s)", "Report 2 -> /docs/report2.txt",
            "Setup -> /apps/SETUP.EXE", "Report -> /other/report.txt"});
    EXPECT_EQ(rows(files()).size(), 4);
    EXPECT_TRUE(files().isSelected(1));
    EXPECT_EQ(files().ListIndex(), 1);
    EXPECT_EQ(files().NextSel(), 0);
}

// No keeps everything; Yes removes the row and its line, and the row then in its place (or the
// new last row) takes the selection.
TEST_F(LaunchingTest, missingPointer_yesRemovesItsLineNoKeepsIt)
{
    const struct
    {
        QByteArray file;
        int row, answer, rowsLeft, selected;
    } cases[] = {
        {"Gone\t/nowhere/gone.txt\r\n", 0, MsgBox::Yes, 0, -1},
        {"A\t/a\r\nB\t/b\r\nGone\t/nowhere/gone.txt\r\n", 2, MsgBox::Yes, 2, 1},
        {"A\t/a\r\nGone\t/nowhere/gone.txt\r\nB\t/b\r\n", 1, MsgBox::No, 3, 1},
    };
    for (const auto &c : cases) {
        data.write(u"Project.Files"_s, c.file);
        start();
        shell.results[u"/nowhere/gone.txt"_s] = ShellResult::FileNotFound;
        ui.answers = {c.answer};
        doubleClick(files(), c.row);
        EXPECT_EQ(files().ListCount(), c.rowsLeft);
        EXPECT_EQ(files().ListIndex(), c.selected);
        EXPECT_EQ(selectedRows(files()), c.selected < 0 ? QList<int>() : QList<int> {c.selected});
        const QByteArray left = data.read(u"Project.Files"_s);
        EXPECT_EQ(left.contains("Gone"), c.answer == MsgBox::No);
        EXPECT_EQ(left.count("\r\n"), c.rowsLeft);
    }
}

// The popup's Open and Print act once and leave the mode chosen as it was.
TEST_F(LaunchingTest, popupOpenAndPrint_actOnceAndLeaveTheMode)
{
    start();
    form->state.ActiveList = ActiveList::Topics;
    form->run(u"optPrint_Click"_s);
    EXPECT_TRUE(form->commands.item(u"mnuPrintFiles"_s)->checked);
    EXPECT_TRUE(topics().hasFocus());
    click(files(), 1);
    int key = Key::O; // Ctrl+O in the File List is the popup's "Open"
    files().userKeyDown(key, Key::CtrlMask);
    EXPECT_EQ(shell.calls.back().verb, u"open"_s);
    EXPECT_FALSE(form->optOpen());

    form->menuClick(u"mnuOpenFiles"_s);
    EXPECT_FALSE(form->commands.item(u"mnuPrintFiles"_s)->checked);
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
    EXPECT_EQ(shell.starts.size(), 1u);
}

} // namespace
} // namespace corvanta::test
