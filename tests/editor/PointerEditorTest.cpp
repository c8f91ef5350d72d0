#include "editor/PointerEditor.h"
#include "filelist/FileListCommands.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/DataBuilder.h"
#include "support/FakeFileDialogs.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace corvanta::test {
namespace {

using Play = std::function<void(PointerEditor &)>;

class PointerEditorTest : public FormFixture
{
protected:
    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Garden, House", "Project.Files: Alpha -> /home/u/alpha.txt, "
            "Beta -> http://example.com, Gamma -> mailto:g@example.com, Delta -> /home/u/delta.odt, "
            "Epsilon -> /home/u/eps.txt"});
        start();
    }

    // Opens the editor in mode as a command does; play acts as the user while it is open.
    EditorResult open(EditorMode mode, const Play &play)
    {
        ui.onPointerEditor = [this, play](PointerEditor &e) {
            editorRow = e.row();
            play(e);
        };
        return program->fileListCommands().showEditor({mode, addFilePath, addSelections});
    }
    QString addFilePath; // what an add loop would hand the next editor
    int addSelections = 0;
    int editorRow = -1; // the row the last editor worked on
    QByteArray fileBytes() const { return data.read(u"Project.Files"_s); }
    void selectFile(int row)
    {
        files().deselectAll();
        files().setRow(row);
        files().setListIndex(row);
        files().setSelected(true);
    }
    static void type(PointerEditor &e, const QString &address, const QString &name)
    {
        e.setText(e.txtInternetAddress, address);
        e.setText(e.txtPointerName, name);
    }
};

// Each mode puts the first focus where the user types first; every opening starts from the
// designed (website) dialog, whatever mode came before, so no field stays hidden or disabled. The
// edit modes show the selected pointer, add file the chosen file's path.
TEST_F(PointerEditorTest, everyMode_opensOnTheWholeDialogWithItsFirstFocusAndFields)
{
    const struct {
        EditorMode mode;
        const char *focus, *address = nullptr, *name = nullptr; // nullptr: not checked
    } cases[] = {
        {EditorMode::Email, "txtInternetAddress"}, {EditorMode::Website, "txtInternetAddress"},
        {EditorMode::AddFile, "txtPointerName", "/home/u/notes.txt", ""},
        {EditorMode::EditFile, "txtInternetAddress", "http://example.com", "Beta"},
        {EditorMode::RenameFile, "txtPointerName"}, {EditorMode::NewProject, "txtPointerName"},
        {EditorMode::NewTopic, "txtPointerName"}, {EditorMode::RenameProject, "txtPointerName"},
        {EditorMode::RenameTopic, "txtPointerName"}, {EditorMode::Website, "txtInternetAddress"},
    };
    selectFile(1);
    projects().setListIndex(1);
    topics().setListIndex(0);
    addFilePath = u"/home/u/notes.txt"_s;
    for (const auto &c : cases) {
        open(c.mode, [&](PointerEditor &e) {
            SCOPED_TRACE(e.caption.toStdString());
            EXPECT_EQ(e.focus(), QString::fromLatin1(c.focus));
            EXPECT_EQ(e.txtInternetAddress.visible,
                c.mode != EditorMode::NewProject && c.mode != EditorMode::NewTopic);
            EXPECT_FALSE(e.optCancelAll.enabled);
            EXPECT_TRUE(e.chkCloseAfterSave.value); // no setting yet: checked
            EXPECT_TRUE(!c.address || e.txtInternetAddress.text == QLatin1String(c.address));
            EXPECT_TRUE(!c.name || e.txtPointerName.text == QLatin1String(c.name));
        });
    }
    EXPECT_EQ(editorRow, 1);
}

// "Cancel All Selections" is offered while an add loop has several items, or several pointers
// are selected for renaming, and ends the editor with CancelAll.
TEST_F(PointerEditorTest, cancelAll_isOfferedForSeveralItemsAndEndsWithCancelAll)
{
    const auto cancelAll = [](PointerEditor &e) {
        ASSERT_TRUE(e.optCancelAll.enabled);
        e.optCancelAll_Click();
        EXPECT_EQ(e.focus(), u"cmdExit"_s);
        e.cmdExit_Click();
    };
    addSelections = 2;
    addFilePath = u"/tmp/a"_s;
    EXPECT_EQ(open(EditorMode::AddFile, cancelAll).outcome, EditorResult::Outcome::CancelAll);
    addSelections = 0;
    selectFile(1);
    files().setRow(3);
    files().setSelected(true);
    EXPECT_EQ(open(EditorMode::RenameFile, cancelAll).outcome, EditorResult::Outcome::CancelAll);
}

