#include "editor/PointerEditor.h"
#include "platform/MsgBox.h"
#include "support/FileSystemFaults.h"
#include "support/FormFixture.h"

#include <QDir>

#include <sys/stat.h>

#include <deque>
#include <optional>

namespace corvanta::test {
namespace {

// One way a user's action replaces a file: what to set up while the disk has room, the step
// that saves, and the file it replaces.
struct SavePath {
    const char *name;
    QString file;
    bool settings; // the settings file: " Settings Not Saved" rather than " File Not Saved"
    std::function<void(class SaveSafetyTest &)> prepare;
    std::function<void(class SaveSafetyTest &)> step;
};

void PrintTo(const SavePath &path, std::ostream *out) { *out << path.name; }

class SaveSafetyTest : public FormFixture, public ::testing::WithParamInterface<SavePath> {
public:
    using FormFixture::data;
    using FormFixture::doubleClick;
    using FormFixture::form;
    using FormFixture::projects;
    using FormFixture::topics;
    using FormFixture::shell;
    using FormFixture::ui;
    std::deque<QString> names; // typed into the name dialog, in order
    bool insertOption = false;

    void lay()
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\n");
        data.write(u"Project.Files"_s, "Home\t/h\r\nWork\t/w\r\n");
        data.write(u"Projects/Inbox.Files"_s, "Letter\t/l\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\n");
        data.write(u"Projects/Alpha/Alpha.Files"_s, "");
        data.write(u"Projects/Alpha/Plans.Files"_s, "One\t/1\r\n");
        start();
    }

    // The name dialog played by a script, for the project and topic commands.
    void playNames(std::initializer_list<QString> typed, bool insert = false)
    {
        names = typed;
        insertOption = insert;
        ui.onPointerEditor = namesFrom(names, insertOption);
    }

    void selectFile(int row)
    {
        files().deselectAll();
        files().setRow(row);
        files().setListIndex(row);
        files().setSelected(true);
    }

