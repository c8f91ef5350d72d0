#include "editor/PointerEditor.h"
#include "platform/MsgBox.h"
#include "store/OwnFiles.h"
#include "support/DataBuilder.h"
#include "support/FileSystemFaults.h"
#include "support/FormFixture.h"

#include <sys/stat.h>

#include <deque>
#include <optional>

namespace corvanta::test {
namespace {

// What goes wrong with the file a save replaces.
enum class Fault { FullDisk, ReadOnly, Unreadable, LinkElsewhere, HardLinked };

class SaveFaultsTest;
using T = SaveFaultsTest;

// One way a user's action replaces a file: what to do first, the command that saves (none: the
// exit), and the file it replaces (plus one it may write before, as a Cut writes Paste.Lst before
// the topic's file).
struct SavePath {
    const char *name;
    QString file;
    const char *command;
    std::function<void(T &)> prepare = {};
    QString writtenFirst = {};
};

class SaveFaultsTest : public FormFixture, public ::testing::WithParamInterface<std::tuple<SavePath, Fault>> {
public:
    std::deque<QString> names; // typed into the name dialog, in order
    bool insertOption = false;
    TempFolder outside;        // beyond the data folder and the home folder

    void lay()
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox",
                              "Project.Files: Home -> /h, Work -> /w", "Projects/Inbox.Files: Letter -> /l",
                              "Projects/Alpha/Alpha.List: Plans, Notes", "Projects/Alpha/Alpha.Files:",
                              "Projects/Alpha/Plans.Files: One -> /1, Two -> /2",
                              "Projects/Alpha/Notes.Files: Three -> /3", "Projects/Beta/Beta.List:",
                              "Paste.Lst: Old -> /o", "Corvanta.Ini:= [User]\r\nName=Tester\r\n"
                              "[Startup Window]\r\nDisplay Window=False\r\n"});
    }

    // The steps a row prepares with, each handing the test back for the next.
    T &type(std::initializer_list<QString> typed, bool insert = false)
    {
        names = typed;
        insertOption = insert;
        ui.onPointerEditor = namesFrom(names, insertOption);
        return *this;
    }
    T &project(int row) { return projects().selectRow(row), *this; }
    T &topicRow(int row) { return topics().selectRow(row), *this; }
    T &plans() { return doubleClick(projects(), 0), click(topics(), 1), *this; }
    T &topic(const QString &name)
    {
        return click(topics(), int(rows(topics()).indexOf(name))), *this;
    }
    T &firstFile() { return click(files(), 0), *this; }
    T &yes() { return ui.answers = {MsgBox::Yes}, *this; }
    T &run(const char *command) { return form->run(QString::fromLatin1(command)), *this; }
    T &missing(const QString &target)
    {
        return shell.results[target] = ShellResult::FileNotFound, *this;
    }
    T &edit(const QString &address, const QString &name)
    {
        ui.onPointerEditor = [address, name](PointerEditor &e) {
            e.setText(e.txtInternetAddress, address);
            if (!name.isEmpty())
                e.setText(e.txtPointerName, name);
            e.cmdSave_Click();
            e.cmdExit_Click(); // a save that failed leaves the editor open
        };
        return *this;
    }
    void step(const SavePath &path)
    {
        path.command ? void(run(path.command)) : form->Form_Unload();
    }
    bool settings() const { return std::get<0>(GetParam()).file == u"Corvanta.Ini"_s; }
    // The failure boxes shown: one that could not save says why.
    int failures() const
    {
        const QString notSaved = settings() ? u" Settings Not Saved"_s : u" File Not Saved"_s;
        return int(std::count_if(ui.boxes.begin(), ui.boxes.end(), [&](const ShownBox &box) {
            return (box.title == notSaved && box.text.contains(u"Could Not Be Saved.     \r"_s)
                    && !box.text.section(u'\r', 1, 1).isEmpty())
                || box.title == u" File Not Read"_s;
        }));
    }
};

void PrintTo(const SavePath &path, std::ostream *out) { *out << path.name; }

const QString projectList = u"Project.List"_s, topicList = u"Project.Topics"_s,
              alphaList = u"Projects/Alpha/Alpha.List"_s, pointers = u"Project.Files"_s,
              ini = u"Corvanta.Ini"_s;
