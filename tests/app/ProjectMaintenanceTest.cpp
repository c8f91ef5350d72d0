#include "support/FakeClipboard.h"
#include "support/FormFixture.h"

#include "platform/Keys.h"
#include "platform/MsgBox.h"

#include <deque>

namespace corvanta::test {
namespace {

// The name dialog is played by a script: each entry is what the user typed ("cancel" cancels).
class ProjectMaintenanceTest : public FormFixture {
protected:
    FakeClipboard clipboard;
    std::deque<QString> names;
    bool insertOption = false;
    int dialogs = 0;
    QList<EditorMode> modes;

    Platform platform() override
    {
        Platform p{ui, clock};
        p.clipboard = &clipboard;
        return p;
    }

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\n");
        data.write(u"Projects/Inbox.Files"_s, "Letter\t/l\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\nNotes\r\n");
        data.write(u"Projects/Alpha/Alpha.Files"_s, "");
        data.write(u"Projects/Alpha/Plans.Files"_s, "One\t/1\r\n");
        data.write(u"Projects/Alpha/Notes.Files"_s, "Two\t/2\r\n");
        data.write(u"Projects/Beta/Beta.List"_s, "");
        data.write(u"Projects/Beta/Beta.Files"_s, "");
        restart();
    }

    void restart()
    {
        start();
        form->registerOperation(u"ShowUtilityForm"_s, [this] {
            ++dialogs;
            modes << form->state.UtilityMode;
            form->state.InsertNameOption = insertOption;
            form->state.DialogText = names.empty() ? u"cancel"_s : names.front().trimmed();
            if (!names.empty())
                names.pop_front();
        });
    }

    void openAlpha() { doubleClick(projects(), 0); }
    QStringList titles() const
    {
        QStringList out;
        for (const ShownBox &box : ui.boxes)
            out << box.title;
        return out;
    }
};

// --- creating ---

TEST_F(ProjectMaintenanceTest, newProject_isAppendedWithItsFolderAndFiles)
{
    names = {u"Gamma"_s};
    int key = Key::F2;
    form->Form_KeyDown(key, 0);
    EXPECT_EQ(modes, QList<EditorMode>{EditorMode::NewProject});
    EXPECT_EQ(rows(projects()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s}));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\nGamma\r\n"));
    EXPECT_TRUE(data.exists(u"Projects/Gamma/Gamma.List"_s));
    EXPECT_TRUE(data.exists(u"Projects/Gamma/Gamma.Files"_s));
    EXPECT_TRUE(projects().hasFocus());
}

