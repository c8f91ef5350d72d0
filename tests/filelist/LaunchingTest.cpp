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
        data.write(u"Project.Files"_s, " Letter\t/docs/letter.odt \r\nReport\t/docs/report.txt\r\n"
                                       "Report 2\t/docs/report2.txt\r\nSetup\t/apps/SETUP.EXE\r\n"
                                       "Report\t/other/report.txt\r\n");
    }
    void select(std::initializer_list<int> rows)
    {
        for (int row : rows)
            files().userMouseDown(row, 1, row == *rows.begin() ? 0 : Key::CtrlMask);
    }
    void launch() { program->launching().launchSelected(LaunchVerb::Chosen); }
};

// The iterator is reset for the next command; Print mode prints documents, starts programs. The
// optPrint click keeps the keys where they were.
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
    ui.programChoices.push_back(u"viewer %U"_s); // Open With: the current row only
    form->menuClick(u"mnuSelectProgram"_s);
    EXPECT_EQ(ui.chooserTargets, std::vector<QString> {u"/docs/report2.txt"_s});
    EXPECT_EQ(program->launching().openWithCount(), 1);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(shell.starts.size(), 1u);

    shell.calls.clear();
    form->state.ActiveList = ActiveList::Topics;
    form->run(u"optPrint_Click"_s);
    EXPECT_TRUE(form->commands.item(u"mnuPrintFiles"_s)->checked);
    EXPECT_TRUE(topics().hasFocus());
    select({1, 3});
    launch();
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].verb, u"print"_s);
    EXPECT_EQ(shell.calls[1].verb, u"Open"_s);
    EXPECT_EQ(shell.calls[1].file, u"SETUP.EXE"_s);

    // The popup's Open and Print act once and leave the mode chosen as it was.
    click(files(), 1);
    files().userKeyDown(Key::O, Key::CtrlMask); // in the File List: the popup's "Open"
    EXPECT_EQ(shell.calls.back().verb, u"open"_s);
    EXPECT_FALSE(form->optOpen());
    form->menuClick(u"mnuOpenFiles"_s);
    EXPECT_FALSE(form->commands.item(u"mnuPrintFiles"_s)->checked);
    form->menuClick(u"mnuPrintSelectedFiles"_s);
    EXPECT_EQ(shell.calls.back().verb, u"print"_s);
    EXPECT_TRUE(form->optOpen());
    EXPECT_EQ(shell.calls.size(), 4u);
}

// The Project List takes the focus; a blank target stops the rows after it.
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

// A missing target asks whether to remove its pointer. Yes removes that line only (not "Report 2",
// which only begins with the name, nor the "Report" pointing elsewhere) and stops the launch; No
// keeps it. The row then in its place, or the new last row, takes the selection.
TEST_F(LaunchingTest, missingTarget_yesRemovesOnlyItsLineAndStops_noKeepsIt)
{
    const QByteArray five = data.read(u"Project.Files"_s);
    const struct
    {
        QByteArray file, line;
        std::initializer_list<int> chosen;
        int answer, launched;
        QList<int> selected; // the last one current
    } cases[] = {
        {five, "Report\t/docs/report.txt\r\n", {0, 1, 2}, MsgBox::Yes, 2, {0, 1}},
        {five, "Report\t/other/report.txt\r\n", {4}, MsgBox::Yes, 1, {3}},
        {five, "Report\t/docs/report.txt\r\n", {1}, MsgBox::No, 1, {1}},
        {"Gone\t/docs/report.txt\r\n", "Gone\t/docs/report.txt\r\n", {0}, MsgBox::Yes, 1, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        data.write(u"Project.Files"_s, c.file);
        start();
        shell.calls.clear();
        ui.boxes.clear();
        const QString missing = QString::fromLatin1(c.line.mid(c.line.indexOf('\t') + 1).trimmed());
        shell.results = {{missing, ShellResult::FileNotFound}};
        ui.answers = {c.answer};
        select(c.chosen);
        launch();
        EXPECT_EQ(shell.calls.size(), size_t(c.launched));
        const QString text = u"The File  [%1]  Was Not Found.\rDo You Want To Remove  [%1]  From "
                             u"File List?     \r"_s;
        expectBoxes(ui, {{u" %1  Not Found"_s.arg(missing), text.arg(missing)}});
        EXPECT_EQ(ui.lastBox()->flags, MsgBox::YesNo | MsgBox::DefaultButton2);
        QByteArray left = c.file;
        if (c.answer == MsgBox::Yes)
            left.replace(c.line, "");
        EXPECT_EQ(data.read(u"Project.Files"_s), left);
        EXPECT_EQ(files().ListCount(), left.count("\r\n"));
        EXPECT_EQ(files().ListIndex(), c.selected.isEmpty() ? -1 : c.selected.last());
        EXPECT_EQ(selectedRows(files()), c.selected);
        EXPECT_EQ(files().NextSel(), c.selected.value(0, -1)); // the iterator starts again
    }
}

} // namespace
} // namespace corvanta::test
#include "support/DataBuilder.h"
