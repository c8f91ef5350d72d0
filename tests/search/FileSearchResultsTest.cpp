#include "FileSearchFixture.h"
#include "support/DataBuilder.h"

namespace corvanta::test {
namespace {

using Change = FileSearch::Change;
using Control = FileSearch::Control;

class FileSearchResultsTest : public FileSearchFixture
{
protected:
    struct EditorCall
    {
        QString path;
        EditorMode mode = EditorMode::Website;
        int resultsSelected = -1; // as the editor sees them, to offer "Cancel All Selections"
    };
    std::vector<EditorCall> editorCalls;
    // Each editor's outcome in turn; Saved appends a pointer. None left: Saved.
    std::deque<EditorResult::Outcome> editorAnswers;

    // The pointer editor, played: it saves the file as a pointer or hands back its outcome.
    struct ScriptedEditors final : Editors
    {
        FileSearchResultsTest &test;
        explicit ScriptedEditors(FileSearchResultsTest &t) : test(t) { }
        EditorResult showEditor(const EditorRequest &request) override
        {
            test.editorCalls.push_back({request.addFilePath, request.mode, request.addSelections});
            auto &answers = test.editorAnswers;
            const EditorResult::Outcome answer = answers.empty() ? EditorResult::Outcome::Saved : answers.front();
            if (!answers.empty())
                answers.pop_front();
            if (answer == EditorResult::Outcome::Saved)
                test.files().addRow(u"name\t"_s + request.addFilePath);
            EditorResult result;
            result.outcome = answer;
            result.name = u"name"_s;
            return result;
        }
    } scripted {*this};

    void SetUp() override
    {
        editors = &scripted;
        FileSearchFixture::SetUp();
        open();
    }