TEST_F(ProjectMaintenanceTest, newProject_isInsertedAtTheSelectedRowWhenAsked)
{
    insertOption = true;
    projects().setListIndex(1);
    names = {u"Aardvark"_s};
    form->run(u"mnuCreateProject"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nAardvark\r\nBeta\r\n"));
    EXPECT_EQ(projects().ListIndex(), 1);
}

TEST_F(ProjectMaintenanceTest, takenNames_areRefusedAndTheDialogOpensAgain)
{
    data.write(u"Projects/Delta/keep.txt"_s, "x");
    names = {u"ALPHA"_s, u"Delta"_s, u"cancel"_s};
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(dialogs, 3);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Duplicate Project Name: ALPHA"_s);
    EXPECT_EQ(ui.boxes[0].text, u"You Have Selected A Duplicate Project Name.     \rALPHA Is Already On File.\r"_s);
    EXPECT_EQ(ui.boxes[1].title, u" Duplicate Name: DELTA"_s);
    EXPECT_EQ(ui.boxes[1].text, u"This Project Name - DELTA - Is Already On File.     \rPlease Select Another Name.\r"_s);
    EXPECT_EQ(ui.boxes[1].flags, MsgBox::OkOnly | MsgBox::Exclamation);
    // Cancelling leaves everything as it was.
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
    EXPECT_EQ(rows(projects()).size(), 2);
}

TEST_F(ProjectMaintenanceTest, unsafeNames_areRefusedAndNothingIsCreatedOutside)
{
    names = {u"../escape"_s, u".."_s, u"a...b"_s, u"tab\there"_s, u"back\\slash"_s, u"   "_s, u"cancel"_s};
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(dialogs, 7);
    ASSERT_EQ(ui.boxes.size(), 6u);
    for (const ShownBox &box : ui.boxes)
        EXPECT_EQ(box.title, u" Invalid Input"_s);
    EXPECT_EQ(ui.boxes[0].text,
              u"The Name  [../ESCAPE]  Cannot Be Used As A File Name.     \rPlease Do Not Use  /  \\  ...  Or Control Characters.\r"_s);
    EXPECT_EQ(ui.boxes[5].text, u"Input Cannot Be Blank...     \r"_s);
    EXPECT_FALSE(QFileInfo::exists(data.path() + u"/escape"_s));
    EXPECT_EQ(data.stray(), QStringList());
    EXPECT_EQ(QDir(data.file(u"Projects"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{u"Alpha"_s, u"Beta"_s}));
}

TEST_F(ProjectMaintenanceTest, nameTooLongForTheFileSystem_isReportedAndNothingIsHalfMade)
{
    names = {QString(252, u'x'), u"cancel"_s};
    form->run(u"CreateNewProject"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].title.startsWith(u" Error "_s));
    EXPECT_FALSE(ui.boxes[0].text.isEmpty());
    EXPECT_FALSE(data.exists(u"Projects/"_s + QString(252, u'x')));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
}

TEST_F(ProjectMaintenanceTest, firstProject_replacesTheBlankRowOfAnEmptyList)
{
    data.write(u"Project.List"_s, "");
    restart();
    names = {u"First"_s};
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(rows(projects()), QStringList{u"First"_s});
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("First\r\n"));
}

TEST_F(ProjectMaintenanceTest, newTopic_goesUnderTheProjectRowAndCannotTakeTheProjectsName)
{
    openAlpha();
    insertOption = true;
    topics().setListIndex(-1);
    names = {u"alpha"_s, u"Ideas"_s};
    form->run(u"mnuTopicPopupAddNewTopic"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, u" Duplicate Topic Name: ALPHA"_s);
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Ideas"_s, u"Plans"_s, u"Notes"_s}));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Ideas\r\nPlans\r\nNotes\r\n"));
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Ideas.Files"_s));
    // The remembered choice is not lost by creating a topic.
    EXPECT_TRUE(form->state.InsertNameOption);
}

TEST_F(ProjectMaintenanceTest, newTopicAtTheEntryScreen_livesInTheProjectsFolder)
{
    names = {u"Receipts"_s};
    form->run(u"CreateNewTopic"_s);
    EXPECT_TRUE(data.exists(u"Projects/Receipts.Files"_s));
    EXPECT_EQ(data.read(u"Project.Topics"_s), QByteArray("Inbox\r\nReceipts\r\n"));
}

// --- renaming ---

TEST_F(ProjectMaintenanceTest, renameProject_movesListFilesThenFolderThenRewritesTheList)
{
    projects().setListIndex(0);
    names = {u"Omega"_s};
    form->run(u"mnuRenameProject"_s);
    EXPECT_EQ(modes, QList<EditorMode>{EditorMode::RenameProject});
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Omega\r\nBeta\r\n"));
    EXPECT_TRUE(data.exists(u"Projects/Omega/Omega.List"_s));
    EXPECT_TRUE(data.exists(u"Projects/Omega/Omega.Files"_s));
    EXPECT_TRUE(data.exists(u"Projects/Omega/Plans.Files"_s));
    EXPECT_FALSE(data.exists(u"Projects/Alpha"_s));
}

TEST_F(ProjectMaintenanceTest, renameThatFails_leavesListAndFilesAgreeing)
{
    projects().setListIndex(0);
    names = {QString(252, u'y')};
    form->run(u"mnuRenameProject"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].title.startsWith(u" Error "_s));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Alpha.List"_s));
    EXPECT_EQ(projects().rowText(0), u"Alpha"_s);
}