TEST_F(PointerEditorTest, rememberedOptions_areReadAtOpeningAndWrittenAtOnce)
{
    setIni(u"Utility"_s, u"CloseAfterSave"_s, u"False"_s);
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    const EditorResult closed = open(EditorMode::Website, [this](PointerEditor &e) {
        EXPECT_FALSE(e.chkCloseAfterSave.value);
        EXPECT_TRUE(e.optInsertName.value);
        e.chkCloseAfterSave_Click();
        EXPECT_EQ(ini(u"Utility"_s, u"CloseAfterSave"_s), u"True"_s);
        // An option click hands the focus back to the box that last lost it.
        e.setText(e.txtInternetAddress, u"example.com"_s);
        e.focusMovedTo(u"txtPointerName"_s);
        e.focusMovedTo(u"optAppendName"_s);
        e.optAppendName_Click();
        EXPECT_EQ(ini(u"Option"_s, u"InsertName"_s), u"False"_s);
        EXPECT_EQ(e.LastFocusedBox, u"txtPointerName"_s);
        EXPECT_EQ(e.focus(), u"txtPointerName"_s);
        e.cmdExit_Click();
    });
    EXPECT_FALSE(closed.insertName);
}

// Each refusal shows its box, leaves the editor open with the focus on the field to mend, and
// writes nothing.
TEST_F(PointerEditorTest, refusals_showTheirBoxAndKeepTheEditorOpen)
{
    enum Act { Save, EnterInAddress, FocusToName };
    const struct {
        EditorMode mode;
        int row; // the selected pointer, for the edit modes
        const char *address, *name; // nullptr: as the mode filled it
        Act act;
        QString title, text, focus;
    } cases[] = {
        {EditorMode::Website, -1, "", "", FocusToName, u" Website Address Missing"_s,
            u"You Must Input or Paste A Website Address.     "_s, u"txtInternetAddress"_s},
        {EditorMode::Website, -1, " me@example.com ", "", EnterInAddress, u" Invalid Website Address"_s,
            u"ME@EXAMPLE.COM - Is Not A Valid Website Address.\r"
            " Please Check The Spelling And Format, IE: www.example.com     \r"_s, u"txtInternetAddress"_s},
        {EditorMode::Email, -1, "example.com", "", FocusToName, u" Invalid Email Address"_s,
            u"EXAMPLE.COM - Is Not A Valid Email Address.\r"
            " Please Check The Spelling And Format, IE: someone@example.com     \r"_s, u"txtInternetAddress"_s},
        {EditorMode::Website, -1, "example.com", "", Save, u" You Must Input A Name"_s,
            u"The Name Field Is Blank.     "_s, u"txtPointerName"_s},
        {EditorMode::AddFile, -1, "", "Notes", Save, u" Filename Missing"_s,
            u"You Must Input or Paste A Filename.     "_s, u"txtInternetAddress"_s},
        {EditorMode::AddFile, -1, "/home/u/other.txt", " beta ", Save, u" Duplicate Filename: BETA"_s,
            u"You Have Selected A Duplicate Filename.     \rFilename [BETA] Is Already On File.\r"_s,
            u"txtPointerName"_s},
        {EditorMode::EditFile, 0, "  ", nullptr, Save, u" Missing Filename And Path"_s,
            u"You Must Input A Filename And Path.     \r"_s, {}},
        {EditorMode::NewTopic, -1, nullptr, "", Save, u" Invalid Input"_s,
            u"Input Cannot Be Blank...     \r"_s, {}},
    };
    const QByteArray before = fileBytes();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        if (c.row >= 0)
            selectFile(c.row);
        ui.boxes.clear();
        open(c.mode, [&](PointerEditor &e) {
            if (c.address)
                e.setText(e.txtInternetAddress, QString::fromLatin1(c.address));
            if (c.name)
                e.setText(e.txtPointerName, QString::fromLatin1(c.name));
            int key = Key::Return;
            if (c.act == Save)
                e.cmdSave_Click();
            else if (c.act == EnterInAddress)
                e.txtInternetAddress_KeyDown(key, 0); // Enter moves on and runs the check
            else
                e.focusMovedTo(u"txtPointerName"_s);
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_EQ(ui.boxes[0].title, c.title);
            EXPECT_TRUE(c.text.isEmpty() || ui.boxes[0].text == c.text) << ui.boxes[0].text.toStdString();
            EXPECT_TRUE(c.focus.isEmpty() || e.focus() == c.focus) << e.focus().toStdString();
            // The address is left as typed.
            EXPECT_TRUE(!c.address || e.txtInternetAddress.text == QLatin1String(c.address));
            EXPECT_FALSE(e.closed());
            e.cmdExit_Click();
        });
    }
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(PointerEditorTest, pastedTabsAndLineBreaks_cannotSplitAPointerRecord)
{
    open(EditorMode::Website, [](PointerEditor &e) {
        type(e, u"example.com"_s, u"Two\tcolumns\r\n"_s);
        EXPECT_EQ(e.txtPointerName.text, u"Two columns  "_s);
        e.cmdSave_Click();
    });
    EXPECT_EQ(files().rowText(5), u"Two columns\thttp://example.com"_s);
}

