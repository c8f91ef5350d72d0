#include "editor/PointerEditor.h"
#include "platform/MsgBox.h"
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

// One way a user's action replaces a file: what to do first, the step that saves, and the file
// it replaces (plus one it may write before, as a Cut writes Paste.Lst before the topic's file).
struct SavePath {
    const char *name;
    QString file;
    std::function<void(class SaveFaultsTest &)> prepare;
    std::function<void(class SaveFaultsTest &)> step;
    QString writtenFirst = {};
};

class SaveFaultsTest : public FormFixture, public ::testing::WithParamInterface<std::tuple<SavePath, Fault>> {
public:
    using FormFixture::click;
    using FormFixture::doubleClick;
    using FormFixture::files;
    using FormFixture::form;
    using FormFixture::projects;
    using FormFixture::shell;
    using FormFixture::topics;
    using FormFixture::ui;
    using FormFixture::data;
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
                              "Paste.Lst: Old -> /o"});
        setIni(u"User"_s, u"Name"_s, u"Tester"_s);
        setIni(u"Startup Window"_s, u"Display Window"_s, u"False"_s);
    }

    void typeNames(std::initializer_list<QString> typed, bool insert = false)
    {
        names = typed;
        insertOption = insert;
        ui.onPointerEditor = namesFrom(names, insertOption);
    }
    void openPlans()
    {
        doubleClick(projects(), 0);
        click(topics(), 1);
    }
    void selectRow(ListControl &list, const QString &firstColumn)
    {
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.columnText(i, 0) == firstColumn)
                click(list, i);
        }
    }
    void editPointer(const QString &address, const QString &name)
    {
        ui.onPointerEditor = [address, name](PointerEditor &e) {
            e.setText(e.txtInternetAddress, address);
            if (!name.isEmpty())
                e.setText(e.txtPointerName, name);
            e.cmdSave_Click();
            e.cmdExit_Click(); // a save that failed leaves the editor open
        };
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

const SavePath savePaths[] = {
    {"new project", u"Project.List"_s, [](SaveFaultsTest &t) { t.typeNames({u"Gamma"_s}); },
     [](SaveFaultsTest &t) { t.form->run(u"CreateNewProject"_s); }},
    {"new project inserted", u"Project.List"_s,
     [](SaveFaultsTest &t) {
         t.typeNames({u"Gamma"_s}, true);
         t.projects().selectRow(1);
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuCreateProject"_s); }},
    {"renamed project", u"Project.List"_s,
     [](SaveFaultsTest &t) {
         t.projects().selectRow(0);
         t.typeNames({u"Omega"_s});
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuRenameProject"_s); }},
    {"deleted project", u"Project.List"_s,
     [](SaveFaultsTest &t) {
         t.projects().selectRow(1);
         t.ui.answers = {MsgBox::Yes};
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuDeleteProject"_s); }},
    {"pasted project name", u"Project.List"_s,
     [](SaveFaultsTest &t) {
         t.projects().selectRow(0);
         t.form->run(u"mnuCutProject"_s);
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuPasteProjectEOF"_s); }},
    {"rebuilt project list", u"Project.List"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuRebuildProjectList"_s); }},
    {"new topic", u"Project.Topics"_s, [](SaveFaultsTest &t) { t.typeNames({u"Mail"_s}); },
     [](SaveFaultsTest &t) { t.form->run(u"CreateNewTopic"_s); }},
    {"renamed topic", u"Project.Topics"_s,
     [](SaveFaultsTest &t) {
         t.typeNames({u"Post"_s});
         t.topics().selectRow(1);
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuTopicPopupRenameTopic"_s); }},
    {"rebuilt topic list", u"Project.Topics"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuTopicRebuildTopicList"_s); }},
    {"topic in a project", u"Projects/Alpha/Alpha.List"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         t.typeNames({u"Ideas"_s});
     },
     [](SaveFaultsTest &t) { t.form->run(u"CreateNewTopic"_s); }},
    {"topic in a project inserted", u"Projects/Alpha/Alpha.List"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         t.typeNames({u"Ideas"_s}, true);
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuTopicPopupAddNewTopic"_s); }},
    {"renamed topic in a project", u"Projects/Alpha/Alpha.List"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         t.selectRow(t.topics(), u"Notes"_s);
         t.typeNames({u"Memos"_s});
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuTopicPopupRenameTopic"_s); }},
    {"deleted topic", u"Projects/Alpha/Alpha.List"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         t.selectRow(t.topics(), u"Notes"_s);
         t.ui.answers = {MsgBox::Yes};
     },
     [](SaveFaultsTest &t) { t.form->run(u"DeleteTopic"_s); }},
    {"pasted topic name", u"Projects/Alpha/Alpha.List"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         t.form->run(u"mnuTopicPopupCutTopicName"_s);
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuTopicPopupPasteNameAtEndOfList"_s); }},
    {"rebuilt file list", u"Project.Files"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuRebuildFileList"_s); }},
    {"website added", u"Project.Files"_s,
     [](SaveFaultsTest &t) { t.editPointer(u"example.com"_s, u"Example"_s); },
     [](SaveFaultsTest &t) { t.form->run(u"AddWebsite"_s); }},
    {"pointer edited", u"Projects/Alpha/Plans.Files"_s,
     [](SaveFaultsTest &t) {
         t.openPlans();
         SaveFaultsTest::click(t.files(), 0);
         t.editPointer(u"/elsewhere"_s, {});
     },
     [](SaveFaultsTest &t) { t.form->run(u"EditFileData"_s); }},
    {"pointer removed", u"Project.Files"_s,
     [](SaveFaultsTest &t) {
         SaveFaultsTest::click(t.files(), 0);
         t.ui.answers = {MsgBox::Yes};
     },
     [](SaveFaultsTest &t) { t.form->run(u"RemoveSelectedFiles"_s); }},
    {"missing pointer removed", u"Project.Files"_s,
     [](SaveFaultsTest &t) {
         t.shell.results[u"/h"_s] = ShellResult::FileNotFound;
         SaveFaultsTest::click(t.files(), 0);
         t.ui.answers = {MsgBox::Yes}; // remove it: No is the default
     },
     [](SaveFaultsTest &t) { t.form->run(u"mnuOpenSelectedFiles"_s); }},
    {"pointers copied", u"Paste.Lst"_s, [](SaveFaultsTest &t) { SaveFaultsTest::click(t.files(), 0); },
     [](SaveFaultsTest &t) { t.form->run(u"mnuCopyFiles"_s); }},
    {"pointers cut, the pasted list", u"Paste.Lst"_s, [](SaveFaultsTest &t) { SaveFaultsTest::click(t.files(), 0); },
     [](SaveFaultsTest &t) { t.form->run(u"mnuCutFiles"_s); }},
    // The file that gains the pointers is written first: it keeps them when the other fails.
    {"pointers cut, the topic's file", u"Project.Files"_s, [](SaveFaultsTest &t) { SaveFaultsTest::click(t.files(), 0); },
     [](SaveFaultsTest &t) { t.form->run(u"mnuCutFiles"_s); }, u"Paste.Lst"_s},
    {"pointers pasted", u"Project.Files"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuPasteFiles"_s); }},
    {"grid lines", u"Corvanta.Ini"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuDisplayLinesInFileList"_s); }},
    {"sort order", u"Corvanta.Ini"_s, {},
     [](SaveFaultsTest &t) { t.form->run(u"mnuSortDescendingProjects"_s); }},
    {"font reset", u"Corvanta.Ini"_s, [](SaveFaultsTest &t) { t.ui.answers = {MsgBox::Yes}; },
     [](SaveFaultsTest &t) { t.form->run(u"mnuResetProjectDefaultFont"_s); }},
    {"exit", u"Corvanta.Ini"_s, {}, [](SaveFaultsTest &t) { t.form->Form_Unload(); }},
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
            path.step(*this);
            return failures() > 0;
        })) << (disk->mode() == FullDisk::Mode::Tmpfs ? "on a full tmpfs" : "under RLIMIT_FSIZE");
    } else {
        path.step(*this);
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
    for (const auto &[file, bytes] : expected) {
        const auto found = after.find(file);
        if (found == after.end())
            ADD_FAILURE() << "gone: " << file.toStdString();
        else if (found->second != bytes)
            ADD_FAILURE() << file.toStdString() << " changed:\n" << built::diff(bytes, found->second);
    }
    for (const auto &[file, bytes] : after)
        if (!expected.count(file))
            ADD_FAILURE() << "made: " << file.toStdString();
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

} // namespace
} // namespace corvanta::test