TEST_F(ProjectMaintenanceTest, renameOfTheOpenProject_returnsToTheEntryScreen)
{
    openAlpha();
    projects().setListIndex(0);
    names = {u"Omega"_s};
    form->run(u"mnuRenameProject"_s);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
    EXPECT_EQ(form->state.TopicListPath, data.file(u"Project.Topics"_s));
}

TEST_F(ProjectMaintenanceTest, renameOfAProjectWithoutFolder_offersToDeleteIt)
{
    data.write(u"Project.List"_s, "Alpha\r\nGhost\r\n");
    restart();
    projects().setListIndex(1);
    ui.answers = {MsgBox::Yes, MsgBox::Yes};
    form->run(u"mnuRenameProject"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Project  [GHOST]  Not Found"_s);
    EXPECT_TRUE(ui.boxes[0].text.endsWith(u"Do You Want To Delete  [Ghost]  Now?\r"_s));
    EXPECT_EQ(ui.boxes[1].title, u" Delete Project: Ghost"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\n"));
    EXPECT_EQ(dialogs, 0);
}

TEST_F(ProjectMaintenanceTest, renameWhileSorted_asksForNoSortFirst)
{
    form->menuClick(u"mnuSortDescendingProjects"_s);
    projects().setListIndex(0); // Beta, shown first
    ui.answers = {MsgBox::No};
    form->run(u"mnuRenameProject"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Incorrect Sort Order"_s);
    EXPECT_EQ(dialogs, 0);

    ui.answers = {MsgBox::Yes};
    names = {u"Bravo"_s};
    form->run(u"mnuRenameProject"_s);
    EXPECT_EQ(form->state.ProjectSort, SortOrder::None);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBravo\r\n"));
}

TEST_F(ProjectMaintenanceTest, renameTopic_renamesItsFileAndKeepsShowingIt)
{
    openAlpha();
    click(topics(), 1);
    names = {u"Schemes"_s};
    form->run(u"mnuTopicPopupRenameTopic"_s);
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Schemes.Files"_s));
    EXPECT_FALSE(data.exists(u"Projects/Alpha/Plans.Files"_s));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Schemes\r\nNotes\r\n"));
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Alpha/Schemes.Files"_s));
    // A later save of the File List writes to the new file.
    form->run(u"SaveFileList"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Schemes.Files"_s), QByteArray("One\t/1\r\n"));
    EXPECT_FALSE(data.exists(u"Projects/Alpha/Plans.Files"_s));
}

// The project row is found by its text, wherever a sort has put it.
TEST_F(ProjectMaintenanceTest, projectRow_cannotBeRenamedOrDeletedWhereverItStands)
{
    openAlpha();
    for (const bool descending : {false, true}) {
        if (descending)
            form->menuClick(u"mnuTopicSortDescending"_s);
        const int row = int(rows(topics()).indexOf(u" ..."_s));
        ASSERT_EQ(row, descending ? 2 : 0);
        names = {u"Renamed"_s};
        topics().selectRow(row);
        form->run(u"mnuTopicPopupRenameTopic"_s);
        EXPECT_EQ(ui.lastBox()->title, u" Invalid Rename Attempt"_s);
        EXPECT_EQ(ui.lastBox()->text, u"You Cannot Rename This Topic Row.     \r"_s);
        topics().selectRow(row);
        form->run(u"DeleteTopic"_s);
        EXPECT_EQ(ui.lastBox()->title, u" Invalid Delete Attempt"_s);
        EXPECT_EQ(dialogs, 0);
        EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Plans\r\nNotes\r\n"));
    }
    // A new name holding the marker's dots is refused too.
    topics().selectRow(int(rows(topics()).indexOf(u"Notes"_s)));
    names = {u"Old...Notes"_s, u"cancel"_s};
    form->run(u"mnuTopicPopupRenameTopic"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Invalid Input"_s);
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Notes.Files"_s));
}

// Every rewrite of a Topic List keeps every topic, wherever the project row stands: sorted
// descending it is the last row, and a paste at the selected row can put a topic above it.
TEST_F(ProjectMaintenanceTest, topicListRewrites_keepEveryTopicWhereverTheProjectRowStands)
{
    struct Case {
        const char *what;
        std::function<void()> act;
        QByteArray stored;
    };
    const auto descending = [this] { form->menuClick(u"mnuTopicSortDescending"_s); };
    const auto selectTopic = [this](const QString &name) { click(topics(), int(rows(topics()).indexOf(name))); };
    const Case cases[] = {
        {"insert a topic, sorted descending", [&] {
             descending();
             selectTopic(u"Plans"_s);
             insertOption = true;
             names = {u"Ideas"_s};
             form->run(u"CreateNewTopic"_s);
         }, "Plans\r\nIdeas\r\nNotes\r\n"},
        {"rename a topic, sorted descending", [&] {
             descending();
             selectTopic(u"Notes"_s);
             names = {u"Memos"_s};
             form->run(u"mnuTopicPopupRenameTopic"_s);
         }, "Plans\r\nMemos\r\n"},
        {"delete a topic, sorted descending", [&] {
             descending();
             selectTopic(u"Notes"_s);
             ui.answers = {MsgBox::Yes};
             form->run(u"DeleteTopic"_s);
         }, "Plans\r\n"},
        {"rename after a paste onto the project row", [&] {
             selectTopic(u"Notes"_s);
             form->run(u"mnuTopicPopupCutTopicName"_s);
             selectTopic(u" ..."_s);
             form->run(u"mnuTopicPopupPasteTopicNameAtSelectedRow"_s);
             selectTopic(u"Plans"_s);
             names = {u"Schemes"_s};
             form->run(u"mnuTopicPopupRenameTopic"_s);
         }, "Notes\r\nSchemes\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\nNotes\r\n");
        setIni(u"Topic List"_s, u"Sort"_s, u"none"_s);
        restart();
        openAlpha();
        c.act();
        EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), c.stored);
    }
}

// One .Files file may stand behind two rows (a topic pasted twice): it goes with its last row.
TEST_F(ProjectMaintenanceTest, topicFileOfTwoRows_staysUntilItsLastRowGoes)
{
    openAlpha();
    click(topics(), 1);
    form->run(u"mnuTopicPopupCutTopicName"_s);
    for (int i = 0; i < 3; ++i)
        form->run(u"mnuTopicPopupPasteNameAtEndOfList"_s);
    ASSERT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Notes"_s, u"Plans"_s, u"Plans"_s, u"Plans"_s}));

    click(topics(), 4);
    names = {u"Schemes"_s};
    form->run(u"mnuTopicPopupRenameTopic"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Plans.Files"_s), QByteArray("One\t/1\r\n"));
    EXPECT_EQ(data.read(u"Projects/Alpha/Schemes.Files"_s), QByteArray("One\t/1\r\n"));

    click(topics(), 3);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_TRUE(ui.lastBox()->text.contains(u"Another Row"_s)) << ui.lastBox()->text.toStdString();
    EXPECT_EQ(data.read(u"Projects/Alpha/Plans.Files"_s), QByteArray("One\t/1\r\n"));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Notes\r\nPlans\r\nSchemes\r\n"));

    // A topic pasted under its project's own name shares the project row's file.
    data.write(u"Projects/Alpha/Alpha.Files"_s, "Own\t/own\r\n");
    form->run(u"LoadEntryScreen"_s);
    clipboard.content = u"Alpha"_s;
    openAlpha();
    form->run(u"mnuTopicPopupPasteNameAtEndOfList"_s);
    click(topics(), 4);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("Own\t/own\r\n"));
}

// --- deleting ---

TEST_F(ProjectMaintenanceTest, deleteProject_asksWithNoAsDefaultAndKeepsSubfolders)
{
    data.write(u"Projects/Beta/sub/kept.txt"_s, "x");
    projects().setListIndex(1);
    form->run(u"mnuDeleteProject"_s); // the fake answers the default: No
    EXPECT_EQ(ui.lastBox()->flags, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2);
    EXPECT_TRUE(ui.lastBox()->text.startsWith(u"This Will Delete - BETA - And All Of Its Project Files!\r"_s));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));

    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteProject"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\n"));
    EXPECT_FALSE(data.exists(u"Projects/Beta/Beta.List"_s));
    EXPECT_TRUE(data.exists(u"Projects/Beta/sub/kept.txt"_s));
    EXPECT_EQ(projects().ListIndex(), 0);
}

