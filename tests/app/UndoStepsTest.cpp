#include "support/FormFixture.h"

#include "platform/MsgBox.h"

#include <QDirIterator>
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
        data.write(u"Project.List"_s, "Alpha\nBeta"); // by hand: a rewrite changes its bytes
        data.write(u"Project.Topics"_s, "Inbox\r\n");
        data.write(u"Projects/Inbox.Files"_s, "Letter\t/l\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\nNotes");
        data.write(u"Projects/Alpha/Alpha.Files"_s, "");
        data.write(u"Projects/Alpha/Plans.Files"_s, "One\t/1\r\n");
        data.write(u"Projects/Alpha/Notes.Files"_s, "Two\t/2");
        data.write(u"Projects/Alpha/letter.odt"_s, "the user's own");
        data.write(u"Projects/Beta/Beta.List"_s, "");
        data.write(u"Projects/Beta/Beta.Files"_s, "Three\t/3\r\n");
        data.write(u"Projects/Orphan/Orphan.List"_s, "Old\r\n");
        data.write(u"Projects/Orphan/Old.Files"_s, "Four\t/4\r\n");
        setIni(u"Project List"_s, u"Sort"_s, u"none"_s);
        setIni(u"Topic List"_s, u"Sort"_s, u"none"_s);
        start();
        ui.onPointerEditor = [this](PointerEditor &e) { namesFrom(names, insertOption)(e); };
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", oldDataHome); }

    // The data folder as files and folders ("name/") with their bytes; the settings aside.
    std::map<QString, QByteArray> folder() const
    {
        std::map<QString, QByteArray> out;
        QDirIterator it(data.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString name = entry.absoluteFilePath().sliced(data.path().size() + 1);
            if (entry.isDir())
                out[name + u'/'];
            else if (name != u"Corvanta.Ini"_s)
                out[name] = data.read(name);
        }
        return out;
    }
    QString undoCaption() const { return form->commands.item(u"mnuUndo"_s)->caption; }
    void openAlpha() { doubleClick(projects(), 0); }
    void selectTopic(const QString &name)
    {
        for (int row = 0; row < topics().ListCount(); ++row) {
            if (topics().columnText(row, 0) == name)
                click(topics(), row);
        }
    }
    QString trashed(const QString &name) const { return share() + u"/Trash/"_s + name; }
};

TEST_F(UndoStepsTest, everyStep_undoesRedoesAndUndoesByteForByte)
{
    struct Case {
        QString step; // the Undo item's caption
        std::function<void()> act;
    };
    const Case cases[] = {
        {u"Create Project 'Gamma'"_s, [&] { names = {u"Gamma"_s}; form->run(u"CreateNewProject"_s); }},
        {u"Create Topic 'Ideas' in 'Alpha'"_s, [&] { openAlpha(); names = {u"Ideas"_s}; form->run(u"CreateNewTopic"_s); }},
        {u"Create Topic 'Mail'"_s, [&] { names = {u"Mail"_s}; form->run(u"CreateNewTopic"_s); }},
        {u"Rename Project 'Alpha'"_s, [&] { projects().selectRow(0); names = {u"Anna"_s}; form->run(u"mnuRenameProject"_s); }},
        {u"Rename Topic 'Plans' in 'Alpha'"_s, [&] {
             openAlpha();
             selectTopic(u"Plans"_s);
             names = {u"Ideas"_s};
             form->run(u"mnuTopicPopupRenameTopic"_s);
         }},
        {u"Delete Project 'Alpha'"_s, [&] { projects().selectRow(0); ui.answers = {MsgBox::Yes}; form->run(u"mnuDeleteProject"_s); }},
        {u"Delete Project 'Beta'"_s, [&] { projects().selectRow(1); ui.answers = {MsgBox::Yes}; form->run(u"mnuDeleteProject"_s); }},
        {u"Delete Topic 'Plans' in 'Alpha'"_s, [&] {
             openAlpha();
             selectTopic(u"Plans"_s);
             ui.answers = {MsgBox::Yes};
             form->run(u"DeleteTopic"_s);
         }},
        {u"Paste Project 'Beta'"_s, [&] {
             projects().selectRow(1);
             form->run(u"mnuCutProject"_s);
             projects().selectRow(0);
             form->run(u"mnuPasteProjectRow"_s);
         }},
        {u"Paste Topic 'Notes' in 'Alpha'"_s, [&] {
             openAlpha();
             selectTopic(u"Notes"_s);
             form->run(u"mnuTopicPopupCutTopicName"_s);
             selectTopic(u"Plans"_s);
             form->run(u"mnuTopicPopupPasteTopicNameAtSelectedRow"_s);
         }},
        {u"Rebuild Project List"_s, [&] { projects().selectRow(0); form->run(u"mnuRebuildProjectList"_s); }},
        {u"Rebuild Topic List in 'Alpha'"_s, [&] { openAlpha(); form->run(u"mnuTopicRebuildTopicList"_s); }},
        {u"Clean Up 1 Project Folder"_s, [&] { ui.answers = {MsgBox::Yes}; form->run(u"mnuCleanProjects"_s); }},
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
