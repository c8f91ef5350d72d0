#include "filelist/FileListCommands.h"

#include "editor/PointerEditor.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeShell.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class FileListCommandsTest : public FormFixture
{
protected:
    FakeFileDialogs dialogs;
    FakeShell shell;
    QStringList editorPaths; // AddFilePath of each editor shown, in order

    Platform platform() override { return Platform {ui, clock, &shell, &dialogs}; }

    void SetUp() override
    {
        QByteArray eight;
        for (int i = 0; i < 8; ++i)
            eight += "Row" + QByteArray::number(i) + "\t/home/u/r" + QByteArray::number(i) + "\r\n";
        data.write(u"Project.Files"_s, eight);
        start();
    }

    FileListCommands &commands() { return program->fileListCommands(); }
    SharedState &state() { return form->state; }
    QByteArray fileBytes() const { return data.read(u"Project.Files"_s); }
    void select(std::initializer_list<int> rowsToSelect)
    {
        files().setAction(2);
        for (int row : rowsToSelect) {
            files().setRow(row);
            files().setSelected(true);
            files().setListIndex(row);
        }
    }
    // Each add-file editor names its file after the file's own name.
    void nameEachFile()
    {
        ui.onPointerEditor = [this](PointerEditor &e) {
            editorPaths << e.txtInternetAddress.text;
            e.setText(e.txtPointerName, e.txtInternetAddress.text.section(u'/', -1));
            e.cmdSave_Click();
        };
    }
};

// --- removing ---

TEST_F(FileListCommandsTest, removeOneRow_namesItAndRewritesTheFile)
{
    select({6});
    form->run(u"mnuDeleteSelectedFiles"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
        u"You Have Selected - ROW6 - To Be Removed From The File List.     \r"
        "Are You Sure You Want To Remove This File?\r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Remove: Row6"_s);
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    // The default answer is No: nothing changed.
    EXPECT_EQ(files().ListCount(), 8);

    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_EQ(files().ListCount(), 7);
    EXPECT_FALSE(fileBytes().contains("Row6"));
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {6});
    EXPECT_EQ(files().ListIndex(), 6);
    EXPECT_FALSE(form->commands.item(u"mnuPasteInsert"_s)->enabled);
}

TEST_F(FileListCommandsTest, removeFourRows_countsThemInTheQuestion)
{
    select({0, 1, 2, 3});
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_EQ(ui.boxes[0].text,
        u"You Have Selected 4 Files To Be Removed From The File List.     \r"
        "Are You Sure You Want To Remove These Files?\r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Remove Files"_s);
    EXPECT_EQ(rows(files()).first(), u"Row4\t/home/u/r4"_s);
}

TEST_F(FileListCommandsTest, removeWithNothingSelected_asksAboutZeroAndKeepsAFileChangedOnDisk)
{
    select({});
    data.write(u"Project.Files"_s, "Row0\t/home/u/r0\nRow1\t/b\n"); // differs from the list
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"You Have Selected 0 Files"_s));
    // The rewrite would replace what another program wrote: refused, and the list shows the file.
    EXPECT_EQ(ui.boxes.back().title, u" List Changed On Disk"_s);
    EXPECT_EQ(fileBytes(), QByteArray("Row0\t/home/u/r0\nRow1\t/b\n"));
    EXPECT_EQ(rows(files()), (QStringList{u"Row0\t/home/u/r0"_s, u"Row1\t/b"_s}));
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {0});
}

TEST_F(FileListCommandsTest, removeRowsTwoAndFiveOfEight_selectsTheRowThatMovedUp)
{
    select({2, 5});
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_EQ(files().ListCount(), 6);
    EXPECT_EQ(fileBytes(),
        QByteArray("Row0\t/home/u/r0\r\nRow1\t/home/u/r1\r\nRow3\t/home/u/r3\r\n"
                   "Row4\t/home/u/r4\r\nRow6\t/home/u/r6\r\nRow7\t/home/u/r7\r\n"));
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {2});
    EXPECT_EQ(files().columnText(2, 0), u"Row3"_s);
}

TEST_F(FileListCommandsTest, removeTheLastRows_selectsTheNewLastRow)
{
    select({6, 7});
    ui.answers = {MsgBox::Yes};
    int key = Key::Delete;
    int shift = 0;
    nav().lstFileList_KeyDown(key, shift);
    EXPECT_EQ(files().ListCount(), 6);
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {5});
    EXPECT_EQ(files().ListIndex(), 5);
}