const SavePath savePaths[] = {
    {"new project", projectList, "CreateNewProject", [](T &t) { t.type({u"Gamma"_s}); }},
    {"new project inserted", projectList, "mnuCreateProject",
     [](T &t) { t.type({u"Gamma"_s}, true).project(1); }},
    {"renamed project", projectList, "mnuRenameProject",
     [](T &t) { t.project(0).type({u"Omega"_s}); }},
    {"deleted project", projectList, "mnuDeleteProject", [](T &t) { t.project(1).yes(); }},
    {"pasted project name", projectList, "mnuPasteProjectEOF",
     [](T &t) { t.project(0).run("mnuCutProject"); }},
    {"rebuilt project list", projectList, "mnuRebuildProjectList"},
    {"new topic", topicList, "CreateNewTopic", [](T &t) { t.type({u"Mail"_s}); }},
    {"renamed topic", topicList, "mnuTopicPopupRenameTopic",
     [](T &t) { t.type({u"Post"_s}).topicRow(1); }},
    {"rebuilt topic list", topicList, "mnuTopicRebuildTopicList"},
    {"topic in a project", alphaList, "CreateNewTopic", [](T &t) { t.plans().type({u"Ideas"_s}); }},
    {"topic in a project inserted", alphaList, "mnuTopicPopupAddNewTopic",
     [](T &t) { t.plans().type({u"Ideas"_s}, true); }},
    {"renamed topic in a project", alphaList, "mnuTopicPopupRenameTopic",
     [](T &t) { t.plans().topic(u"Notes"_s).type({u"Memos"_s}); }},
    {"deleted topic", alphaList, "DeleteTopic", [](T &t) { t.plans().topic(u"Notes"_s).yes(); }},
    {"pasted topic name", alphaList, "mnuTopicPopupPasteNameAtEndOfList",
     [](T &t) { t.plans().run("mnuTopicPopupCutTopicName"); }},
    {"rebuilt file list", pointers, "mnuRebuildFileList"},
    {"website added", pointers, "AddWebsite", [](T &t) { t.edit(u"example.com"_s, u"Example"_s); }},
    {"pointer edited", u"Projects/Alpha/Plans.Files"_s, "EditFileData",
     [](T &t) { t.plans().firstFile().edit(u"/elsewhere"_s, {}); }},
    {"pointer removed", pointers, "RemoveSelectedFiles", [](T &t) { t.firstFile().yes(); }},
    // Yes removes the pointer to a missing file: No is the default.
    {"missing pointer removed", pointers, "mnuOpenSelectedFiles",
     [](T &t) { t.missing(u"/h"_s).firstFile().yes(); }},
    {"pointers copied", u"Paste.Lst"_s, "mnuCopyFiles", [](T &t) { t.firstFile(); }},
    {"pointers cut, the pasted list", u"Paste.Lst"_s, "mnuCutFiles", [](T &t) { t.firstFile(); }},
    // The file that gains the pointers is written first: it keeps them when the other fails.
    {"pointers cut, the topic's file", pointers, "mnuCutFiles", [](T &t) { t.firstFile(); },
     u"Paste.Lst"_s},
    {"pointers pasted", pointers, "mnuPasteFiles"},
    {"grid lines", ini, "mnuDisplayLinesInFileList"},
    {"sort order", ini, "mnuSortDescendingProjects"},
    {"font reset", ini, "mnuResetProjectDefaultFont", [](T &t) { t.yes(); }},
    {"exit", ini, nullptr},
};

