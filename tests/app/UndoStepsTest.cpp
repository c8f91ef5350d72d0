#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "platform/MsgBox.h"

#include <QTemporaryDir>

#include <deque>
#include <map>

#include <sys/stat.h>

namespace corvanta::test {
namespace {

// Every change to the names, their files and folders is one step: undone, redone and undone
// again, the data folder is byte for byte what it was.
class UndoStepsTest : public FormFixture {
protected:
    std::deque<QString> names;
    bool insertOption = false;
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
        setIni(u"Project List"_s, u"Sort"_s, u"none"_s);
        setIni(u"Topic List"_s, u"Sort"_s, u"none"_s);
        start();
        ui.onPointerEditor = [this](PointerEditor &e) { namesFrom(names, insertOption)(e); };
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
    void openAlpha() { doubleClick(projects(), 0); }
    void selectTopic(const QString &name) { click(topics(), int(rows(topics()).indexOf(name))); }
    QString trashed(const QString &name) const { return share() + u"/Trash/"_s + name; }

public:
    // The steps of a case, each handing the test back for the next.
    UndoStepsTest &alpha(const QString &topic = {})
    {
        openAlpha();
        if (!topic.isEmpty())
            selectTopic(topic);
        return *this;
    }
    UndoStepsTest &project(int row) { return projects().selectRow(row), *this; }
    UndoStepsTest &topic(const QString &name) { return selectTopic(name), *this; }
    UndoStepsTest &type(const QString &name) { return names = {name}, *this; }
    UndoStepsTest &yes() { return ui.answers = {MsgBox::Yes}, *this; }
    UndoStepsTest &run(const char *command)
    {
        return form->run(QString::fromLatin1(command)), *this;
    }
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
         [&] { alpha(u"Plans"_s).type(u"Ideas"_s).run("mnuTopicPopupRenameTopic"); }},
        {u"Delete Project 'Alpha'"_s, [&] { project(0).yes().run("mnuDeleteProject"); }},
        {u"Delete Project 'Beta'"_s, [&] { project(1).yes().run("mnuDeleteProject"); }},
        {u"Delete Topic 'Plans' in 'Alpha'"_s, [&] { alpha(u"Plans"_s).yes().run("DeleteTopic"); }},
        {u"Paste Project 'Beta'"_s,
         [&] { project(1).run("mnuCutProject").project(0).run("mnuPasteProjectRow"); }},
        {u"Paste Topic 'Notes' in 'Alpha'"_s, [&] {
             alpha(u"Notes"_s).run("mnuTopicPopupCutTopicName");
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
    openAlpha();
    selectTopic(u"Plans"_s);
    ui.answers = {MsgBox::Yes};
    form->run(u"DeleteTopic"_s);
    EXPECT_EQ(ui.boxes.size(), 1u); // the question alone: a trash was there
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.List"_s), QByteArray("Notes\r\n"));
    QFile moved(trashed(u"files/Plans.Files"_s));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), QByteArray("One\t/1\r\n"));
    QFile info(trashed(u"info/Plans.Files.trashinfo"_s));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QByteArray trashInfo = info.readAll();
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
    openAlpha();
    selectTopic(u"Plans"_s);
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

} // namespace
} // namespace corvanta::test
