#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/FileSystemFaults.h"

#include <deque>

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
    QList<EditorMode> modes;


    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox", "Projects/Inbox.Files: Letter -> /l",
                              "Projects/Alpha/Alpha.List: Plans, Notes", "Projects/Alpha/Alpha.Files:",
                              "Projects/Alpha/Plans.Files: One -> /1", "Projects/Alpha/Notes.Files: Two -> /2",
                              "Projects/Beta/Beta.List:", "Projects/Beta/Beta.Files:"});
        setIni(u"Project List"_s, u"Sort"_s, u"none"_s);
        setIni(u"Topic List"_s, u"Sort"_s, u"none"_s);
        restart();
    }

    void restart()
    {
        start();
        ui.onPointerEditor = [this](PointerEditor &e) {
            ++dialogs;
            modes << e.mode();
            namesFrom(names, insertOption)(e);
        };
    }

    void openAlpha() { doubleClick(projects(), 0); }
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
        {[&] { names = {u"ALPHA"_s}; form->run(u"CreateNewProject"_s); }, u" Duplicate Project Name: ALPHA"_s,
         u"You Have Selected A Duplicate Project Name.     \rALPHA Is Already On File.\r"_s, Refusal},
        {[&] {
             data.write(u"Projects/Delta/keep.txt"_s, "x");
             names = {u"Delta"_s};
             form->run(u"CreateNewProject"_s);
         }, u" Duplicate Name: DELTA"_s,
         u"This Project Name - DELTA - Is Already On File.     \rPlease Select Another Name.\r"_s, Refusal},
        {[&] {
             openAlpha();
             names = {u"alpha"_s};
             form->run(u"CreateNewTopic"_s);
         }, u" Duplicate Topic Name: ALPHA"_s, u"You Have Selected A Duplicate Topic Name."_s, Refusal},
        {[&] {
             QDir(data.file(u"Projects/Beta"_s)).removeRecursively();
             projects().selectRow(1);
             form->run(u"mnuRenameProject"_s);
         }, u" Project  [BETA]  Not Found"_s,
         u"The Project You Are Trying to Rename Does Not Exist.     \rRight Click Your Mouse And Select 'Delete' To "
         "Delete This Name,     \rOr Double Click This Project Name To Create Project Files.\r\rDo You Want To "
         "Delete  [Beta]  Now?\r"_s, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2},
        {[&] {
             form->menuClick(u"mnuSortDescendingProjects"_s);
             form->run(u"mnuRenameProject"_s);
         }, u" Incorrect Sort Order"_s,
         u"This Option Will Rebuild Your Project List. Therefore,     \rYou Must Sort The Project List In 'No "
         "Sort' Order.\r\rDo You Want Corvanta To Execute 'No Sort'?\r"_s, MsgBox::YesNo | MsgBox::Exclamation},
        {[&] {
             projects().selectRow(1);
             form->run(u"mnuDeleteProject"_s);
         }, u" Delete Project: Beta"_s, u"This Will Delete - BETA - And All Of Its Project Files!\r"_s, Deletion},
        {[&] {
             openAlpha();
             click(topics(), 1);
             form->run(u"DeleteTopic"_s);
         }, u" Delete Topic: PLANS"_s, u"This Will Delete - PLANS - And All Of Its Topic Files!\r"_s, Deletion},
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
    }
}

// --- creating ---

TEST_F(ProjectMaintenanceTest, unsafeNames_areRefusedAndNothingIsCreatedOutside)
{
    names = {u"../escape"_s, u".."_s, u"a...b"_s, u"tab\there"_s, u"back\\slash"_s, u"   "_s};
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

// Words that mean "cancel" elsewhere are names like any other.
TEST_F(ProjectMaintenanceTest, cancelWords_areNamesLikeAnyOther)
{
    names = {u"cancel"_s};
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\ncancel\r\n"));
    openAlpha();
    names = {u"CancelAll"_s};
    form->run(u"CreateNewTopic"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Plans\r\nNotes\r\nCancelAll\r\n"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ProjectMaintenanceTest, nameTooLongForTheFileSystem_isReportedAndNothingIsHalfMade)
{
    names = {QString(252, u'x')};
    form->run(u"CreateNewProject"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].title.startsWith(u" Error "_s));
    EXPECT_FALSE(ui.boxes[0].text.isEmpty());
    EXPECT_FALSE(data.exists(u"Projects/"_s + QString(252, u'x')));
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
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
}

// --- renaming ---

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
    names = {u"Old...Notes"_s};
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
        SetUp();
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
    expectFolder(data.file(u"Projects/Alpha"_s), {"Alpha.List: Notes, Plans, Schemes", "Alpha.Files:",
        "Notes.Files: Two -> /2", "Plans.Files: One -> /1", "Schemes.Files: One -> /1"});

    // A hand-edited topic of the project's own name shares the project row's file.
    data.write(u"Projects/Alpha/Alpha.Files"_s, "Own\t/own\r\n");
    data.write(u"Projects/Alpha/Alpha.List"_s, "Notes\r\nAlpha\r\n");
    form->run(u"LoadEntryScreen"_s);
    openAlpha();
    click(topics(), 2);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("Own\t/own\r\n"));
}

