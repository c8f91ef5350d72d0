#include "filelist/FileListCommands.h"

#include "editor/PointerEditor.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/DataBuilder.h"
#include "support/FakeFileDialogs.h"
#include "support/FormFixture.h"

#include <fcntl.h>
#include <unistd.h>

namespace corvanta::test {
namespace {

class FileListCommandsTest : public FormFixture
{
protected:
    FakeFileDialogs dialogs;
    QStringList editorPaths; // the file's path in each editor shown, in order

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
    void select(std::initializer_list<int> rowsToSelect, bool adding = false)
    {
        if (!adding)
            files().deselectAll();
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

// The question names one pointer or counts them; Yes removes the selected rows, rewrites the file
// in list order and selects the row where the first removed one stood (the new last row when
// the last ones went).
TEST_F(FileListCommandsTest, remove_asksThenRewritesAndSelectsWhereTheFirstRemovedStood)
{
    const QString many = u"     \rAre You Sure You Want To Remove These Files?\r"_s;
    const QString some = u"Files To Be Removed From The File List."_s + many;
    struct Case {
        QList<int> selected;
        QString text, title;
        const char *left; // the rows that stay, by number
        int selectedAfter;
    };
    const Case cases[] = {
        {{6}, u"You Have Selected - ROW6 - To Be Removed From The File List.     \rAre You Sure You Want To Remove This File?\r"_s,
         u" Remove: Row6"_s, "0123457", 6},
        {{0, 1, 2, 3}, u"You Have Selected 4 "_s + some, u" Remove Files"_s, "4567", 0},
        {{2, 5}, u"You Have Selected 2 "_s + some, u" Remove Files"_s, "013467", 2},
        {{6, 7}, u"You Have Selected 2 "_s + some, u" Remove Files"_s, "012345", 5},
        {{}, u"You Have Selected 0 "_s + some, u" Remove Files"_s, "01234567", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        SetUp();
        select(std::initializer_list<int>{});
        for (int row : c.selected)
            select({row}, true);
        ui.boxes.clear();
        form->run(u"mnuDeleteSelectedFiles"_s); // the default answer: No
        EXPECT_EQ(files().ListCount(), 8);
        ui.answers = {MsgBox::Yes};
        int key = Key::Delete;
        nav().lstFileList_KeyDown(key, 0);
        ASSERT_EQ(ui.boxes.size(), 2u);
        EXPECT_EQ(ui.boxes[0].text, c.text);
        EXPECT_EQ(ui.boxes[0].title, c.title);
        EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
        QByteArray expected;
        for (const char *n = c.left; *n; ++n)
            expected += "Row" + QByteArray(1, *n) + "\t/home/u/r" + QByteArray(1, *n) + "\r\n";
        EXPECT_EQ(fileBytes(), expected);
        EXPECT_EQ(selectedRows(files()), QList<int>{c.selectedAfter});
        EXPECT_EQ(files().ListIndex(), c.selectedAfter);
        EXPECT_FALSE(form->commands.item(u"mnuPasteInsert"_s)->enabled);
    }
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

// --- renaming and editing ---

TEST_F(FileListCommandsTest, renameWhileSorted_isRefusedEvenWithASelection)
{
    select({1});
    state().FileSort = SortOrder::Ascending;
    form->run(u"mnuRenameSelectedFiles"_s);
    expectBoxes(ui, {{u" Resort File List"_s, u"You Must Sort The File List Using The 'No Sort'     \r"
        "Option Before You Rename a File List Item."_s}});
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
    EXPECT_TRUE(dialogs.requests[0].fileName.isEmpty());
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

// A file named like "Cancel All" is a file like any other: the ones after it are added too.
TEST_F(FileListCommandsTest, droppedFiles_goToTheDropRowOrToTheEnd)
{
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    nameEachFile();
    commands().addDroppedFiles({u"/home/u/CancelAllowance.pdf"_s, u"/home/u/y.txt"_s}, 1);
    EXPECT_EQ(files().rowText(1), u"CancelAllowance.pdf\t/home/u/CancelAllowance.pdf"_s);
    EXPECT_EQ(files().rowText(2), u"y.txt\t/home/u/y.txt"_s);
    commands().addDroppedFiles({u"/home/u/z.txt"_s}, -1);
    EXPECT_EQ(files().rowText(files().ListCount() - 1), u"z.txt\t/home/u/z.txt"_s);
    setIni(u"Option"_s, u"InsertName"_s, u"False"_s);
    commands().addDroppedFiles({u"/home/u/w.txt"_s}, 0);
    EXPECT_EQ(files().rowText(files().ListCount() - 1), u"w.txt\t/home/u/w.txt"_s);
    EXPECT_EQ(files().ListCount(), 12);
}

// Names the list format cannot hold are refused, with the reason, whether chosen in the dialog
// or dropped; the good files around them are added.
TEST_F(FileListCommandsTest, namesWithLineBreakOrNotText_areRefusedFromDialogAndDrops)
{
    TempFolder real;
    real.write(u"two\nlines.txt"_s, "x");
    real.write(u"good.txt"_s, "x");
    real.write(u"other.txt"_s, "x");
    const QByteArray raw = QFile::encodeName(real.path()) + "/caf\xE9.txt";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QString broken = real.file(u"two\nlines.txt"_s);
    // What the desktop hands over for it: U+FFFD in place of the byte, naming no file.
    const QString notText = QFile::decodeName(raw);
    ASSERT_TRUE(notText.contains(QChar::ReplacementCharacter));
    ASSERT_FALSE(QFileInfo::exists(notText));
    const QString good = real.file(u"good.txt"_s);
    const QString other = real.file(u"other.txt"_s);

    nameEachFile();
    dialogs.choices = {{broken, notText, good}};
    form->run(u"AddFileToFileList"_s);
    commands().addDroppedFiles({broken, other}, -1);
    ::unlink(raw.constData()); // Qt cannot name it to clean up
    EXPECT_EQ(editorPaths, (QStringList{good, other}));
    ASSERT_EQ(ui.boxes.size(), 3u);
    for (const ShownBox &box : ui.boxes) {
        EXPECT_EQ(box.title, u" Cannot Add File"_s);
        EXPECT_EQ(box.flags, MsgBox::OkOnly | MsgBox::Exclamation);
    }
    EXPECT_EQ(ui.boxes[0].text, u"The File  ["_s + real.path()
                                    + u"/two lines.txt]  Cannot Be Added.     \rThe file name holds a line break.\r"_s);
    EXPECT_TRUE(ui.boxes[1].text.endsWith(u"]  Cannot Be Added.     \rThe file name is not valid text.\r"_s));
    EXPECT_FALSE(fileBytes().contains("lines.txt"));
    EXPECT_TRUE(fileBytes().endsWith("good.txt\t" + QFile::encodeName(good) + "\r\nother.txt\t" + QFile::encodeName(other) + "\r\n"));
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

// A right-click below the last row is on no row: the selection stays and the popup offers only
// what needs no row.
TEST_F(FileListCommandsTest, rightClickBelowTheRows_actsOnNoRow)
{
    select({3});
    files().userMouseDown(-1, Mouse::Right, 0);
    ASSERT_FALSE(ui.popups.empty());
    EXPECT_NE(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row0"_s);
    for (const char *item : {"mnuOpenWith", "mnuOpenSelectedFiles", "mnuDeleteSelectedFiles",
                             "mnuRenameSelectedFiles", "mnuEditFileData2", "mnuCutFiles"})
        EXPECT_FALSE(form->commands.item(QString::fromLatin1(item))->enabled) << item;
    EXPECT_TRUE(form->commands.item(u"mnuSelectAllFiles"_s)->enabled);
    EXPECT_EQ(selectedRows(files()), QList<int> {3});
    files().userMouseDown(4, Mouse::Right, 0);
    EXPECT_TRUE(form->commands.item(u"mnuDeleteSelectedFiles"_s)->enabled);
}

// A right-click on a row not selected makes it the only selection, as the popup's title says; on
// a selected row the selection stays.
TEST_F(FileListCommandsTest, rightClick_selectsAsTheTitleSays)
{
    select({0, 1, 2});
    bool suppressed = false;
    ui.onPopup = [&](const QString &) { suppressed = state().SuppressListClick; };
    files().userMouseDown(1, Mouse::Right, 0);
    EXPECT_EQ(selectedRows(files()), (QList<int> {0, 1, 2}));
    files().userMouseDown(5, Mouse::Right, 0);
    EXPECT_TRUE(suppressed);
    EXPECT_FALSE(state().SuppressListClick);
    EXPECT_EQ(files().ListIndex(), 5);
    EXPECT_EQ(selectedRows(files()), QList<int> {5});
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row5"_s);
    EXPECT_FALSE(form->commands.item(u"mnuPasteProjectRow"_s)->enabled);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteSelectedFiles"_s);
    EXPECT_EQ(files().ListCount(), 7);
    EXPECT_FALSE(fileBytes().contains("Row5"));
}

// The popup key titles the popup with the current row and leaves the selection as it was.
TEST_F(FileListCommandsTest, popupKey_keepsTheSelectionAndTitlesTheCurrentRow)
{
    select({0, 1});
    files().setListIndex(5);
    files().userPopupKey();
    ASSERT_FALSE(ui.popups.empty());
    EXPECT_EQ(selectedRows(files()), (QList<int> {0, 1}));
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row5"_s);
    EXPECT_TRUE(form->commands.item(u"mnuCutFiles"_s)->enabled);
}

// With one row selected and the cursor on another, Edit, Rename and Enter act on the selected row.
TEST_F(FileListCommandsTest, oneSelectedRow_isTheRowCommandsActOn)
{
    state().FileSort = SortOrder::None;
    files().userMouseDown(1, Mouse::Left, 0);
    files().userMouseDown(3, Mouse::Left, Key::CtrlMask);
    files().userMouseDown(3, Mouse::Left, Key::CtrlMask);
    ASSERT_EQ(selectedRows(files()), QList<int> {1});
    ASSERT_EQ(files().ListIndex(), 3);
    QStringList shown;
    ui.onPointerEditor = [&shown](PointerEditor &e) { shown << e.txtPointerName.text; };
    form->run(u"EditFileData"_s);
    form->run(u"mnuRenameSelectedFiles"_s);
    EXPECT_EQ(shown, (QStringList {u"Row1"_s, u"Row1"_s}));
    files().setListIndex(3);
    files().userKeyDown(Key::Return, 0);
    EXPECT_EQ(shell.targets(), QStringList {u"/home/u/r1"_s});
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
    ui.onPopup = [this](const QString &) {
        form->run(u"mnuSelectProgram"_s);
        form->giveFocus(nullptr); // the program chosen has it now
    };
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
