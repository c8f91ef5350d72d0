#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "app/ReopenLast.h"
#include "app/Sorting.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/FakeFileWatcher.h"

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

TEST_F(NavigationTest, entryScreenShowsTheStoredListsTrimmed_enterOrADoubleClickOpensAProject)
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
    // Enter before any click opens the project with the focus frame.
    projects().userKeyDown(Key::Return, 0);
    EXPECT_EQ(form->state.CurrentProject, u"Alpha"_s);

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

class ReopenLastTest : public FormFixture
{
protected:
    QString where() const
    {
        const int row = form->lstFileList.ListIndex();
        return form->state.CurrentProject + u'|' + form->state.CurrentTopic + u'|'
            + (row >= 0 && form->lstFileList.isSelected(row) ? form->lstFileList.rowText(row) : QString());
    }
    bool checked() const { return form->commands.item(u"mnuReopenLast"_s)->checked; }
};

// On, the next start opens the last place, unless its project or topic was deleted meanwhile;
// off (the default, nothing stored), it starts at the entry screen.
TEST_F(ReopenLastTest, onReopensTheLastPlaceThatStillExists_offStartsAtTheEntryScreen)
{
    const struct
    {
        QString project, topic, pointer, edited;
        QByteArray bytes;
        QString reopened;
    } cases[] = {
        {u"Alpha"_s, u"Two"_s, u"B b"_s, {}, {}, u"Alpha|Two|B b\t/b"_s},
        {u"Alpha"_s, u""_s, u""_s, {}, {}, u"Alpha| ...|"_s},
        {u""_s, u"Inbox"_s, u"Scan"_s, {}, {}, u"|Inbox|Scan\t/s"_s},
        {u"Beta"_s, u"Three"_s, u""_s, u"Project.List"_s, "Alpha\r\n", u"||"_s},
        {u"Alpha"_s, u"Two"_s, u"C"_s, u"Projects/Alpha/Alpha.List"_s, "One\r\n", u"Alpha||"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reopened.toStdString());
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox",
            "Projects/Inbox.Files: Scan -> /s", "Projects/Alpha/Alpha.List: One, Two",
            "Projects/Alpha/Two.Files: A -> /a, B b -> /b, C -> /c", "Projects/Beta/Beta.List: Three"});
        start();
        EXPECT_FALSE(checked());
        form->run(u"mnuReopenLast"_s);
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"True"_s);
        (void)form->navigation().openPlace({c.project, c.topic, c.pointer});
        form->Form_Unload();
        if (!c.edited.isEmpty())
            data.write(c.edited, c.bytes);
        start();
        EXPECT_TRUE(checked());
        EXPECT_EQ(where(), c.reopened);
        form->run(u"mnuReopenLast"_s);
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"False"_s);
        form->Form_Unload();
        start();
        EXPECT_FALSE(checked());
        EXPECT_EQ(where(), u"||"_s) << "off: the usual start";
        form->Form_Unload();
        QFile::remove(data.file(u"Corvanta.Ini"_s));
    }
}

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

TEST_F(SortingTest, ascendingThenNoSort_restoresTheStoredOrderKeepsTheRowNumberAndCaption)
{
    watchCaptions();
    // The topics' marker row moves with a sort, and the caption comes back.
    form->menuClick(u"mnuTopicSortDescending"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u"Zoo"_s, u"apple"_s, u" ..."_s}));
    EXPECT_EQ(captions, (QStringList{u" Sort Decending"_s, u" Corvanta Software"_s}));
    captions.clear();
    projects().setListIndex(1);
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
    EXPECT_EQ(ui.beeps, 3); // one a sort
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

// Spaces are trimmed, never the TAB of a pointer without a display name.
TEST_F(SortingTest, fileListNoSort_keepsBlankRowsAndEveryTab)
{
    data.write(u"Project.Files"_s, "beta\t/b\r\n\r\n\t/nameless \r\n  gamma\t/g  \r\n");
    form->menuClick(u"mnuSortAscendingFiles"_s);
    form->menuClick(u"mnuSortNoSortFiles"_s);
    EXPECT_EQ(rows(files()), (QStringList{u"beta\t/b"_s, QString(), u"\t/nameless"_s, u"gamma\t/g"_s}));
    EXPECT_EQ(form->caption(), u" Corvanta"_s);
    form->menuClick(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), QByteArray("beta\t/b\r\n\t/nameless\r\ngamma\t/g\r\n"));
}