// Only the program's own files go; a folder that still holds the user's files stays and is named.
TEST_F(ProjectMaintenanceTest, deleteProject_keepsTheUsersFilesAndSaysWhereTheyAre)
{
    data.write(u"Projects/Alpha/letter.odt"_s, "mine");
    projects().selectRow(0);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteProject"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/letter.odt"_s), QByteArray("mine"));
    for (const char *own : {"Alpha.List", "Alpha.Files", "Plans.Files", "Notes.Files"})
        EXPECT_FALSE(data.exists(u"Projects/Alpha/"_s + QLatin1String(own))) << own;
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(ui.boxes[1].text.contains(data.file(u"Projects/Alpha"_s))) << ui.boxes[1].text.toStdString();
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Beta\r\n"));
}

TEST_F(ProjectMaintenanceTest, deleteTheOpenProject_returnsToTheEntryScreenAndRemovesTheFolder)
{
    openAlpha();
    projects().setListIndex(0);
    ui.answers = {MsgBox::Yes};
    int key = Key::Delete;
    form->navigation().lstProjectList_KeyDown(key, 0);
    EXPECT_FALSE(data.exists(u"Projects/Alpha"_s));
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
    EXPECT_EQ(rows(topics()), (QStringList{u" ..."_s, u"Inbox"_s}));
}