// An edit without change leaves the file alone (LF line ends: a rewrite would make them CR LF);
// rows the editor never made go back as they were: one without a TAB, one without a name.
TEST_F(PointerEditorTest, handMadeRows_areWrittenBackWholeAndOnlyWhenChanged)
{
    data.write(u"Project.Files"_s, "Loose line\n\t/nameless\nNet\t/x\n");
    form->run(u"LoadEntryScreen"_s);
    selectFile(2);
    open(EditorMode::EditFile, [](PointerEditor &e) {
        e.cmdSave_Click();
        EXPECT_TRUE(e.closed());
    });
    EXPECT_EQ(fileBytes(), QByteArray("Loose line\n\t/nameless\nNet\t/x\n"));
    open(EditorMode::Website, [](PointerEditor &e) {
        type(e, u"example.net"_s, u"Loose line"_s);
        e.cmdSave_Click();
    });
    EXPECT_EQ(fileBytes(),
        QByteArray("Loose line\r\n\t/nameless\r\nNet\t/x\r\nLoose line\thttp://example.net\r\n"));
    EXPECT_EQ(selectedRows(form->lstFileList), QList<int> {3});
}

// How the editor ended never depends on the text typed: a name that reads like a cancel word is a
// name, and a pointer named after a file "CancelAllowance.pdf" is a pointer saved. Names are
// handed back trimmed, a project's cut at 112 characters.
TEST_F(PointerEditorTest, outcome_isHowTheEditorEndedNeverTheTextTyped)
{
    using enum EditorResult::Outcome;
    const auto save = [](const QString &name) {
        return [name](PointerEditor &e) {
            e.setText(e.txtPointerName, name);
            e.cmdSave_Click();
        };
    };
    struct Case {
        EditorMode mode;
        Play play;
        EditorResult::Outcome outcome;
        QString name;
    };
    const Case cases[] = {
        {EditorMode::NewProject, save(u"cancel"_s), Saved, u"cancel"_s},
        {EditorMode::NewProject, save(QString(113, u'x')), Saved, QString(112, u'x')},
        {EditorMode::RenameTopic, [](PointerEditor &e) { e.cmdSave_Click(); }, Cancelled, QString()},
        {EditorMode::RenameTopic, save(u" Post "_s), Saved, u"Post"_s},
        {EditorMode::NewTopic, save(u" CANCELALL "_s), Saved, u"CANCELALL"_s},
        {EditorMode::NewTopic, [](PointerEditor &e) { e.closeBox(); }, Cancelled, QString()},
        {EditorMode::NewTopic, save(u"   "_s), Saved, QString()}, // spaces are a name
        {EditorMode::AddFile, save(u"CancelAllowance.pdf"_s), Saved, u"CancelAllowance.pdf"_s},
        {EditorMode::AddFile, save(u"Duplicate"_s), Saved, u"Duplicate"_s},
        {EditorMode::AddFile, [](PointerEditor &e) { e.cmdExit_Click(); }, Cancelled, QString()},
        {EditorMode::Website, [](PointerEditor &e) {
             e.setText(e.txtInternetAddress, u"cancel.example.org"_s);
             e.setText(e.txtPointerName, u"cancel"_s);
             e.cmdSave_Click();
             e.closeBox();
         }, Saved, u"cancel"_s},
    };
    addFilePath = u"/home/u/CancelAllowance.pdf"_s;
    data.write(u"Project.Topics"_s, "Inbox\r\n");
    form->run(u"LoadEntryScreen"_s);
    topics().setListIndex(1); // a rename left unchanged is no rename
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const EditorResult got = open(c.mode, c.play);
        EXPECT_EQ(std::pair(got.outcome, got.name), std::pair(c.outcome, c.name));
    }
}