// Under every fault every save path keeps the data folder's bytes (but for a file the row says
// it writes first), says why it did not save, and leaves nothing half done: a renamed or new
// folder is put back or never made. A file kept also by a hard link (as a backup tool keeps it)
// is replaced by a new file, never truncated in place.
TEST_P(SaveFaultsTest, everySavePath_underEveryFault_keepsTheBytesAndSaysWhy)
{
    const auto &[path, fault] = GetParam();
    std::optional<FullDisk> disk;
    if (fault == Fault::FullDisk)
        disk.emplace(data.path());
    const QString target = data.file(path.file);
    std::optional<WithoutRootOverride> asUser;
    lay();
    if (fault == Fault::Unreadable) {
        ASSERT_TRUE(QFile::setPermissions(target, QFile::WriteOwner));
        asUser.emplace();
    }
    make();
    form->Form_Load();
    if (path.prepare)
        path.prepare(*this);
    asUser.reset(); // the test's own look reads every file
    const auto before = snapshot(data.path());
    const QByteArray old = data.read(path.file);
    if (fault == Fault::Unreadable)
        asUser.emplace();
    const QByteArray outsideFile = QFile::encodeName(outside.file(u"Kept"_s));
    if (fault == Fault::ReadOnly) {
        ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner));
    } else if (fault == Fault::LinkElsewhere || fault == Fault::HardLinked) {
        outside.write(u"Kept"_s, old);
        if (fault == Fault::LinkElsewhere) {
            ASSERT_TRUE(QFile::remove(target) && QFile::link(outside.file(u"Kept"_s), target));
        } else {
            ASSERT_TRUE(QFile::remove(outside.file(u"Kept"_s)));
            ASSERT_EQ(::link(QFile::encodeName(target).constData(), outsideFile.constData()), 0);
        }
    }
    if (fault == Fault::FullDisk) {
        EXPECT_TRUE(disk->onFullDisk([&] {
            step(path);
            return failures() > 0;
        })) << (disk->mode() == FullDisk::Mode::Tmpfs ? "on a full tmpfs" : "under RLIMIT_FSIZE");
    } else {
        step(path);
    }
    asUser.reset();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);

    if (fault == Fault::HardLinked) {
        EXPECT_EQ(failures(), 0);
        struct stat now {}, kept {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &now), 0);
        ASSERT_EQ(::stat(outsideFile.constData(), &kept), 0);
        EXPECT_NE(now.st_ino, kept.st_ino) << "the step saved nothing";
        EXPECT_EQ(outside.read(u"Kept"_s), old);
        return;
    }
    if (fault == Fault::ReadOnly) {
        EXPECT_EQ(failures(), 1) << ui.titles().join(u", "_s).toStdString();
    } else if (fault == Fault::LinkElsewhere) {
        // (An unreadable list shows empty: a step that needs one of its rows finds none to act on.)
        EXPECT_GE(failures(), 1) << ui.titles().join(u", "_s).toStdString();
    }
    // Each box names the file and gives the reason, word for word.
    const QString reason = fault == Fault::ReadOnly ? u"Permission denied"_s
        : fault == Fault::Unreadable ? u"The file could not be read, so it is not replaced."_s
        : u"It is a link to %1, outside the data folder and the home folder."_s.arg(outside.file(u"Kept"_s));
    for (const ShownBox &box : ui.boxes) {
        if (fault == Fault::FullDisk)
            break;
        QString text;
        if (box.title == u" File Not Read"_s)
            text = u"The File  ["_s + target + u"]  Could Not Be Read.     \rPermission denied\r"_s;
        else if (box.title == u" File Not Saved"_s)
            text = u"The File  ["_s + target + u"]  Could Not Be Saved.     \r"_s + reason + u"\r"_s;
        else if (box.title == u" Settings Not Saved"_s)
            text = u"The Settings File  ["_s + target + u"]  Could Not Be Saved.     \r"_s + reason
                 + u"\rChanged Settings Are Not Kept For The Next Start.     \r"_s;
        if (!text.isEmpty()) {
            EXPECT_EQ(box.text, text);
            EXPECT_EQ(box.flags, MsgBox::OkOnly | MsgBox::Exclamation) << box.title.toStdString();
        }
    }
    if (fault == Fault::LinkElsewhere) {
        EXPECT_EQ(outside.read(u"Kept"_s), old);
        EXPECT_TRUE(QFileInfo(target).isSymLink());
    }
    auto after = snapshot(data.path());
    auto expected = before;
    for (const QString &free : {u".filler"_s, path.writtenFirst, settings() ? QString() : u"Corvanta.Ini"_s}) {
        after.erase(free);
        expected.erase(free);
    }
    EXPECT_EQ(after, expected) << "the step left the data folder changed";
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<SavePath, Fault>> &info)
{
    static const char *const faults[] = {"fullDisk", "readOnly", "unreadable", "linkElsewhere", "hardLinked"};
    std::string name = std::string(faults[int(std::get<1>(info.param))]) + "_" + std::get<0>(info.param).name;
    for (char &c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EverySavePath, SaveFaultsTest,
                         ::testing::Combine(::testing::ValuesIn(savePaths),
                                            ::testing::Values(Fault::FullDisk, Fault::ReadOnly, Fault::Unreadable,
                                                              Fault::LinkElsewhere, Fault::HardLinked)),
                         caseName);

// A data folder damaged by hand, by a crash or by another program: the program starts, shows
// what it can, and never replaces what it could not read.
class DamagedDataTest : public FormFixture {
protected:
    void fifo(const QString &relative)
    {
        QDir().mkpath(QFileInfo(data.file(relative)).absolutePath());
        ASSERT_EQ(::mkfifo(QFile::encodeName(data.file(relative)).constData(), 0666), 0);
    }
    bool isFifo(const QString &relative) const
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(data.file(relative)).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    }
    void addWebsite()
    {
        ui.onPointerEditor = [](PointerEditor &e) {
            e.setText(e.txtInternetAddress, u"example.com"_s);
            e.setText(e.txtPointerName, u"Example"_s);
            e.cmdSave_Click();
        };
        form->run(u"AddWebsite"_s);
    }
};

