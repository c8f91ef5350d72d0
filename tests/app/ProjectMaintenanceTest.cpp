#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "platform/MsgBox.h"
#include "search/FileSearch.h"
#include "store/OwnFiles.h"
#include "support/FileSystemFaults.h"

#include <QDir>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <map>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {
// The next rename onto this path goes through, then its folder turns read-only: a later step
// fails and the first one cannot be put back.
QByteArray lockFolderAfterRenameTo;
} // namespace

extern "C" int rename(const char *from, const char *to) noexcept
{
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    const int rc = real(from, to);
    if (rc == 0 && !lockFolderAfterRenameTo.isEmpty() && lockFolderAfterRenameTo == to) {
        ::chmod(QFileInfo(QFile::decodeName(to)).path().toLocal8Bit().constData(), 0555);
        lockFolderAfterRenameTo.clear();
    }
    return rc;
}

namespace corvanta::test {
namespace {

// The name dialog is played by a script: each entry is what the user typed; none left cancels.
class ProjectMaintenanceTest : public FormFixture {
protected:
    std::deque<QString> names;
    bool insertOption = false;
    int dialogs = 0;

    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox", "Projects/Inbox.Files: Letter -> /l",
                              "Projects/Alpha/Alpha.List: Plans, Notes", "Projects/Alpha/Alpha.Files:",
                              "Projects/Alpha/Plans.Files: One -> /1", "Projects/Alpha/Notes.Files: Two -> /2",
                              "Projects/Beta/Beta.List:", "Projects/Beta/Beta.Files:"});
        restart();
    }

    void restart()
    {
        setIni(u"Project List"_s, u"Sort"_s, u"none"_s);
        setIni(u"Topic List"_s, u"Sort"_s, u"none"_s);
        start();
        ui.onPointerEditor = [this](PointerEditor &e) {
            ++dialogs;
            namesFrom(names, insertOption)(e);
        };
    }

public:
    // The steps of a case, each handing the test back for the next.
    ProjectMaintenanceTest &alpha() { return doubleClick(projects(), 0), *this; }
    ProjectMaintenanceTest &project(int row) { return projects().selectRow(row), *this; }
    ProjectMaintenanceTest &topic(const QString &name) { return click(topics(), int(rows(topics()).indexOf(name))), *this; }
    ProjectMaintenanceTest &type(const QString &name) { return names = {name}, *this; }
    ProjectMaintenanceTest &yes() { return ui.answers = {MsgBox::Yes}, *this; }
    ProjectMaintenanceTest &paste(const QString &text)
    {
        clipboard.content = text;
        ui.boxes.clear();
        return run("mnuPasteProjectEOF");
    }
    ProjectMaintenanceTest &run(const char *command)
    {
        return form->run(QString::fromLatin1(command)), *this;
    }
};