class BrowseTest : public FormFixture
{
protected:
    FakeFileDialogs dialogs;

    Platform platform() override { return Platform{ui, clock, &shell, &dialogs, &clipboard}; }
};

// Browse opens in the path's folder or the nearest one above it; the file chosen lands in the
// path box, Cancel leaves the box as it was; a name a line cannot carry is refused with a box and
// leaves it too. A website pointer's editor has no Browse.
TEST_F(BrowseTest, browse_putsTheChosenFileInThePathBoxAndCancelKeepsIt)
{
    data.write(u"docs/end "_s, "x");
    const QString gone = data.file(u"docs/old/alpha.txt"_s);
    data.write(u"Project.Files"_s, (u"Alpha\t"_s + gone + u"\r\nSite\thttp://example.com\r\n"_s).toUtf8());
    data.write(u"Project.List"_s, "Garden\r\n");
    start();
    const struct
    {
        EditorMode mode;
        int row;
        std::optional<QStringList> chosen; // none: no Browse button
        QString folder;                     // where the dialog opened
        QString text;                       // the path box afterwards
    } cases[] = {
        {EditorMode::EditFile, 0, QStringList {u"/home/u/new place.txt"_s}, data.file(u"docs"_s),
            u"/home/u/new place.txt"_s},
        {EditorMode::EditFile, 0, QStringList {}, data.file(u"docs"_s), gone}, // cancelled
        {EditorMode::EditFile, 0, QStringList {u"/tmp/a\tb.txt"_s}, data.file(u"docs"_s), gone},
        {EditorMode::EditFile, 0, QStringList {u"/tmp/a\rb.txt"_s}, data.file(u"docs"_s), gone},
        {EditorMode::EditFile, 0, QStringList {data.file(u"docs/end "_s)}, data.file(u"docs"_s), gone},
        {EditorMode::AddFile, 0, QStringList {u"/tmp/b.odt"_s}, u"/tmp"_s, u"/tmp/b.odt"_s},
        {EditorMode::EditFile, 1, std::nullopt, QString(), u"http://example.com"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        files().deselectAll();
        files().setListIndex(c.row);
        dialogs.requests.clear();
        dialogs.choices = {c.chosen.value_or(QStringList {})};
        const size_t boxes = ui.boxes.size();
        ui.onPointerEditor = [&c](PointerEditor &e) {
            EXPECT_EQ(e.cmdBrowse.visible, c.chosen.has_value());
            EXPECT_EQ(e.cmdBrowse.tabIndex, e.txtInternetAddress.tabIndex + 1);
            e.cmdBrowse_Click();
            EXPECT_EQ(e.txtInternetAddress.text, c.text);
            e.cmdExit_Click();
        };
        program->fileListCommands().showEditor({c.mode, u"/tmp/a.txt"_s, 1});
        ASSERT_EQ(dialogs.requests.size(), c.chosen ? 1U : 0U);
        if (c.chosen) {
            EXPECT_EQ(dialogs.requests.front().initialFolder, c.folder);
        }
        const bool refused = c.chosen && !c.chosen->isEmpty() && c.text != c.chosen->front();
        ASSERT_EQ(ui.boxes.size(), boxes + refused);
        if (refused) {
            EXPECT_EQ(ui.boxes.back().title, u" Cannot Add File"_s);
        }
    }
}

} // namespace
} // namespace corvanta::test