// FIFOs in place of the settings file, the Project List and a topic's file: nothing blocks, the
// lists show empty, each list save is refused and the settings failure is told once.
TEST_F(DamagedDataTest, fifosInPlaceOfFiles_neverBlock_andAreNeverReplaced)
{
    fifo(u"Corvanta.Ini"_s);
    fifo(u"Project.List"_s);
    fifo(u"Projects/Inbox.Files"_s);
    data.write(u"Project.Topics"_s, "Inbox\r\n");
    ui.typed.push_back(u"Ann"_s);
    make();
    form->Form_Load();
    EXPECT_EQ(ui.titles(), QStringList{u" Settings Not Saved"_s});
    EXPECT_TRUE(ui.boxes[0].text.contains(u"The file could not be read, so it is not replaced."_s));
    EXPECT_EQ(projects().ListCount(), 0);

    topics().userMouseDown(1, 1, 0);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Inbox.Files"_s));
    EXPECT_EQ(files().ListCount(), 0);
    form->run(u"mnuSortNoSortFiles"_s);
    addWebsite();
    ui.onPointerEditor = nameDialog(u"Gamma"_s, false);
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(ui.titles(), (QStringList{u" Settings Not Saved"_s, u" File Not Saved"_s, u" File Not Saved"_s}));
    form->Form_Unload();
    EXPECT_EQ(ui.boxes.size(), 3u);
    for (const QString &name : {u"Corvanta.Ini"_s, u"Project.List"_s, u"Projects/Inbox.Files"_s})
        EXPECT_TRUE(isFifo(name)) << name.toStdString();
}

// A settings file that cannot be written: the first failed write of the run says so with the
// system's reason, later ones are quiet, and the next run tells again.
TEST_F(DamagedDataTest, readOnlySettings_toldOncePerRun)
{
    data.write(u"Project.List"_s, "Alpha\r\n");
    setIni(u"User"_s, u"Name"_s, u"Ann"_s);
    setIni(u"Startup Window"_s, u"Display Window"_s, u"False"_s);
    ASSERT_TRUE(QFile::setPermissions(data.file(u"Corvanta.Ini"_s), QFile::ReadOwner));
    const QByteArray before = data.read(u"Corvanta.Ini"_s);
    for (int run = 0; run < 2; ++run) {
        ui.boxes.clear();
        make();
        form->Form_Load(); // writes the missing font keys
        form->run(u"mnuSortDescendingProjects"_s);
        form->Form_Unload();
        ASSERT_EQ(ui.titles(), QStringList{u" Settings Not Saved"_s});
        EXPECT_EQ(ui.boxes[0].text, u"The Settings File  ["_s + data.file(u"Corvanta.Ini"_s)
                                        + u"]  Could Not Be Saved.     \rPermission denied\r"
                                          u"Changed Settings Are Not Kept For The Next Start.     \r"_s);
    }
    EXPECT_EQ(data.read(u"Corvanta.Ini"_s), before);
}

// A hand-edited name of 200,000 characters is refused at once, its box showing 200 of them.
TEST_F(DamagedDataTest, hugeName_isRefusedWithItsFirst200Characters)
{
    const QByteArray name = QByteArray(100000, 'a') + '/' + QByteArray(99999, 'b');
    data.write(u"Project.List"_s, name + "\r\nAlpha\r\n");
    start();
    doubleClick(projects(), 0);
    ASSERT_EQ(ui.titles(), QStringList{u" Invalid Input"_s});
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"The Name  ["_s + QString(200, u'A') + u"...]  Cannot Be Used"_s));
    EXPECT_LT(ui.boxes[0].text.size(), 400);
}

} // namespace
} // namespace corvanta::test