// --- deleting ---

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
}

// --- moving names ---

// A pasted name follows the rules of a typed one, with the boxes typing it shows; only the same
// topic name pasted again is let through, to share its file.
TEST_F(ProjectMaintenanceTest, pastedNames_followTheRulesOfTypedNames)
{
    struct Case {
        bool project; // the Project List's paste, else the Topic List's in Alpha
        QString clipboard;
        QString title; // the box shown, "" for none
        QByteArray stored;
    };
    const QByteArray projectsBefore = "Alpha\r\nBeta\r\n";
    const QByteArray topicsBefore = "Plans\r\nNotes\r\n";
    const Case cases[] = {
        {true, u"Bad/Name"_s, u" Invalid Input"_s, projectsBefore},
        {true, u".."_s, u" Invalid Input"_s, projectsBefore},
        {true, u"Two\nLines"_s, u" Invalid Input"_s, projectsBefore},
        {true, u" ..."_s, u" Invalid Input"_s, projectsBefore},
        {true, u"https://example.org/x"_s, u" Invalid Input"_s, projectsBefore},
        {true, u"alpha"_s, u" Duplicate Project Name: ALPHA"_s, projectsBefore},
        {true, u" Gamma \r\n"_s, QString(), "Alpha\r\nBeta\r\nGamma\r\n"},
        {false, u"Bad/Name"_s, u" Invalid Input"_s, topicsBefore},
        {false, u"ALPHA"_s, u" Duplicate Topic Name: ALPHA"_s, topicsBefore},
        {false, u"plans"_s, u" Duplicate Topic Name: PLANS"_s, topicsBefore},
        {false, u"Plans"_s, QString(), "Plans\r\nNotes\r\nPlans\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.clipboard.toStdString());
        SetUp();
        if (!c.project)
            openAlpha();
        ui.boxes.clear();
        clipboard.content = c.clipboard;
        form->run(c.project ? u"mnuPasteProjectEOF"_s : u"mnuTopicPopupPasteNameAtEndOfList"_s);
        EXPECT_EQ(ui.titles(), c.title.isEmpty() ? QStringList() : QStringList{c.title});
        EXPECT_EQ(data.read(c.project ? u"Project.List"_s : u"Projects/Alpha/Alpha.List"_s), c.stored);
        EXPECT_EQ(data.stray(), QStringList());
    }
}

// Another program's text on the clipboard is not pasted over a cut name: the name stays pending,
// owning its folder against clean-up even once the list was written without it, until pasted.
TEST_F(ProjectMaintenanceTest, cutNameWithTheClipboardChanged_staysPendingUntilPasted)
{
    projects().setListIndex(0);
    form->run(u"mnuCutProject"_s);
    clipboard.content = u"https://example.org/elsewhere"_s;
    form->run(u"mnuPasteProjectEOF"_s);
    EXPECT_EQ(ui.titles(), QStringList{u" Clipboard Changed"_s});
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\nBeta\r\n"));
    EXPECT_EQ(clipboard.content, u"Alpha"_s);

    projects().selectRow(0);
    ui.answers = {MsgBox::Yes};
    form->run(u"mnuDeleteProject"_s); // Beta; the list written holds no Alpha
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray(""));
    ui.boxes.clear();
    ui.answers = {MsgBox::Yes, MsgBox::Yes};
    form->run(u"mnuCleanProjects"_s);
    EXPECT_EQ(ui.titles(), QStringList{u" No Project Files To Clean"_s});
    EXPECT_TRUE(data.exists(u"Projects/Alpha/Plans.Files"_s));

    form->run(u"mnuPasteProjectEOF"_s);
    EXPECT_EQ(data.read(u"Project.List"_s), QByteArray("Alpha\r\n"));
}

// A topic that cannot be opened never leaves the File List on another topic's file, where the next
// pointer would go to a file no list names.
TEST_F(ProjectMaintenanceTest, refusedOpen_showsTheProjectRowsOwnFileList)
{
    data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\nBad/Name\r\n");
    data.write(u"Projects/Alpha/Alpha.Files"_s, "Own\t/own\r\n");
    openAlpha();
    click(topics(), 1);
    ASSERT_EQ(rows(files()), QStringList{u"One\t/1"_s});
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(ui.lastBox()->title, u" Invalid Input"_s);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Alpha/Alpha.Files"_s));
    EXPECT_EQ(rows(files()), QStringList{u"Own\t/own"_s});
    EXPECT_EQ(topics().ListIndex(), 0);
}

} // namespace
} // namespace corvanta::test
