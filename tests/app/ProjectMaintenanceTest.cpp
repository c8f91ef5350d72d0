#include "support/DataBuilder.h"
#include "support/FormFixture.h"

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
            namesFrom(names, insertOption)(e);
        };
    }

    void openAlpha() { doubleClick(projects(), 0); }

public:
    // The steps of a case, each handing the test back for the next.
    ProjectMaintenanceTest &alpha() { return openAlpha(), *this; }
    ProjectMaintenanceTest &project(int row) { return projects().selectRow(row), *this; }
    ProjectMaintenanceTest &topic(int row) { return click(topics(), row), *this; }
    ProjectMaintenanceTest &type(const QString &name) { return names = {name}, *this; }
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
        {[&] { alpha().topic(1).run("DeleteTopic"); }, u" Delete Topic: PLANS"_s,
         u"This Will Delete - PLANS - And All Of Its Topic Files!\r"_s, Deletion},
        // A new name holding the marker's dots is refused; a pasted name follows the typed rules.
        {[&] { alpha().topic(2).type(u"Old...Notes"_s).run("mnuTopicPopupRenameTopic"); },
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
    openAlpha();
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