    void rightClick(int row) { results().userMouseDown(row, Mouse::Right, 0); }
};

TEST_F(FileSearchResultsTest, threeSelectedResults_cancelAllOnTheSecondKeepsTheFirstAndUnselectsAll)
{
    fill(4);
    select({0, 2, 3});
    editorAnswers = {EditorResult::Outcome::Saved, EditorResult::Outcome::CancelAll};

    search->AddResultsToFileList();

    ASSERT_EQ(editorCalls.size(), 2u);
    EXPECT_EQ(editorCalls[0].path, u"/data/file0.txt"_s);
    EXPECT_EQ(editorCalls[0].mode, EditorMode::AddFile);
    EXPECT_EQ(editorCalls[1].path, u"/data/file2.txt"_s);
    // The editor offers "Cancel All Selections" while more than one result is selected.
    EXPECT_EQ(editorCalls[0].resultsSelected, 3);
    EXPECT_EQ(editorCalls[1].resultsSelected, 2);
    EXPECT_EQ(rows(files()), QStringList {u"name\t/data/file0.txt"_s});
    EXPECT_EQ(results().SelCount(), 0);
    EXPECT_EQ(search->focus(), Control::LstFileSearch);
}

TEST_F(FileSearchResultsTest, everySelectedResult_getsItsOwnEditorInListOrder)
{
    fill(3);
    select({2, 0, 1});
    results().setListIndex(1);
    editorAnswers = {EditorResult::Outcome::Saved, EditorResult::Outcome::Cancelled, EditorResult::Outcome::Saved};

    int key = Key::Return;
    results().userKeyDown(key, 0);

    ASSERT_EQ(editorCalls.size(), 3u);
    EXPECT_EQ(editorCalls[2].resultsSelected, 1);
    EXPECT_EQ(
        rows(files()), (QStringList {u"name\t/data/file0.txt"_s, u"name\t/data/file2.txt"_s}));
    // The current row ends selected again, and the list has the focus.
    EXPECT_EQ(results().SelCount(), 1);
    EXPECT_TRUE(results().isSelected(1));
    EXPECT_EQ(search->focus(), Control::LstFileSearch);
}

// A found file whose name the list format cannot hold is listed, but refused when added; the
// other selected results go on to their editors.
TEST_F(FileSearchResultsTest, resultsWithLineBreakOrNotText_areListedButRefusedWhenAdded)
{
    results().addRow(u"/data/two\rlines.txt"_s);
    results().addRow(u"/data/fine.txt"_s);
    results().addRow(u"/data/caf\uFFFD.txt"_s); // as a name of invalid bytes reaches the list
    select({0, 1, 2});
    search->AddResultsToFileList();
    ASSERT_EQ(editorCalls.size(), 1u);
    EXPECT_EQ(editorCalls[0].path, u"/data/fine.txt"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Cannot Add File"_s);
    EXPECT_EQ(ui.boxes[0].text,
        u"The File  [/data/two lines.txt]  Cannot Be Added.     \rThe file name holds a line break.\r"_s);
    EXPECT_TRUE(ui.boxes[1].text.endsWith(u"The file name is not valid text.\r"_s));
    EXPECT_EQ(results().ListCount(), 3);
    EXPECT_EQ(rows(files()), QStringList{u"name\t/data/fine.txt"_s});
}

TEST_F(FileSearchResultsTest, actionsOnAnEmptyList_beepAndReturnToTheText)
{
    results().userDoubleClick(-1);
    EXPECT_EQ(ui.beeps, 1);
    rightClick(-1);
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_EQ(count(Change::Popup), 0);
    search->AddResultsToFileList();
    EXPECT_EQ(ui.beeps, 3);
    EXPECT_TRUE(editorCalls.empty());
    EXPECT_EQ(search->focus(), Control::TxtFileSearch);
}

TEST_F(FileSearchResultsTest, rightClick_addsTheRowToTheSelectionAndBelowTheRowsAddressesTheLast)
{
    fill(3);
    select({0});
    results().setListIndex(0);

    rightClick(-1);
    EXPECT_EQ(results().Row(), 2);
    EXPECT_EQ(results().ListIndex(), 2);
    EXPECT_TRUE(results().isSelected(0));
    EXPECT_TRUE(results().isSelected(2));
    EXPECT_EQ(count(Change::Popup), 1);
    EXPECT_EQ(search->menuItem(u"mnuNameFile"_s)->caption, u"Add Files To File List"_s);

    // A selected row stays as it is, the current row too.
    rightClick(0);
    EXPECT_EQ(results().Row(), 0);
    EXPECT_EQ(results().ListIndex(), 2);
    EXPECT_EQ(results().SelCount(), 2);

    results().deselectAll();
    rightClick(1);
    EXPECT_EQ(search->menuItem(u"mnuNameFile"_s)->caption, u"Add File To File List"_s);
}

TEST_F(FileSearchResultsTest, popupItems_runTheirActions)
{
    fill(3);
    search->onChanged = [this](Change c) {
        if (c == Change::Popup)
            search->menuClick(u"mnuSelectAll"_s);
    };
    rightClick(1);
    EXPECT_EQ(results().SelCount(), 3);

    search->menuClick(u"mnuUnselectAll"_s);
    EXPECT_EQ(results().SelCount(), 0);

    rightClick(1);
    search->menuClick(u"mnuFileLaunch"_s);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target(), u"/data/file1.txt"_s);
    EXPECT_EQ(shell.calls[0].verb, u"open"_s);
}

TEST_F(FileSearchResultsTest, mouseMove_showsTheRowUnderThePointerAsTooltip)
{
    fill(2);
    results().userMouseMove(1, 0, 0);
    EXPECT_EQ(results().toolTip(), u"/data/file1.txt"_s);
    results().userMouseMove(-1, 0, 0);
    EXPECT_EQ(results().toolTip(), QString());
}

TEST_F(FileSearchResultsTest, copyPath_putsOnlyTheCurrentRowOnTheClipboard)
{
    fill(3);
    select({0, 2});
    results().setListIndex(2);
    clipboard.content = u"old"_s;

    search->menuClick(u"mnuCopyFile"_s);

    EXPECT_EQ(clipboard.content, u"/data/file2.txt"_s);
}

TEST_F(FileSearchResultsTest, removeSelected_asksThenTakesRowsOutOfTheListOnly)
{
    fill(4);
    select({1, 2});
    ui.answers = {MsgBox::No};
    search->RemoveSearchResults();
    ASSERT_TRUE(boxesShown(ui, {{u" Remove Selected Files From This List?"_s, u"This Option Removes All Selected Files From This Search List.     \r"
        u"This Option Will NOT Delete, Move Or Alter Any File In Any Manner.     \r"
        u"The Selected Files Will Be Removed But Will Not Be Deleted Or Altered.     \r\r"
        u"Do You Want To Remove All Selected Files From This List?     \r"_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    EXPECT_EQ(results().ListCount(), 4);

    ui.answers = {MsgBox::Yes};
    search->RemoveSearchResults();
    EXPECT_EQ(rows(results()), (QStringList {u"/data/file0.txt"_s, u"/data/file3.txt"_s}));
    EXPECT_EQ(results().ListIndex(), 1);
    EXPECT_TRUE(results().isSelected(1));
    EXPECT_EQ(search->caption(), u"2 Files"_s);

    results().selectAll();
    ui.answers = {MsgBox::Yes};
    search->RemoveSearchResults();
    EXPECT_EQ(results().ListCount(), 0);
    EXPECT_EQ(search->caption(), u"0 Files"_s);
}

TEST_F(FileSearchResultsTest, print_asksAboutPagesFrom660RowsOn)
{
    fill(659);
    search->PrintSearchResults();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(printer.dialogs, 1);

    results().addRow(u"/data/one-more.txt"_s);
    ui.answers = {MsgBox::No};
    search->PrintSearchResults();
    ASSERT_TRUE(boxesShown(ui, {{u" 11 Page Printout"_s, u"This Printout Will Print Approximately 11 Pages. It Is Recommended     \r"
        u"That You Set Your Printer Orientation To Landscape.\r"
        u"Do You Want To Print The Search Results?"_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question);
    EXPECT_EQ(printer.dialogs, 1);
}

TEST_F(FileSearchResultsTest, print_everyRowInTheChosenOrientationOncePerCopy)
{
    fill(2);
    printer.choice = {PrintFlags::HidePrintToFile, 2, PageOrientation::Landscape};
    search->menuClick(u"mnuPrintSearchResults"_s);
    ASSERT_EQ(printer.documents.size(), 2u);
    for (const PrintedDocument &doc : printer.documents) {
        EXPECT_EQ(doc.orientation, PageOrientation::Landscape);
        EXPECT_TRUE(doc.ended);
        ASSERT_GE(doc.lines.size(), 3u);
        EXPECT_EQ(std::pair(doc.lines[0].column, doc.lines[0].size), std::pair(14, 28.0)); // the title
        EXPECT_EQ(doc.lines[2].column, 3);
    }
    EXPECT_EQ(printer.texts().mid(0, 4), (QStringList {u"Corvanta Search Results"_s, QString(),
                                             u"/data/file0.txt"_s, u"/data/file1.txt"_s}));
}

TEST_F(FileSearchResultsTest, print_onlyTheSelectionWhenTheDialogLeavesExactlyTheSelectionFlag)
{
    fill(3);
    select({0, 2});
    printer.dialogSettings.flags = PrintFlags::HidePrintToFile; // left by an earlier printout
    printer.choice = {PrintFlags::Selection, 1, PageOrientation::Portrait};

    search->PrintSearchResults();

    // This printout sets no flags of its own: the dialog opens as the last one left it.
    EXPECT_EQ(printer.shownWith.flags, PrintFlags::HidePrintToFile);
    EXPECT_EQ(printer.texts(),
        (QStringList {
            u"Corvanta Search Results"_s, QString(), u"/data/file0.txt"_s, u"/data/file2.txt"_s}));

    printer.cancel = true;
    search->PrintSearchResults();
    EXPECT_EQ(printer.documents.size(), 1u);
}

} // namespace
} // namespace corvanta::test