// The first box each refusal or question shows, worded as the user sees it.
TEST_F(ProjectMaintenanceTest, refusalsAndQuestions_areWordedAsTheUserSeesThem)
{
    constexpr int Refusal = MsgBox::OkOnly | MsgBox::Exclamation;
    constexpr int Deletion = MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2;
    struct Case {
        std::function<void()> act;
        QString title;
        QString text; // the start of it
        int flags;
    };
    const Case cases[] = {
        {[&] { type(u"ALPHA"_s).run("CreateNewProject"); }, u" Duplicate Project Name: ALPHA"_s,
         u"You Have Selected A Duplicate Project Name.     \rALPHA Is Already On File.\r"_s, Refusal},
        {[&] {
             data.write(u"Projects/Delta/keep.txt"_s, "x");
             type(u"Delta"_s).run("CreateNewProject");
         }, u" Duplicate Name: DELTA"_s,
         u"This Project Name - DELTA - Is Already On File.     \rPlease Select Another Name.\r"_s, Refusal},
        {[&] { alpha().type(u"alpha"_s).run("CreateNewTopic"); }, u" Duplicate Topic Name: ALPHA"_s,
         u"You Have Selected A Duplicate Topic Name."_s, Refusal},
        {[&] {
             QDir(data.file(u"Projects/Beta"_s)).removeRecursively();
             project(1).run("mnuRenameProject");
         }, u" Project  [BETA]  Not Found"_s,
         u"The Project You Are Trying to Rename Does Not Exist.     \rRight Click Your Mouse And Select 'Delete' To "
         "Delete This Name,     \rOr Double Click This Project Name To Create Project Files.\r\rDo You Want To "
         "Delete  [Beta]  Now?\r"_s, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2},
        {[&] { run("mnuSortDescendingProjects").run("mnuRenameProject"); }, u" Incorrect Sort Order"_s,
         u"This Option Will Rebuild Your Project List. Therefore,     \rYou Must Sort The Project List In 'No "
         "Sort' Order.\r\rDo You Want Corvanta To Execute 'No Sort'?\r"_s, MsgBox::YesNo | MsgBox::Exclamation},
        {[&] { project(1).run("mnuDeleteProject"); }, u" Delete Project: Beta"_s,
         u"This Will Delete - BETA - And All Of Its Project Files!\r"_s, Deletion},
        {[&] { alpha().topic(u"Plans"_s).run("DeleteTopic"); }, u" Delete Topic: PLANS"_s,
         u"This Will Delete - PLANS - And All Of Its Topic Files!\r"_s, Deletion},
        // A new name holding the marker's dots is refused; a pasted name follows the typed rules.
        {[&] { alpha().topic(u"Notes"_s).type(u"Old...Notes"_s).run("mnuTopicPopupRenameTopic"); },
         u" Invalid Input"_s, u"The Name  [OLD...NOTES]"_s, Refusal},
        {[&] { paste(u".."_s); }, u" Invalid Input"_s, {}, Refusal},
        {[&] { paste(u"Two\nLines"_s); }, u" Invalid Input"_s, {}, Refusal},
        {[&] { paste(u" ..."_s); }, u" Invalid Input"_s, {}, Refusal},
        {[&] { paste(u"https://example.org/x"_s); }, u" Invalid Input"_s, {}, Refusal},
        // With a cut name pending, another program's text is not pasted.
        {[&] { project(0).run("mnuCutProject").paste(u"Gamma"_s); }, u" Clipboard Changed"_s, {},
         Refusal},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        SetUp();
        ui.boxes.clear();
        ui.answers = {MsgBox::No};
        c.act();
        ASSERT_FALSE(ui.boxes.empty());
        EXPECT_EQ(ui.boxes[0].title, c.title);
        EXPECT_TRUE(ui.boxes[0].text.startsWith(c.text)) << ui.boxes[0].text.toStdString();
        EXPECT_EQ(ui.boxes[0].flags, c.flags);
        EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
        EXPECT_EQ(data.stray(), QStringList());
        EXPECT_TRUE(data.exists(u"Projects/Alpha/Notes.Files"_s));
    }
}

