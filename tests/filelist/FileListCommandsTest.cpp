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

    SharedState &state() { return form->state; }
    QByteArray fileBytes() const { return data.read(u"Project.Files"_s); }
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

// The question names one pointer or counts them; No keeps them all, Yes removes the selected rows
// and selects the row where the first removed one stood (the new last row when the last went).
TEST_F(FileListCommandsTest, remove_asksThenRewritesAndSelectsWhereTheFirstRemovedStood)
{
    const QString some =
        u"Files To Be Removed From The File List.     \rAre You Sure You Want To Remove These Files?\r"_s;
    struct Case
    {
        QList<int> selected;
        QString text, title;
        int left, selectedAfter;
    };
    const Case cases[] = {
        {{6},
            u"You Have Selected - ROW6 - To Be Removed From The File List.     \rAre You Sure You Want To Remove This File?\r"_s,
            u" Remove: Row6"_s, 7, 6},
        {{2, 5}, u"You Have Selected 2 "_s + some, u" Remove Files"_s, 6, 2},
        {{6, 7}, u"You Have Selected 2 "_s + some, u" Remove Files"_s, 6, 5},
        {{}, u"You Have Selected 0 "_s + some, u" Remove Files"_s, 8, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        SetUp();
        select(c.selected);
        ui.boxes.clear();
        form->run(u"mnuDeleteSelectedFiles"_s); // the default answer: No
        EXPECT_EQ(files().ListCount(), 8);
        ui.answers = {MsgBox::Yes};
        int key = Key::Delete;
        nav().lstFileList_KeyDown(key, 0);
        expectBoxes(ui, {{c.title, c.text}, {c.title, c.text}});
        EXPECT_EQ(ui.lastBox()->flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
        EXPECT_EQ(fileBytes().count("\r\n"), c.left);
        EXPECT_EQ(selectedRows(files()), QList<int> {c.selectedAfter});
        EXPECT_EQ(files().ListIndex(), c.selectedAfter);
    }
}

TEST_F(FileListCommandsTest, renameOrEditWithoutARowOrWhileSorted_isRefused)
{
    select({});
    form->run(u"mnuRenameSelectedFiles"_s);
    form->run(u"EditFileData"_s);
    select({1});
    state().FileSort = SortOrder::Ascending;
    form->run(u"mnuRenameSelectedFiles"_s);
    expectBoxes(ui,
        {{u" Must Select A File To Rename"_s, u"No File Has Been Selected To Rename.     \r"_s},
            {u" Must Select A File To Edit"_s, u"No File Has Been Selected To Edit.     \r"_s},
            {u" Resort File List"_s,
                u"You Must Sort The File List Using The 'No Sort'     \r"
                "Option Before You Rename a File List Item."_s}});
    EXPECT_EQ(ui.pointerEditors, 0);
}

// One dialog's files go in at the selected row in the order chosen, the next dialog's at the row
// then selected, the last one added; Cancel All in an editor skips the files after it.
TEST_F(FileListCommandsTest, addedOrDroppedFiles_goInAtTheirRow_oneEditorEachUntilCancelled)
{
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    select({2});
    nameEachFile();
    dialogs.choices = {{u"/home/u/a.txt"_s, u"/home/u/b.txt"_s}, {u" /home/u/c.txt "_s}};
    int key = Key::F6;
    form->Form_KeyDown(key, 0);
    EXPECT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(
        editorPaths, (QStringList {u"/home/u/a.txt"_s, u"/home/u/b.txt"_s, u"/home/u/c.txt"_s}));
    EXPECT_TRUE(fileBytes().contains("Row1\t/home/u/r1\r\na.txt\t/home/u/a.txt\r\n"
                                     "c.txt\t/home/u/c.txt\r\nb.txt\t/home/u/b.txt\r\nRow2\t"));
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(selectedRows(files()), QList<int> {3});

    editorPaths.clear();
    dialogs.choices = {{u"/home/u/d.txt"_s, u"/home/u/e.txt"_s}};
    ui.onPointerEditor = [this](PointerEditor &e) {
        editorPaths << e.txtInternetAddress.text;
        e.optCancelAll_Click();
        e.cmdExit_Click();
    };
    form->run(u"AddFileToFileList"_s);
    EXPECT_EQ(editorPaths, QStringList {u"/home/u/d.txt"_s});
    EXPECT_EQ(files().ListCount(), 11);

    // Dropped files go in at the drop row or at the end; "Cancel All" in a name is no answer.
    nameEachFile();
    program->fileListCommands().addDroppedFiles(
        {u"/home/u/CancelAllowance.pdf"_s, u"/home/u/y.txt"_s}, 1);
    program->fileListCommands().addDroppedFiles({u"/home/u/z.txt"_s}, -1);
    setIni(u"Option"_s, u"InsertName"_s, u"False"_s);
    program->fileListCommands().addDroppedFiles({u"/home/u/w.txt"_s}, 0);
    const QStringList shown = rows(files());
    EXPECT_EQ(shown.mid(1, 2),
        (QStringList {
            u"CancelAllowance.pdf\t/home/u/CancelAllowance.pdf"_s, u"y.txt\t/home/u/y.txt"_s}));
    EXPECT_EQ(shown.mid(13), (QStringList {u"z.txt\t/home/u/z.txt"_s, u"w.txt\t/home/u/w.txt"_s}));
}

// Refused with the reason; the good files around them are added.
TEST_F(FileListCommandsTest, namesWithLineBreakOrNotText_areRefusedFromDialogAndDrops)
{
    TempFolder real;
    for (const QString &name : {u"two\nlines.txt"_s, u"good.txt"_s, u"other.txt"_s})
        real.write(name, "x");
    const QByteArray raw = QFile::encodeName(real.path()) + "/caf\xE9.txt";
    ::close(::open(raw.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    const QString broken = real.file(u"two\nlines.txt"_s);
    // What the desktop hands over for it: U+FFFD in place of the byte, naming no file.
    const QString notText = QFile::decodeName(raw);
    ASSERT_FALSE(QFileInfo::exists(notText));
    const QString good = real.file(u"good.txt"_s), other = real.file(u"other.txt"_s);

    nameEachFile();
    dialogs.choices = {{broken, notText, good}};
    form->run(u"AddFileToFileList"_s);
    program->fileListCommands().addDroppedFiles({broken, other}, -1);
    ::unlink(raw.constData()); // Qt cannot name it to clean up
    EXPECT_EQ(editorPaths, (QStringList {good, other}));
    const QString lineBreak = u"The File  ["_s + real.path()
        + u"/two lines.txt]  Cannot Be Added.     \rThe file name holds a line break.\r"_s;
    expectBoxes(ui,
        {{u" Cannot Add File"_s, lineBreak}, {u" Cannot Add File"_s, u"The File  [..."_s},
            {u" Cannot Add File"_s, lineBreak}});
    EXPECT_TRUE(ui.boxes[1].text.endsWith(
        u"]  Cannot Be Added.     \rThe file name is not valid text.\r"_s));
    EXPECT_TRUE(fileBytes().endsWith("\t/home/u/r7\r\ngood.txt\t" + QFile::encodeName(good)
        + "\r\nother.txt\t" + QFile::encodeName(other) + "\r\n"));
}

// Open File opens every chosen file, in Print mode too; the dialogs start at home, never in the
// hidden data folder, then where the last one of either kind was left.
TEST_F(FileListCommandsTest, openFileByDialog_opensEveryChosenFileAndDialogsKeepTheirFolder)
{
    form->setOptOpen(false);
    dialogs.choices = {{u"/srv/papers/a.pdf"_s, u"/srv/papers/b.pdf"_s}};
    form->toolbarEntryClick(u"Open File"_s);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].verb, u"open"_s);
    EXPECT_EQ(shell.targets(), (QStringList {u"/srv/papers/a.pdf"_s, u"/srv/papers/b.pdf"_s}));
    nameEachFile();
    dialogs.choices = {{u"/srv/papers/old/b.pdf"_s}};
    form->run(u"AddFileToFileList"_s);
    form->toolbarEntryClick(u"Open File"_s);
    QStringList starts;
    for (const OpenFileRequest &r : dialogs.requests)
        starts << r.initialFolder;
    EXPECT_EQ(starts,
        (QStringList {QDir::homePath(), u"/srv/papers"_s, u"/srv/papers"_s, u"/srv/papers"_s,
            u"/srv/papers/old"_s}));
}

// A right-click on a row not selected makes it the only selection; below the last row the popup
// offers only what needs no row. The popup key keeps the selection and titles the current row.
TEST_F(FileListCommandsTest, rightClickPopupKeyAndCommands_actOnTheRowsAsSelected)
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

    files().userMouseDown(-1, Mouse::Right, 0);
    EXPECT_NE(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row5"_s);
    for (const char *item : {"mnuOpenWith", "mnuDeleteSelectedFiles", "mnuCutFiles"})
        EXPECT_FALSE(enabled(item)) << item;
    EXPECT_TRUE(enabled("mnuSelectAllFiles"));
    EXPECT_EQ(selectedRows(files()), QList<int> {5});

    select({0, 1});
    files().setListIndex(6);
    files().userPopupKey();
    EXPECT_EQ(selectedRows(files()), (QList<int> {0, 1}));
    EXPECT_EQ(form->commands.item(u"mnuPopupMenuTitle"_s)->caption, u"Row6"_s);
    EXPECT_TRUE(enabled("mnuCutFiles"));

    // One row selected, the cursor on another: Edit, Rename and Enter act on the selected row.
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

} // namespace
} // namespace corvanta::test
