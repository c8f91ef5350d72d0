#include "editor/PointerEditor.h"
#include "platform/MsgBox.h"
#include "support/FormFixture.h"

#include <QDir>

#include <algorithm>
#include <deque>

namespace corvanta::test {
namespace {

using Play = std::function<void(PointerEditor &)>;

// Every operation that writes a list file, with that file read-only: each shows " File Not
// Saved", leaves the old bytes, and leaves nothing on disk half done.
class FileNotSavedTest : public FormFixture {
protected:
    std::deque<Play> plays; // the user in each editor shown, in turn

    // A fresh data folder each time: every case starts from the same files.
    void SetUp() override
    {
        program.reset();
        QDir(data.path()).removeRecursively();
        QDir().mkpath(data.path());
        shell.defaultResult = ShellResult::Success;
        ui.answers.clear();
        plays.clear();
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\nNotes\r\n");
        data.write(u"Projects/Alpha/Alpha.Files"_s, "");
        data.write(u"Projects/Alpha/Plans.Files"_s, "One\t/1\r\nTwo\t/2\r\n");
        data.write(u"Projects/Alpha/Notes.Files"_s, "Three\t/3\r\n");
        data.write(u"Projects/Beta/Beta.List"_s, "");
        start();
        ui.onPointerEditor = [this](PointerEditor &e) {
            if (!plays.empty()) {
                const Play play = plays.front();
                plays.pop_front();
                play(e);
            }
            e.cmdExit_Click(); // a save that failed leaves the editor open
        };
        doubleClick(projects(), 0);
        click(topics(), 1); // Plans
    }

    void selectRow(ListControl &list, const QString &firstColumn)
    {
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.columnText(i, 0) == firstColumn)
                click(list, i);
        }
    }
};

TEST_F(FileNotSavedTest, everyListWriter_reportsAndKeepsTheOldBytes)
{
    const QString projectList = u"Project.List"_s;
    const QString topicList = u"Projects/Alpha/Alpha.List"_s;
    const QString fileList = u"Projects/Alpha/Plans.Files"_s;
    struct Case {
        const char *what;
        QString target;
        std::function<void()> act;
        QStringList present; // still on disk afterwards
        QStringList absent;  // never made, or moved back
    };
    const Case cases[] = {
        {"new project, appended", projectList, [&] {
             plays = {nameDialog(u"Gamma"_s, false)};
             form->run(u"CreateNewProject"_s);
         }, {}, {u"Projects/Gamma"_s}},
        {"new project, inserted", projectList, [&] {
             projects().selectRow(1);
             plays = {nameDialog(u"Gamma"_s, true)};
             form->run(u"mnuCreateProject"_s);
         }, {}, {u"Projects/Gamma"_s}},
        {"new topic, appended", topicList, [&] {
             plays = {nameDialog(u"Ideas"_s, false)};
             form->run(u"CreateNewTopic"_s);
         }, {}, {u"Projects/Alpha/Ideas.Files"_s}},
        {"new topic, inserted", topicList, [&] {
             plays = {nameDialog(u"Ideas"_s, true)};
             form->run(u"mnuTopicPopupAddNewTopic"_s);
         }, {}, {u"Projects/Alpha/Ideas.Files"_s}},
        {"rename project", projectList, [&] {
             projects().selectRow(0);
             plays = {nameDialog(u"Omega"_s, false)};
             form->run(u"mnuRenameProject"_s);
         }, {u"Projects/Alpha/Alpha.List"_s, u"Projects/Alpha/Plans.Files"_s}, {u"Projects/Omega"_s}},
        {"rename topic", topicList, [&] {
             selectRow(topics(), u"Notes"_s);
             plays = {nameDialog(u"Memos"_s, false)};
             form->run(u"mnuTopicPopupRenameTopic"_s);
         }, {u"Projects/Alpha/Notes.Files"_s}, {u"Projects/Alpha/Memos.Files"_s}},
        {"delete project", projectList, [&] {
             projects().selectRow(1);
             ui.answers = {MsgBox::Yes};
             form->run(u"mnuDeleteProject"_s);
         }, {u"Projects/Beta/Beta.List"_s}, {}},
        {"delete topic", topicList, [&] {
             selectRow(topics(), u"Notes"_s);
             ui.answers = {MsgBox::Yes};
             form->run(u"DeleteTopic"_s);
         }, {u"Projects/Alpha/Notes.Files"_s}, {}},
        {"paste a project name", projectList, [&] {
             projects().selectRow(0);
             form->run(u"mnuCutProject"_s);
             form->run(u"mnuPasteProjectEOF"_s);
         }, {}, {}},
        {"paste a topic name", topicList, [&] {
             selectRow(topics(), u"Plans"_s);
             form->run(u"mnuTopicPopupCutTopicName"_s);
             form->run(u"mnuTopicPopupPasteNameAtEndOfList"_s);
         }, {}, {}},
        {"rebuild the Project List", projectList, [&] { form->run(u"mnuRebuildProjectList"_s); }, {}, {}},
        {"rebuild the Topic List", topicList, [&] { form->run(u"mnuTopicRebuildTopicList"_s); }, {}, {}},
        {"rebuild the File List", fileList, [&] { form->run(u"mnuRebuildFileList"_s); }, {}, {}},
        {"remove a pointer", fileList, [&] {
             click(files(), 0);
             ui.answers = {MsgBox::Yes};
             form->run(u"RemoveSelectedFiles"_s);
         }, {}, {}},
        {"remove a missing pointer", fileList, [&] {
             shell.defaultResult = ShellResult::FileNotFound;
             ui.answers = {MsgBox::Yes};
             doubleClick(files(), 1);
         }, {}, {}},
        {"add a website", fileList, [&] {
             plays = {[](PointerEditor &e) {
                 e.setText(e.txtInternetAddress, u"example.org"_s);
                 e.setText(e.txtPointerName, u"Example"_s);
                 e.cmdSave_Click();
             }};
             form->run(u"AddWebsite"_s);
         }, {}, {}},
        {"edit a pointer", fileList, [&] {
             click(files(), 0);
             plays = {[](PointerEditor &e) {
                 e.setText(e.txtInternetAddress, u"/elsewhere"_s);
                 e.cmdSave_Click();
             }};
             form->run(u"EditFileData"_s);
         }, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        const QByteArray before = data.read(c.target);
        ASSERT_TRUE(QFile::setPermissions(data.file(c.target), QFile::ReadOwner | QFile::ReadGroup));
        ui.boxes.clear();
        c.act();
        const auto notSaved = std::count_if(ui.boxes.begin(), ui.boxes.end(),
                                            [](const ShownBox &b) { return b.title == u" File Not Saved"_s; });
        EXPECT_EQ(notSaved, 1);
        EXPECT_EQ(data.read(c.target), before);
        for (const QString &path : c.present)
            EXPECT_TRUE(data.exists(path)) << path.toStdString();
        for (const QString &path : c.absent)
            EXPECT_FALSE(data.exists(path)) << path.toStdString();
        QFile::setPermissions(data.file(c.target), QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace
} // namespace corvanta::test