TEST_F(ProjectMaintenanceTest, unsafeNames_areRefusedAndNothingIsCreatedOutside)
{
    // Each refusal asks again; a name too long for the file system ends with the system's error.
    names = {u"../escape"_s, u".."_s, u"a...b"_s, u"tab\there"_s, u"back\\slash"_s, u"   "_s, QString(252, u'x')};
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(dialogs, 8); // the last one cancelled
    ASSERT_EQ(ui.boxes.size(), 7u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(ui.boxes[i].title, u" Invalid Input"_s);
    EXPECT_EQ(ui.boxes[0].text,
              u"The Name  [../ESCAPE]  Cannot Be Used As A File Name.     \rPlease Do Not Use  /  \\  ...  Or Control Characters.\r"_s);
    EXPECT_EQ(ui.boxes[5].text, u"Input Cannot Be Blank...     \r"_s);
    EXPECT_TRUE(ui.boxes[6].title.startsWith(u" Error "_s));
    EXPECT_FALSE(QFileInfo::exists(data.path() + u"/escape"_s));
    EXPECT_EQ(data.stray(), QStringList());
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
    EXPECT_EQ(QDir(data.file(u"Projects"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{u"Alpha"_s, u"Beta"_s}));
}

// A name too long for the file system fails at the first step; the name of one of the project's
// own topics fails at the second (its .Files file is there), and the first step is put back. When
// it cannot be, a box says why and where the file is, and the file stays there.
TEST_F(ProjectMaintenanceTest, renameThatFails_leavesListAndFilesAgreeing)
{
    struct Case {
        QString name;
        bool lockFolderAfterFirstStep;
    };
    const QString alpha = data.file(u"Projects/Alpha"_s);
    for (const Case &c : {Case{QString(252, u'y'), false}, Case{u"Plans"_s, false}, Case{u"Plans"_s, true}}) {
        SCOPED_TRACE(c.name.toStdString());
        ui.boxes.clear();
        projects().setListIndex(0);
        names = {c.name};
        if (c.lockFolderAfterFirstStep) {
            lockFolderAfterRenameTo = QFile::encodeName(alpha + u"/Plans.List"_s);
            const WithoutRootOverride asUser;
            form->run(u"mnuRenameProject"_s);
            ::chmod(QFile::encodeName(alpha).constData(), 0755);
        } else {
            form->run(u"mnuRenameProject"_s);
        }
        ASSERT_EQ(ui.boxes.size(), c.lockFolderAfterFirstStep ? 2u : 1u);
        if (c.lockFolderAfterFirstStep) {
            EXPECT_EQ(ui.boxes[0].title, u" Error "_s + QString::number(EACCES));
            EXPECT_EQ(ui.boxes[0].text,
                      u"["_s + alpha + u"/Plans.List]  Could Not Be Put Back As  ["_s + alpha + u"/Alpha.List].     \r"_s
                          + QString::fromLocal8Bit(std::strerror(EACCES)) + u"\rIt Is Still At  ["_s + alpha
                          + u"/Plans.List].\r"_s);
        }
        EXPECT_TRUE(ui.boxes.back().title.startsWith(u" Error "_s));
        EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
        expectFolder(alpha, {c.lockFolderAfterFirstStep ? "Plans.List: Plans, Notes" : "Alpha.List: Plans, Notes",
                             "Alpha.Files:", "Plans.Files: One -> /1", "Notes.Files: Two -> /2"});
        EXPECT_EQ(projects().rowText(0), u"Alpha"_s);
    }
}

// The project row is found by its text, wherever a sort has put it.
TEST_F(ProjectMaintenanceTest, projectRow_cannotBeRenamedOrDeletedWhereverItStands)
{
    alpha();
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
}

// Only the program's own files go; a folder that still holds the user's files stays and is named.
TEST_F(ProjectMaintenanceTest, deleteProject_keepsTheUsersFilesAndSaysWhereTheyAre)
{
    data.write(u"Projects/Alpha/letter.odt"_s, "mine");
    data.write(u"Projects/Alpha/sub/kept.txt"_s, "mine too");
    projects().selectRow(0);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteProject"_s);
    expectFolder(data.file(u"Projects/Alpha"_s), {"letter.odt:= mine", "sub/kept.txt:= mine too"});
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(ui.boxes[1].text.contains(data.file(u"Projects/Alpha"_s))) << ui.boxes[1].text.toStdString();
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Beta\r\n"));
}

// A hand-edited row "." or ".." names the Projects folder or the data folder itself: deleting
// the row deletes no file in either.
TEST_F(ProjectMaintenanceTest, deleteDotRow_deletesNoFile)
{
    data.write(u"Project.Files"_s, "Top\t/t\r\n");
    for (const QString &name : {u"."_s, u".."_s}) {
        SCOPED_TRACE(name.toStdString());
        data.write(u"Project.List"_s, "Alpha\r\n" + name.toLatin1() + "\r\nBeta\r\n");
        restart();
        projects().selectRow(1);
        ui.answers = {MsgBox::Yes};
        form->run(u"mnuDeleteProject"_s);
        EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
        for (const char *kept : {"Project.Files", "Projects/Inbox.Files", "Projects/Alpha/Alpha.Files"})
            EXPECT_TRUE(data.exists(QLatin1String(kept))) << kept;
    }
    // A hand-edited topic of the project's own name shares the project row's file.
    data.write(u"Projects/Alpha/Alpha.List"_s, "Notes\r\nAlpha\r\n");
    restart();
    alpha();
    click(topics(), 2);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Alpha.Files"_s));
}

// A topic that cannot be opened never leaves the File List on another topic's file, where the next
// pointer would go to a file no list names.
TEST_F(ProjectMaintenanceTest, refusedOpen_showsTheProjectRowsOwnFileList)
{
    data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\nBad/Name\r\n");
    data.write(u"Projects/Alpha/Alpha.Files"_s, "Own\t/own\r\n");
    alpha();
    click(topics(), 1);
    ASSERT_EQ(rows(files()), QStringList{u"One\t/1"_s});
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Invalid Input"_s);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Alpha/Alpha.Files"_s));
    EXPECT_EQ(rows(files()), QStringList{u"Own\t/own"_s});
    EXPECT_EQ(topics().ListIndex(), 0);
}