// --- renaming and editing ---

TEST_F(FileListCommandsTest, renameWhileSorted_isRefusedEvenWithASelection)
{
    select({1});
    state().FileSort = SortOrder::Ascending;
    form->run(u"mnuRenameSelectedFiles"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
        u"You Must Sort The File List Using The 'No Sort'     \r"
        "Option Before You Rename a File List Item."_s);
    EXPECT_EQ(ui.boxes[0].title, u" Resort File List"_s);
    EXPECT_EQ(ui.pointerEditors, 0);
}

TEST_F(FileListCommandsTest, renameAndEditWithNothingSelected_sayWhatIsMissing)
{
    state().FileSort = SortOrder::None;
    select({});
    form->run(u"mnuRenameSelectedFiles"_s);
    form->run(u"EditFileData"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, u"No File Has Been Selected To Rename.     \r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Must Select A File To Rename"_s);
    EXPECT_EQ(ui.boxes[1].text, u"No File Has Been Selected To Edit.     \r"_s);
    EXPECT_EQ(ui.boxes[1].title, u" Must Select A File To Edit"_s);
    EXPECT_EQ(ui.pointerEditors, 0);
}

TEST_F(FileListCommandsTest, rename_writesTheRowAndRefocusesTheFileList)
{
    state().FileSort = SortOrder::None;
    select({7});
    form->giveFocus(&files());
    ui.onPointerEditor = [](PointerEditor &e) {
        EXPECT_EQ(e.mode(), EditorMode::RenameFile);
        e.setText(e.txtPointerName, u"Seven"_s);
        e.cmdSave_Click();
    };
    form->run(u"mnuRenameSelectedFiles"_s);
    EXPECT_EQ(files().rowText(7), u"Seven\t/home/u/r7"_s);
    EXPECT_TRUE(fileBytes().endsWith("Seven\t/home/u/r7\r\n"));
    EXPECT_EQ(state().DialogText, u"Seven\t/home/u/r7"_s);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {7});
}

TEST_F(FileListCommandsTest, commandSurfaces_openTheEditorInTheirModes)
{
    select({0});
    QList<EditorMode> modes;
    ui.onPointerEditor = [&modes](PointerEditor &e) { modes << e.mode(); };
    int key = Key::F7;
    form->Form_KeyDown(key, Key::ShiftMask);
    key = Key::F8;
    form->Form_KeyDown(key, 0);
    key = Key::F3;
    form->Form_KeyDown(key, 0);
    form->toolbarButtonClick(u"UtilityForm"_s);
    form->toolbarButtonClick(u"AddEmail"_s);
    form->toolbarButtonClick(u"EditFileData"_s);
    form->toolbarEntryClick(u"Add Website To File List"_s);
    form->toolbarEntryClick(u"Edit FileData"_s);
    for (const char *item : {"mnuAddWebsite", "mnuAddEmailAddress", "mnuEditFileData",
             "mnuEditFileData2", "mnuAddWebsiteAddress", "mnuAddEmail"})
        form->menuClick(QString::fromLatin1(item));
    EXPECT_EQ(modes,
        (QList<EditorMode> {EditorMode::Website, EditorMode::Email, EditorMode::EditFile,
            EditorMode::Website, EditorMode::Email, EditorMode::EditFile, EditorMode::Website,
            EditorMode::EditFile, EditorMode::Website, EditorMode::Email, EditorMode::EditFile,
            EditorMode::EditFile, EditorMode::Website, EditorMode::Email}));
}

// --- adding and opening files by dialog ---

TEST_F(FileListCommandsTest, cancellingTheFirstAddDialog_changesNothing)
{
    select({3});
    form->giveFocus(&projects());
    form->run(u"mnuAddFile"_s);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const OpenFileRequest &r = dialogs.requests[0];
    EXPECT_EQ(r.initialFolder, QDir::homePath());
    EXPECT_TRUE(r.fileName.isEmpty());
    ASSERT_EQ(r.filters.size(), 5);
    EXPECT_EQ(r.filters[0], (FileFilter {u"All Files (*.*)"_s, u"*"_s}));
    EXPECT_EQ(r.filters[2], (FileFilter {u"Pictures (*.bmp;*.ico)"_s, u"*.bmp *.ico"_s}));
    EXPECT_EQ(r.filters[4], (FileFilter {u"Programs (*)"_s, u"*"_s}));
    EXPECT_EQ(ui.pointerEditors, 0);
    EXPECT_TRUE(projects().hasFocus());
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {3});
}