// After a sort exactly the remembered row number is selected, whatever the sort moved.
TEST_F(SortingTest, fileListSort_leavesOnlyTheRowNumberSelected)
{
    click(files(), 0); // beta
    form->menuClick(u"mnuSortAscendingFiles"_s);
    EXPECT_EQ(selectedRows(files()), QList<int>{0});
    const QStringList kept = rows(files()).mid(1);
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_EQ(rows(files()), kept);
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

TEST_F(SortingTest, captionLabels_showTheSortMenuAtTheirList)
{
    form->setGeometry({0, 0, 10250, 6500});
    form->Form_Resize();
    sorting().label_MouseDown(1, 2);
    EXPECT_EQ(ui.popups.back(), u"mnuSortTopicList"_s);
    EXPECT_FALSE(topics().hasFocus());
    sorting().label_DblClick(2);
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(ui.popups.back(), u"mnuSortFiles"_s);
}

TEST_F(SortingTest, resetWindow_asksAndNoChangesNothing)
{
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

class ExternalChangesTest : public FormFixture {
protected:
    FakeFileWatcher watcher;

    Platform platform() override { return Platform{.ui = ui, .clock = clock, .fileWatcher = &watcher}; }

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\nGamma\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\nLater\r\n");
        data.write(u"Project.Files"_s, "One\t/a\r\nTwo\t/b\r\nThree\t/c\r\n");
    }

    // The program goes before the watcher it was made with.
    void TearDown() override { program.reset(); }

    // Another program writes the file, and the system says so.
    void changeOnDisk(const QString &relative, const QByteArray &bytes)
    {
        data.write(relative, bytes);
        watcher.announce(data.file(relative));
    }
};

TEST_F(ExternalChangesTest, shownFiles_areWatched)
{
    start();
    for (const char *name : {"Project.List", "Project.Topics", "Project.Files", "Paste.Lst", "Corvanta.Ini"})
        EXPECT_TRUE(watcher.watched.contains(data.file(QString::fromLatin1(name)))) << name;
    doubleClick(projects(), 1);
    EXPECT_TRUE(watcher.watched.contains(data.file(u"Projects/Beta/Beta.List"_s)));
    EXPECT_TRUE(watcher.watched.contains(data.file(u"Projects/Beta/Beta.Files"_s)));
    EXPECT_FALSE(watcher.watched.contains(data.file(u"Project.Topics"_s)));
}

// Each shown list changed on disk is read again at once; what was selected stays selected by
// name, wherever it now stands, and a name that went away leaves nothing selected in its place.
TEST_F(ExternalChangesTest, changedList_isReloadedKeepingTheSelectionByName)
{
    const struct {
        const char *file;
        char list; // p, t or f
        int select;
        QByteArray after;
        QStringList rows;
        int selectedAfter;
    } cases[] = {
        {"Project.Files", 'f', 1, "Zero\t/z\r\nOne\t/a\r\nTwo\t/b\r\nThree\t/c\r\n",
         {u"Zero\t/z"_s, u"One\t/a"_s, u"Two\t/b"_s, u"Three\t/c"_s}, 2},
        {"Project.Files", 'f', 1, "One\t/a\r\nThree\t/c\r\n",
         {u"One\t/a"_s, u"Three\t/c"_s}, -1},
        {"Project.List", 'p', 2, "Aardvark\r\nAlpha\r\nBeta\r\nGamma\r\n",
         {u"Aardvark"_s, u"Alpha"_s, u"Beta"_s, u"Gamma"_s}, 3},
        {"Project.Topics", 't', 2, "Archive\r\nInbox\r\nLater\r\n",
         {u" ..."_s, u"Archive"_s, u"Inbox"_s, u"Later"_s}, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        SetUp();
        start();
        ListControl &list = c.list == 'p' ? projects() : c.list == 't' ? topics() : files();
        list.selectRow(c.select);
        changeOnDisk(QString::fromLatin1(c.file), c.after);
        EXPECT_EQ(rows(list), c.rows);
        EXPECT_EQ(selectedRows(list), c.selectedAfter < 0 ? QList<int>{} : QList<int>{c.selectedAfter});
        EXPECT_TRUE(ui.boxes.empty());
    }
}

TEST_F(ExternalChangesTest, ownSaveNoticed_changesNothing)
{
    start();
    files().selectRow(2);
    ASSERT_TRUE(form->run(u"mnuRebuildFileList"_s));
    const QStringList before = rows(files());
    files().setRow(0);
    files().setList(u"Shown only\t/x"_s); // a reload would put the file's row back
    watcher.announce(data.file(u"Project.Files"_s));
    EXPECT_EQ(rows(files()).first(), u"Shown only\t/x"_s);
    EXPECT_EQ(before.size(), 3);
}

TEST_F(ExternalChangesTest, changeWhileAnOperationRuns_waitsForItsEnd)
{
    start();
    bool reloadedInside = true;
    form->operations.add(u"TestOperation"_s, [&] {
        changeOnDisk(u"Project.Files"_s, "Late\t/l\r\n");
        reloadedInside = rows(files()).size() == 1;
    });
    form->run(u"TestOperation"_s);
    EXPECT_FALSE(reloadedInside);
    EXPECT_EQ(rows(files()), QStringList{u"Late\t/l"_s});
}

} // namespace
} // namespace corvanta::test