// Every change to the names, their files and folders is one step: undone, redone and undone
// again, the data folder is byte for byte what it was.
class UndoStepsTest : public ProjectMaintenanceTest {
protected:
    QTemporaryDir dataHome; // this test's desktop trash, below a folder a new account lacks
    QString share() const { return dataHome.path() + u"/new/share"_s; }
    QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(share()));
        // Lists written by hand: a rewrite changes their bytes.
        layDown(data.path(), {"Project.List:= Alpha\nBeta", "Project.Topics: Inbox",
                              "Projects/Inbox.Files: Letter -> /l",
                              "Projects/Alpha/Alpha.List:= Plans\nNotes",
                              "Projects/Alpha/Plans.Files: One -> /1",
                              "Projects/Alpha/Notes.Files:= Two\t/2", "Projects/Alpha/Alpha.Files:",
                              "Projects/Alpha/letter.odt:= the user's own",
                              "Projects/Beta/Beta.List:", "Projects/Beta/Beta.Files: Three -> /3",
                              "Projects/Orphan/Orphan.List: Old",
                              "Projects/Orphan/Old.Files: Four -> /4"});
        restart();
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", oldDataHome); }

    // The data folder as files and folders ("name/") with their bytes; the settings aside.
    std::map<QString, QByteArray> folder() const
    {
        auto files = snapshot(data.path());
        files.erase(u"Corvanta.Ini"_s);
        return files;
    }
    QString undoCaption() const { return form->commands.item(u"mnuUndo"_s)->caption; }
    QString trashed(const QString &name) const { return share() + u"/Trash/"_s + name; }
};