    bool shownFailure(bool settings) const
    {
        const QString title = settings ? u" Settings Not Saved"_s : u" File Not Saved"_s;
        for (const ShownBox &box : ui.boxes) {
            if (box.title == title && box.text.contains(u"Could Not Be Saved.     \r"_s)
                && !box.text.section(u'\r', 1, 1).isEmpty())
                return true;
        }
        return false;
    }
};

const SavePath savePaths[] = {
    {"new project", u"Project.List"_s, false,
     [](SaveSafetyTest &t) { t.playNames({u"Gamma"_s}); },
     [](SaveSafetyTest &t) { t.form->run(u"CreateNewProject"_s); }},
    {"new project inserted", u"Project.List"_s, false,
     [](SaveSafetyTest &t) {
         t.playNames({u"Gamma"_s}, true);
         t.projects().selectRow(0);
     },
     [](SaveSafetyTest &t) { t.form->run(u"CreateNewProject"_s); }},
    {"new topic", u"Project.Topics"_s, false,
     [](SaveSafetyTest &t) { t.playNames({u"Mail"_s}); },
     [](SaveSafetyTest &t) { t.form->run(u"CreateNewTopic"_s); }},
    {"renamed topic", u"Project.Topics"_s, false,
     [](SaveSafetyTest &t) {
         t.playNames({u"Post"_s});
         t.topics().selectRow(1);
     },
     [](SaveSafetyTest &t) { t.form->run(u"mnuTopicPopupRenameTopic"_s); }},
    {"topic in a project", u"Projects/Alpha/Alpha.List"_s, false,
     [](SaveSafetyTest &t) {
         SaveSafetyTest::doubleClick(t.projects(), 0);
         t.playNames({u"Costs"_s});
     },
     [](SaveSafetyTest &t) { t.form->run(u"CreateNewTopic"_s); }},
    {"rebuilt project list", u"Project.List"_s, false, {},
     [](SaveSafetyTest &t) { t.form->run(u"mnuRebuildProjectList"_s); }},
    {"rebuilt topic list", u"Project.Topics"_s, false, {},
     [](SaveSafetyTest &t) { t.form->run(u"mnuTopicRebuildTopicList"_s); }},
    {"rebuilt file list", u"Project.Files"_s, false, {},
     [](SaveSafetyTest &t) { t.form->run(u"mnuRebuildFileList"_s); }},
    {"pointer added", u"Project.Files"_s, false,
     [](SaveSafetyTest &t) {
         t.ui.onPointerEditor = [](PointerEditor &e) {
             e.setText(e.txtInternetAddress, u"example.com"_s);
             e.setText(e.txtPointerName, u"Example"_s);
             e.cmdSave_Click();
         };
     },
     [](SaveSafetyTest &t) { t.form->run(u"AddWebsite"_s); }},
    {"pointer removed", u"Project.Files"_s, false,
     [](SaveSafetyTest &t) {
         t.selectFile(0);
         t.ui.answers.push_back(MsgBox::Yes);
     },
     [](SaveSafetyTest &t) { t.form->run(u"RemoveSelectedFiles"_s); }},
    {"missing pointer removed", u"Project.Files"_s, false,
     [](SaveSafetyTest &t) {
         t.shell.results[u"/h"_s] = ShellResult::FileNotFound;
         t.selectFile(0);
         t.ui.answers.push_back(MsgBox::Yes); // remove it: No is the default
     },
     [](SaveSafetyTest &t) { t.form->run(u"mnuOpenSelectedFiles"_s); }},
    {"pointers copied", u"Paste.Lst"_s, false,
     [](SaveSafetyTest &t) {
         t.data.write(u"Paste.Lst"_s, "Old\t/o\r\n");
         t.selectFile(0);
     },
     [](SaveSafetyTest &t) { t.form->run(u"mnuCopyFiles"_s); }},
    {"pointers cut", u"Paste.Lst"_s, false,
     [](SaveSafetyTest &t) {
         t.data.write(u"Paste.Lst"_s, "Old\t/o\r\n");
         t.selectFile(0);
     },
     [](SaveSafetyTest &t) { t.form->run(u"mnuCutFiles"_s); }},
    {"pointers pasted", u"Project.Files"_s, false,
     [](SaveSafetyTest &t) { t.data.write(u"Paste.Lst"_s, "New\t/n\r\n"); },
     [](SaveSafetyTest &t) { t.form->run(u"mnuPasteFiles"_s); }},
    {"grid lines", u"Corvanta.Ini"_s, true, {},
     [](SaveSafetyTest &t) { t.form->run(u"mnuDisplayLinesInFileList"_s); }},
    {"sort order", u"Corvanta.Ini"_s, true, {},
     [](SaveSafetyTest &t) { t.form->run(u"mnuSortDescendingProjects"_s); }},
    {"exit", u"Corvanta.Ini"_s, true, {},
     [](SaveSafetyTest &t) { t.form->Form_Unload(); }},
};

// On a really full disk every save path keeps the file's old bytes and says why.
TEST_P(SaveSafetyTest, fullDisk_keepsOldBytesAndSaysWhy)
{
    const SavePath &path = GetParam();
    FullDisk disk(data.path());
    lay();
    if (path.prepare)
        path.prepare(*this);
    const QByteArray before = data.read(path.file);
    ASSERT_FALSE(before.isEmpty());
    const bool told = disk.onFullDisk([&] {
        path.step(*this);
        return shownFailure(path.settings);
    });
    EXPECT_TRUE(told) << (disk.mode() == FullDisk::Mode::Tmpfs ? "on a full tmpfs" : "under RLIMIT_FSIZE");
    EXPECT_EQ(data.read(path.file), before);
}

// Every save replaces the file by a new one: a second name for the old file (a hard link, as a
// backup tool might keep) still holds the old bytes. A save that truncated in place would not.
TEST_P(SaveSafetyTest, save_replacesTheFileNeverTruncatesInPlace)
{
    const SavePath &path = GetParam();
    lay();
    if (path.prepare)
        path.prepare(*this);
    TempFolder keep;
    const QByteArray file = QFile::encodeName(data.file(path.file));
    const QByteArray before = data.read(path.file);
    ASSERT_EQ(::link(file.constData(), QFile::encodeName(keep.file(u"old"_s)).constData()), 0);
    path.step(*this);
    EXPECT_FALSE(shownFailure(path.settings));
    struct stat now {}, old {};
    ASSERT_EQ(::stat(file.constData(), &now), 0);
    ASSERT_EQ(::stat(QFile::encodeName(keep.file(u"old"_s)).constData(), &old), 0);
    EXPECT_NE(now.st_ino, old.st_ino) << "the step saved nothing";
    EXPECT_EQ(keep.read(u"old"_s), before);
}

INSTANTIATE_TEST_SUITE_P(EverySavePath, SaveSafetyTest, ::testing::ValuesIn(savePaths),
                         [](const ::testing::TestParamInfo<SavePath> &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
} // namespace corvanta::test