TEST_F(FileListCommandsTest, addFiles_opensOneEditorPerFileUntilTheDialogIsCancelled)
{
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    select({2});
    nameEachFile();
    dialogs.choices = {{u"/home/u/a.txt"_s, u"/home/u/b.txt"_s}, {u" /home/u/c.txt "_s}};
    int key = Key::F6;
    form->Form_KeyDown(key, 0);
    EXPECT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(dialogs.requests[1].fileName, u"/home/u/b.txt"_s);
    EXPECT_EQ(
        editorPaths, (QStringList {u"/home/u/a.txt"_s, u"/home/u/b.txt"_s, u"/home/u/c.txt"_s}));
    // One dialog's files go in at the selected row in the order chosen; the next dialog's go
    // in at the row then selected, the last one added.
    EXPECT_EQ(files().rowText(2), u"a.txt\t/home/u/a.txt"_s);
    EXPECT_EQ(files().rowText(3), u"c.txt\t/home/u/c.txt"_s);
    EXPECT_EQ(files().rowText(4), u"b.txt\t/home/u/b.txt"_s);
    EXPECT_EQ(files().rowText(5), u"Row2\t/home/u/r2"_s);
    EXPECT_TRUE(fileBytes().contains(
        "a.txt\t/home/u/a.txt\r\nc.txt\t/home/u/c.txt\r\nb.txt\t/home/u/b.txt\r\n"));
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(files().ListIndex(), 3);
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {3});
}

TEST_F(FileListCommandsTest, cancelAllInTheFirstOfTwoFiles_skipsTheSecond)
{
    dialogs.choices = {{u"/home/u/a.txt"_s, u"/home/u/b.txt"_s}};
    ui.onPointerEditor = [this](PointerEditor &e) {
        editorPaths << e.txtInternetAddress.text;
        EXPECT_TRUE(e.optCancelAll.enabled);
        e.optCancelAll_Click();
        e.cmdExit_Click();
    };
    form->run(u"AddFileToFileList"_s);
    EXPECT_EQ(editorPaths, QStringList {u"/home/u/a.txt"_s});
    EXPECT_EQ(files().ListCount(), 8);
}

TEST_F(FileListCommandsTest, droppedFiles_goToTheDropRowOrToTheEnd)
{
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    nameEachFile();
    commands().addDroppedFiles({u"/home/u/x.txt"_s, u"/home/u/y.txt"_s}, 1);
    EXPECT_EQ(files().rowText(1), u"x.txt\t/home/u/x.txt"_s);
    EXPECT_EQ(files().rowText(2), u"y.txt\t/home/u/y.txt"_s);
    commands().addDroppedFiles({u"/home/u/z.txt"_s}, -1);
    EXPECT_EQ(files().rowText(files().ListCount() - 1), u"z.txt\t/home/u/z.txt"_s);
    setIni(u"Option"_s, u"InsertName"_s, u"False"_s);
    commands().addDroppedFiles({u"/home/u/w.txt"_s}, 0);
    EXPECT_EQ(files().rowText(files().ListCount() - 1), u"w.txt\t/home/u/w.txt"_s);
    EXPECT_EQ(files().ListCount(), 12);
}

TEST_F(FileListCommandsTest, openFileByDialog_opensEveryChosenFileEvenInPrintMode)
{
    form->setOptOpen(false);
    dialogs.choices = {{data.file(u"a.txt"_s), data.file(u"b.txt"_s)}};
    form->toolbarEntryClick(u"Open File"_s);
    EXPECT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].filters, (QList<FileFilter> {{u"All Files (*.*)"_s, u"*"_s}}));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].verb, u"open"_s);
    EXPECT_EQ(shell.targets(), (QStringList {data.file(u"a.txt"_s), data.file(u"b.txt"_s)}));
    EXPECT_EQ(files().ListCount(), 8);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(FileListCommandsTest, fileDialogs_startAtHomeThenWhereTheLastOneWasLeft)
{
    // Never in the data folder, which is hidden; the last folder is kept across both dialogs.
    dialogs.choices = {{u"/srv/papers/a.pdf"_s}};
    form->toolbarEntryClick(u"Open File"_s);
    nameEachFile();
    dialogs.choices = {{u"/srv/papers/old/b.pdf"_s}};
    form->run(u"AddFileToFileList"_s);
    form->toolbarEntryClick(u"Open File"_s);
    QStringList starts;
    for (const OpenFileRequest &r : dialogs.requests)
        starts << r.initialFolder;
    EXPECT_EQ(starts, (QStringList {QDir::homePath(), u"/srv/papers"_s, u"/srv/papers"_s,
                                    u"/srv/papers"_s, u"/srv/papers/old"_s}));
}