TEST_F(UndoStepsTest, everyStep_undoesRedoesAndUndoesByteForByte)
{
    struct Case {
        QString step; // the Undo item's caption
        std::function<void()> act;
    };
    const Case cases[] = {
        {u"Create Project 'Gamma'"_s, [&] { type(u"Gamma"_s).run("CreateNewProject"); }},
        {u"Create Topic 'Ideas' in 'Alpha'"_s,
         [&] { alpha().type(u"Ideas"_s).run("CreateNewTopic"); }},
        {u"Create Topic 'Mail'"_s, [&] { type(u"Mail"_s).run("CreateNewTopic"); }},
        {u"Rename Project 'Alpha'"_s, [&] { project(0).type(u"Anna"_s).run("mnuRenameProject"); }},
        {u"Rename Topic 'Plans' in 'Alpha'"_s,
         [&] { alpha().topic(u"Plans"_s).type(u"Ideas"_s).run("mnuTopicPopupRenameTopic"); }},
        {u"Delete Project 'Alpha'"_s, [&] { project(0).yes().run("mnuDeleteProject"); }},
        {u"Delete Project 'Beta'"_s, [&] { project(1).yes().run("mnuDeleteProject"); }},
        {u"Delete Topic 'Plans' in 'Alpha'"_s, [&] { alpha().topic(u"Plans"_s).yes().run("DeleteTopic"); }},
        {u"Paste Project 'Beta'"_s,
         [&] { project(1).run("mnuCutProject").project(0).run("mnuPasteProjectRow"); }},
        {u"Paste Topic 'Notes' in 'Alpha'"_s, [&] {
             alpha().topic(u"Notes"_s).run("mnuTopicPopupCutTopicName");
             topic(u"Plans"_s).run("mnuTopicPopupPasteTopicNameAtSelectedRow");
         }},
        {u"Rebuild Project List"_s, [&] { project(0).run("mnuRebuildProjectList"); }},
        {u"Rebuild Topic List in 'Alpha'"_s, [&] { alpha().run("mnuTopicRebuildTopicList"); }},
        {u"Clean Up 1 Project Folder"_s, [&] { yes().run("mnuCleanProjects"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step.toStdString());
        QDir(data.path()).removeRecursively();
        SetUp();
        const auto before = folder();
        c.act();
        ASSERT_EQ(undoCaption(), u"Undo "_s + c.step);
        const auto after = folder();
        EXPECT_NE(after, before);
        ui.boxes.clear();
        for (const char *step : {"mnuUndo", "mnuRedo", "mnuUndo"}) {
            form->run(QString::fromLatin1(step));
            EXPECT_EQ(folder(), step == std::string("mnuRedo") ? after : before) << step;
        }
        EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front().text.toStdString();
        EXPECT_EQ(form->commands.item(u"mnuRedo"_s)->caption, u"Redo "_s + c.step);
    }
}

TEST_F(UndoStepsTest, aDelete_goesToTheTrash_andUndoShowsTheTopicAgainFromElsewhere)
{
    alpha().topic(u"Plans"_s);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(ui.boxes.size(), 1u); // the question alone: a trash was there
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Notes\r\n"));
    EXPECT_EQ(bytesOf(trashed(u"files/Plans.Files"_s)), QByteArray("One\t/1\r\n"));
    const QByteArray trashInfo = bytesOf(trashed(u"info/Plans.Files.trashinfo"_s));
    EXPECT_TRUE(trashInfo.startsWith("[Trash Info]\nPath=")) << trashInfo.constData();
    EXPECT_TRUE(trashInfo.contains("/Projects/Alpha/Plans.Files\n")) << trashInfo.constData();

    // Undo from another project: Alpha opens with Plans current and its pointers shown.
    doubleClick(projects(), 1);
    ASSERT_EQ(form->state.CurrentProject, u"Beta"_s);
    form->run(u"mnuUndo"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Plans.Files"_s), QByteArray("One\t/1\r\n"));
    EXPECT_EQ(form->state.CurrentProject, u"Alpha"_s);
    EXPECT_EQ(form->state.CurrentTopic, u"Plans"_s);
    EXPECT_EQ(topics().columnText(topics().ListIndex(), 0), u"Plans"_s);
    EXPECT_EQ(rows(files()), QStringList{u"One\t/1"_s});
}

TEST_F(UndoStepsTest, undo_neverReplacesAFileAnotherProgramMadeAgain)
{
    projects().selectRow(1);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteProject"_s);
    ASSERT_FALSE(data.exists(u"Projects/Beta"_s));
    data.write(u"Projects/Beta/Beta.Files"_s, "made again");
    const auto now = folder();
    form->run(u"mnuUndo"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Cannot Undo"_s);
    EXPECT_TRUE(ui.lastBox()->text.contains(u"Beta.Files]  Is There Again, And Is Not Replaced."_s)) << ui.lastBox()->text.toStdString();
    EXPECT_EQ(folder(), now);
}

TEST_F(UndoStepsTest, withoutATrash_aDeleteAsksFirst_andNoDeletesNothing)
{
    // A trash on another file system than the data folder is no trash for it.
    struct stat shm {}, tmp {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(data.path()).constData(), &tmp) != 0
        || shm.st_dev == tmp.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second file system to put the trash on";
    QTemporaryDir elsewhere(u"/dev/shm/corvanta-trash-XXXXXX"_s);
    qputenv("XDG_DATA_HOME", QFile::encodeName(elsewhere.path()));
    alpha().topic(u"Plans"_s);
    const auto before = folder();
    for (int answer : {MsgBox::No, MsgBox::Yes}) {
        ui.boxes.clear();
        ui.answers = {MsgBox::Yes, answer};
        form->run(u"DeleteTopic"_s);
        ASSERT_EQ(ui.boxes.size(), 2u);
        EXPECT_EQ(ui.boxes[1].text, u"The Drive Of The Data Folder Has No Trash, So     \rThe Topic Files Of - PLANS - Would "
                                    "Be Deleted For Good.\r\rDo You Want To Delete Them For Good?     \r"_s);
        EXPECT_EQ(ui.boxes[1].flags, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2);
        if (answer == MsgBox::No) {
            EXPECT_EQ(folder(), before);
        }
    }
    EXPECT_FALSE(data.exists(u"Projects/Alpha/Plans.Files"_s));
    EXPECT_FALSE(QFileInfo::exists(elsewhere.path() + u"/Trash/files/Plans.Files"_s));
    form->run(u"mnuUndo"_s);
    EXPECT_EQ(folder(), before);
}

// Every question whose Yes removes or deletes something has No as its default, so that Enter
// pressed in a hurry keeps the data (those of projects and topics with their texts elsewhere).
class RemovalQuestionsTest : public FormFixture
{
protected:

    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Ghost", "Projects/Alpha/Alpha.List: Plans",
            "Projects/Alpha/Alpha.Files:", "Projects/Alpha/Plans.Files: Gone -> /nowhere/gone.txt",
            "Projects/Orphan/Orphan.List:", "Project.Files: Gone -> /nowhere/gone.txt"});
        start();
    }
};

TEST_F(RemovalQuestionsTest, everyRemovalQuestionDefaultsToNoAndNoKeepsTheData)
{
    shell.defaultResult = ShellResult::FileNotFound;
    std::unique_ptr<FileSearch> search;
    struct Case {
        const char *title;
        std::function<void()> ask;
    };
    const Case cases[] = {
        {" Remove: Gone", [&] { files().selectRow(0); form->run(u"RemoveSelectedFiles"_s); }},
        {" /nowhere/gone.txt  Not Found", [&] { doubleClick(files(), 0); }},
        {" Cleanup  1 Project Files", [&] { form->run(u"mnuCleanProjects"_s); }},
        {" Remove Selected Files From This List?", [&] {
             search = std::make_unique<FileSearch>(form->context(), std::vector<DriveEntry> {});
             search->lstFileSearch.addRow(u"/data/a.txt"_s);
             search->lstFileSearch.selectRow(0);
             search->RemoveSearchResults();
             EXPECT_EQ(search->lstFileSearch.ListCount(), 1);
         }},
    };
    const auto before = snapshot(data.path());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ui.boxes.clear();
        c.ask();
        const auto box = std::find_if(ui.boxes.begin(), ui.boxes.end(),
            [&](const ShownBox &b) { return b.title == QString::fromUtf8(c.title); });
        ASSERT_NE(box, ui.boxes.end());
        EXPECT_EQ(MsgBox::buttonsOf(box->flags), MsgBox::YesNo);
        EXPECT_TRUE(box->flags & MsgBox::DefaultButton2);
    }
    // The fake answers every box with its default: nothing went.
    EXPECT_EQ(snapshot(data.path()), before);
}

