#include "filelist/HandIn.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "store/ListFiles.h"
#include "search/ChildProcess.h"
#include "support/FakeFileWatcher.h"
#include "support/FormFixture.h"

#include <csignal>
#include <functional>
#include <map>

namespace corvanta::test {
namespace {

const QString One = u"Projects/Alpha/One.Files"_s;
const QString Two = u"Projects/Alpha/Two.Files"_s;
// Written by hand: a bare LF, padded and unended lines. Any rewrite normalises them, so only
// bytes kept whole give them back.
const QByteArray OneByHand = "A\t/a\n  B b\t/b  \r\nC\t/gone\r\nD\t/d";
const QByteArray TwoBytes = "X\t/x\r\n";

class UndoTest : public FormFixture
{
protected:
    TempFolder desktop; // the user's own files, handed in with --add
    FakeFileWatcher watcher;

    Platform platform() override
    {
        Platform p{ui, clock};
        p.fileWatcher = &watcher;
        return p;
    }
    // The program goes before the watcher it was made with.
    void TearDown() override { program.reset(); }

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n"); // a single project cannot be opened
        data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\nTwo\r\n");
        data.write(One, OneByHand);
        data.write(Two, TwoBytes);
        start();
        form->state.FileSort = SortOrder::None;
        openTopic(u"One"_s);
    }
    void openTopic(const QString &name)
    {
        doubleClick(projects(), 0);
        click(topics(), rowNamed(name));
        ASSERT_EQ(form->state.CurrentTopic, name);
    }
    int rowNamed(const QString &name) const { return name == u"One" ? 1 : 2; } // " ...", One, Two
    std::map<QString, QByteArray> bytes() const { return {{One, data.read(One)}, {Two, data.read(Two)}}; }
    QString caption(const char *item) const { return form->commands.item(QString::fromLatin1(item))->caption; }
    // The rows a file's bytes show as, for comparing with the File List.
    static QStringList records(const QByteArray &bytes)
    {
        QStringList out;
        const QString text = decodeListText(bytes);
        forEachRecord(text, [&](QStringView line) { out << line.toString(); });
        return out;
    }
};

// The topic changed is shown again.
TEST_F(UndoTest, everyKindOfChange_isUndoneAndRedoneToTheExactBytes)
{
    struct Case
    {
        const char *label;
        std::function<void()> change;
        QString shownAfterUndo = One;
    };
    const std::vector<Case> cases = {
        {"Add 3 Pointers", [this] { // dropped together: one step
             ui.onPointerEditor = [](PointerEditor &e) {
                 e.setText(e.txtPointerName, e.txtInternetAddress.text.section(u'/', -1));
                 e.cmdSave_Click();
             };
             QStringList dropped;
             for (const char *name : {"x.odt", "y.odt", "z.odt"}) {
                 desktop.write(QLatin1String(name), "x");
                 dropped << desktop.file(QLatin1String(name));
             }
             program->fileListCommands().addDroppedFiles(dropped, -1);
         }},
        {"Move 2 Pointers", [this] {
             select({0, 1});
             form->navigation().lstTopicList_PointersDropped(rowNamed(u"Two"_s), false);
         }},
        {"Copy Pointer", [this] {
             select({2});
             form->navigation().lstTopicList_PointersDropped(rowNamed(u"Two"_s), true);
         }, Two}, // only the other topic changed: Undo shows it
        {"Remove Pointer", [this] {
             ui.onMissingTargets = [](MissingTargets &window) {
                 for (int row = 0; row < int(window.rows().size()); ++row)
                     window.setSelected(row, window.rows()[size_t(row)].place.name() == u"C"_s);
                 window.removeSelected();
                 window.close();
             };
             ui.answers = {MsgBox::Yes, MsgBox::Ok};
             form->run(u"mnuCheckMissingTargets"_s);
         }},
        {"Add Pointer", [this] {
             desktop.write(u"Letter.odt"_s, "letter");
             HandInRequest request;
             request.files << desktop.file(u"Letter.odt"_s);
             program->handIn().receive(request);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        const auto before = bytes();
        c.change();
        const auto after = bytes();
        ASSERT_NE(after, before);
        EXPECT_EQ(caption("mnuUndo"), u"Undo "_s + QLatin1String(c.label));
        EXPECT_FALSE(enabled("mnuRedo"));

        ui.boxes.clear();
        form->run(u"mnuUndo"_s);
        EXPECT_EQ(bytes(), before);
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(form->state.FileListPath, data.file(c.shownAfterUndo));
        EXPECT_EQ(rows(files()), records(before.at(c.shownAfterUndo)));
        EXPECT_EQ(caption("mnuRedo"), u"Redo "_s + QLatin1String(c.label));
        EXPECT_FALSE(enabled("mnuUndo"));

        form->run(u"mnuRedo"_s);
        EXPECT_EQ(bytes(), after);
        EXPECT_EQ(rows(files()), records(after.at(c.shownAfterUndo)));
        EXPECT_TRUE(enabled("mnuUndo") && !enabled("mnuRedo"));
    }
}

// Also what the program itself wrote after an undo. The refused step leaves the history.
TEST_F(UndoTest, aFileChangedSince_refusesAndChangesNothing)
{
    // Also when the change was announced and the list shown again as it now is.
    for (bool announced : {false, true}) {
        SCOPED_TRACE(announced);
        SetUp();
        ui.boxes.clear();
        select({0});
        ui.answers = {MsgBox::Yes};
        form->run(u"RemoveSelectedFiles"_s);
        data.write(One, "Z\t/z\r\n");
        if (announced) {
            watcher.announce(data.file(One));
            ASSERT_EQ(rows(files()), QStringList{u"Z\t/z"_s});
        }
        form->run(u"mnuUndo"_s);
        EXPECT_EQ(ui.lastBox()->title, u" Cannot Undo"_s);
        EXPECT_TRUE(ui.lastBox()->text.contains(u"Was Changed Since."_s));
        EXPECT_EQ(data.read(One), QByteArray("Z\t/z\r\n"));
        EXPECT_EQ(caption("mnuUndo"), u"Undo"_s);
        EXPECT_FALSE(enabled("mnuUndo") || enabled("mnuRedo"));
    }

    // Redo the same way: an undone move whose target topic was edited meanwhile.
    SetUp();
    select({0});
    form->navigation().lstTopicList_PointersDropped(rowNamed(u"Two"_s), false);
    form->run(u"mnuUndo"_s);
    data.write(Two, "Y\t/y\r\n");
    ui.boxes.clear();
    form->run(u"mnuRedo"_s);
    EXPECT_EQ(ui.titles(), QStringList {u" Cannot Redo"_s});
    EXPECT_EQ(data.read(One), OneByHand); // neither file of the move was written
    EXPECT_EQ(data.read(Two), QByteArray("Y\t/y\r\n"));
}

// A step that writes two files writes first the one that gains pointers: killed between the
// writes, the program leaves every pointer in at least one of them.
TEST_F(UndoTest, killedBetweenTheWritesOfAStep_leavesEveryPointerInAFile)
{
    for (const QString &step : {u"mnuUndo"_s, u"mnuRedo"_s}) {
        SCOPED_TRACE(step.toStdString());
        SetUp();
        select({0, 3});
        form->navigation().lstTopicList_PointersDropped(rowNamed(u"Two"_s), false); // A and D move to Two
        if (step == u"mnuRedo")
            form->run(u"mnuUndo"_s);
        const std::string lived = outputOfChild([&] {
            form->undo.setBetweenWrites([] { ::kill(::getpid(), SIGKILL); });
            form->run(step);
            return std::string("lived");
        });
        EXPECT_EQ(lived, "");
        const QStringList held = records(data.read(One)) + records(data.read(Two));
        EXPECT_TRUE(held.contains(u"A\t/a"_s) && held.contains(u"D\t/d"_s)) << held.join(u'|').toStdString();
    }
}

// A change made in one topic is undone from another: its topic opens with the row that came
// back current. A new change ends what could be redone.
TEST_F(UndoTest, undoFromAnotherTopic_opensTheTopicWithTheRowBack)
{
    select({1});
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    openTopic(u"Two"_s);
    form->run(u"mnuUndo"_s);
    EXPECT_EQ(form->state.CurrentTopic, u"One"_s);
    EXPECT_EQ(data.read(One), OneByHand);
    ASSERT_EQ(selectedRows(files()), QList<int>{1});
    EXPECT_TRUE(files().hasFocus());
    EXPECT_EQ(form->commands.panels()[1].text, u"Files Line: 2"_s);
    select({0});
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_FALSE(enabled("mnuRedo"));
}

} // namespace
} // namespace corvanta::test