TEST_F(FileListCommandsTest, duplicateFileNameCheck_ignoresLetterCase)
{
    EXPECT_TRUE(commands().CheckDuplicateFileName(u"ROW3"_s));
    EXPECT_EQ(ui.lastBox()->text,
        u"You Have Selected A Duplicate Filename.     \rROW3 Is Already On File.\r"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Duplicate Filename: ROW3"_s);
    EXPECT_FALSE(commands().CheckDuplicateFileName(u"row9"_s));
}

// --- the popup and the selection ---

TEST_F(FileListCommandsTest, rightClickBelowTheRows_usesRowZero)
{
    select({});
    files().setListIndex(-1);
    files().userMouseDown(-1, Mouse::Right, 0);
    ASSERT_FALSE(ui.popups.empty());
    EXPECT_EQ(ui.popups.back(), u"mnuPopupFiles"_s);
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row0"_s);
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {0});
    EXPECT_TRUE(files().hasFocus());
}

TEST_F(FileListCommandsTest, rightClickOnAnUnselectedRow_makesItCurrentAndTitlesThePopup)
{
    select({0, 1, 2});
    bool suppressed = false;
    ui.onPopup = [&](const QString &) { suppressed = state().SuppressListClick; };
    files().userMouseDown(5, Mouse::Right, 0);
    EXPECT_TRUE(suppressed);
    EXPECT_FALSE(state().SuppressListClick);
    EXPECT_EQ(state().LaunchStatus, u"5"_s);
    EXPECT_EQ(files().ListIndex(), 5);
    EXPECT_EQ(selectedRows(form->lstFileList), (QList<int> {0, 1, 2, 5}));
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row5"_s);
    EXPECT_FALSE(form->commands.item(u"mnuPasteProjectRow"_s)->enabled);
}

TEST_F(FileListCommandsTest, popupOnAnEmptyList_disablesThePointerItemsUntilTheNextFilledOne)
{
    files().clear();
    files().userMouseDown(-1, Mouse::Left, 0);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(ui.popups.empty());
    files().userMouseDown(-1, Mouse::Right, 0);
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"No Files In File List"_s);
    for (const char *item :
        {"mnuOpenWith", "mnuSelectAllFiles", "mnuDeleteSelectedFiles", "mnuSelectFileFont"})
        EXPECT_FALSE(form->commands.item(QString::fromLatin1(item))->enabled) << item;
    EXPECT_TRUE(form->commands.item(u"mnuAddFileToFileList"_s)->enabled);

    form->run(u"LoadEntryScreen"_s);
    files().userMouseDown(0, Mouse::Right, 0);
    for (const char *item :
        {"mnuOpenWith", "mnuSelectAllFiles", "mnuDeleteSelectedFiles", "mnuSelectFileFont"})
        EXPECT_TRUE(form->commands.item(QString::fromLatin1(item))->enabled) << item;
}

TEST_F(FileListCommandsTest, chooseProgramFromThePopup_keepsTheFocusAway)
{
    ui.onPopup = [this](const QString &) { state().LaunchStatus = u"openwith"_s; };
    files().userMouseDown(2, Mouse::Right, 0);
    EXPECT_FALSE(files().hasFocus());
}

TEST_F(FileListCommandsTest, selectAllAndUnselectAll_actOnTheFileList)
{
    form->giveFocus(&projects());
    form->run(u"mnuSelectAllFiles"_s);
    EXPECT_EQ(files().SelCount(), 8);
    EXPECT_EQ(files().ListIndex(), 7);
    EXPECT_TRUE(files().hasFocus());
    form->run(u"mnuUnselectAll"_s);
    EXPECT_EQ(files().SelCount(), 0);
}

} // namespace
} // namespace corvanta::test