class ProjectCleanupTest : public FormFixture {
protected:
    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta, Old...Stuff", "Project.Topics: Inbox",
            "Projects/Inbox.Files: Letter -> /l", "Projects/Alpha/Alpha.List:",
            "Projects/Alpha/Alpha.Files: P -> /p", "Projects/Beta/Beta.List:", "Projects/Beta/Beta.Files: P -> /p",
            "Projects/Old...Stuff/Old...Stuff.List:", "Projects/Old...Stuff/Old...Stuff.Files: P -> /p"});
        start();
    }

    QStringList folders() const
    {
        return QDir(data.file(u"Projects"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Runs the clean-up, answering its questions in turn (the fake's default answer after).
    void cleanUp(std::deque<int> answers)
    {
        ui.boxes.clear();
        ui.answers = std::move(answers);
        form->run(u"mnuCleanProjects"_s);
    }
};

TEST_F(ProjectCleanupTest, nothingOrphaned_saysSoAndKeepsTheLists)
{
    cleanUp({});
    ASSERT_TRUE(boxesShown(ui, {{u" No Project Files To Clean"_s, u"All Project Files Are Associated With Project Names.      \rNo Unassociated Project Files Found. \r"_s}}));
    EXPECT_EQ(ui.lastBox()->flags, MsgBox::OkOnly | MsgBox::Information);
    EXPECT_EQ(rows(projects()).size(), 3);
}

// An orphan loses the program's own files; what else it holds stays, and the report names it.
TEST_F(ProjectCleanupTest, orphans_loseOnlyTheProgramsFiles)
{
    data.write(u"Projects/Gone/Gone.List"_s, "T\r\n");
    data.write(u"Projects/Gone/T.Files"_s, "x\t/x\r\n");
    data.write(u"Projects/Kept/Kept.Files"_s, "");
    data.write(u"Projects/Kept/thesis.odt"_s, "mine");
    cleanUp({MsgBox::Yes});
    ASSERT_GE(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Cleanup  2 Project Files"_s);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"These  2 Project Files Are No Longer Associated     \r"_s));
    EXPECT_EQ(folders(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Kept"_s, u"Old...Stuff"_s}));
    EXPECT_EQ(data.read(u"Projects/Kept/thesis.odt"_s), QByteArray("mine"));
    EXPECT_FALSE(data.exists(u"Projects/Kept/Kept.Files"_s));
    EXPECT_TRUE(ui.lastBox()->text.contains(data.file(u"Projects/Kept"_s)));
    EXPECT_TRUE(data.exists(u"Projects/Inbox.Files"_s));
    EXPECT_EQ(rows(projects()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Old...Stuff"_s}));
}

// A folder is an orphan only when neither the list on screen nor Project.List names it, compared
// trimmed and without letter case; it is deleted by the name it was listed under; and a name
// holding "..." is a name like any other.
TEST_F(ProjectCleanupTest, foldersANameStillOwns_areNeverOffered)
{
    projects().selectRow(0);
    form->run(u"mnuCutProject"_s);
    clipboard.content = u"Alpha "_s;
    form->run(u"mnuPasteProjectEOF"_s);
    projects().selectRow(0);
    form->run(u"mnuCutProject"_s); // Beta, cut and not yet pasted
    // A folder whose name holds a TAB shows in two columns; its first is not "Alpha".
    data.write(u"Projects/Alpha\tcopy/Alpha\tcopy.List"_s, "");
    data.write(u"Projects/BETA /x.Files"_s, "");
    cleanUp({MsgBox::Yes});
    EXPECT_EQ(ui.boxes[0].title, u" Cleanup  1 Project Files"_s);
    EXPECT_EQ(folders(), (QStringList{u"Alpha"_s, u"BETA "_s, u"Beta"_s, u"Old...Stuff"_s}));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("P\t/p\r\n"));

    // The paste's rebuild kept "Old...Stuff", so after a reload it is still owned.
    start();
    cleanUp({MsgBox::Yes});
    EXPECT_EQ(ui.lastBox()->title, u" No Project Files To Clean"_s);
    EXPECT_EQ(folders().size(), 4);
}

// A folder in the list file's place, or a link that leads nowhere (a sync client's placeholder),
// is a list that cannot be read, not a missing one that names nothing.
TEST_F(ProjectCleanupTest, projectListThatCannotBeRead_refusesAndNamesIt)
{
    data.write(u"Projects/Orphan/Orphan.List"_s, "");
    const QString path = data.file(u"Project.List"_s);
    for (const bool asFolder : {true, false}) {
        SCOPED_TRACE(asFolder ? "folder" : "dangling link");
        ASSERT_TRUE(QFile::remove(path) || QDir().rmdir(path));
        store().dropUnreadableMarks(path); // each case found unreadable on its own
        ASSERT_TRUE(asFolder ? QDir().mkdir(path) : QFile::link(data.file(u"Gone.List"_s), path));
        cleanUp({MsgBox::Yes, MsgBox::Yes});
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.lastBox()->text.contains(path)) << ui.lastBox()->text.toStdString();
        EXPECT_EQ(folders().size(), 4);
        EXPECT_EQ(rows(projects()).size(), 3);
    }
}

TEST_F(ProjectCleanupTest, neverFollowsALinkOutOfTheDataFolder)
{
    TempFolder outside;
    outside.write(u"precious.txt"_s, "keep me");
    outside.write(u"Linked.List"_s, "");
    QFile::link(outside.path(), data.file(u"Projects/Linked"_s));
    cleanUp({MsgBox::Yes, MsgBox::Yes});
    EXPECT_TRUE(outside.exists(u"precious.txt"_s));
    EXPECT_TRUE(outside.exists(u"Linked.List"_s));
}

} // namespace
} // namespace corvanta::test