TEST_F(ProjectMaintenanceTest, deleteTheShownTopic_showsTheProjectRowsList)
{
    data.write(u"Projects/Beta/Beta.List"_s, "Only\r\n");
    data.write(u"Projects/Beta/Beta.Files"_s, "Own\t/own\r\n");
    data.write(u"Projects/Beta/Only.Files"_s, "Gone\t/g\r\n");
    doubleClick(projects(), 1);
    click(topics(), 1);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuTopicPopupDeleteTopic"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Delete Topic: ONLY"_s);
    EXPECT_FALSE(data.exists(u"Projects/Beta/Only.Files"_s));
    EXPECT_EQ(data.read(u"Projects/Beta/Beta.List"_s), QByteArray());
    EXPECT_EQ(rows(topics()), QStringList{u" ..."_s});
    EXPECT_TRUE(topics().isSelected(0));
    EXPECT_EQ(rows(files()), QStringList{u"Own\t/own"_s});
}

// --- moving names ---

TEST_F(ProjectMaintenanceTest, cutAndPasteAtEnd_movesTheProjectAndRewritesTheList)
{
    EXPECT_FALSE(form->commands.item(u"mnuPasteProjectEOF"_s)->enabled);
    projects().setListIndex(0);
    form->run(u"mnuCutProject"_s);
    EXPECT_EQ(clipboard.content, u"Alpha"_s);
    EXPECT_TRUE(form->commands.item(u"mnuPasteProjectEOF"_s)->enabled);
    EXPECT_FALSE(form->commands.item(u"mnuTopicPopupPasteNameAtEndOfList"_s)->enabled);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n")); // not written yet
    form->run(u"mnuPasteProjectEOF"_s);
    EXPECT_EQ(rows(projects()), (QStringList{u"Beta"_s, u"Alpha"_s}));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Beta\r\nAlpha\r\n"));
    EXPECT_FALSE(form->commands.item(u"mnuPasteProjectEOF"_s)->enabled);
}

TEST_F(ProjectMaintenanceTest, topicPastedIntoAnotherProject_startsWithAnEmptyList)
{
    openAlpha();
    topics().setListIndex(1);
    form->run(u"mnuTopicPopupCutTopicName"_s);
    EXPECT_EQ(clipboard.content, u"Plans"_s);
    doubleClick(projects(), 1);
    form->run(u"mnuTopicPopupPasteNameAtEndOfList"_s);
    EXPECT_EQ(data.read(u"Projects/Beta/Beta.List"_s), QByteArray("Plans\r\n"));
    click(topics(), 1);
    EXPECT_EQ(files().ListCount(), 0);
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Plans.Files"_s));
}

} // namespace
} // namespace corvanta::test
