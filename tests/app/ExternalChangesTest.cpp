#include "support/FakeFileWatcher.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class ExternalChangesTest : public FormFixture {
protected:
    FakeFileWatcher watcher;

    Platform platform() override
    {
        Platform p{ui, clock};
        p.fileWatcher = &watcher;
        return p;
    }

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\nGamma\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\nLater\r\n");
        data.write(u"Project.Files"_s, "One\t/a\r\nTwo\t/b\r\nThree\t/c\r\n");
    }

    // The program goes before the watcher it was made with.
    void TearDown() override { program.reset(); }

    // Another program writes the file, and the system says so.
    void changeOnDisk(const QString &relative, const QByteArray &bytes)
    {
        data.write(relative, bytes);
        watcher.announce(data.file(relative));
    }
};

TEST_F(ExternalChangesTest, shownFiles_areWatched)
{
    start();
    for (const char *name : {"Project.List", "Project.Topics", "Project.Files", "Paste.Lst", "Corvanta.Ini"})
        EXPECT_TRUE(watcher.watched.contains(data.file(QString::fromLatin1(name)))) << name;
    doubleClick(projects(), 1);
    EXPECT_TRUE(watcher.watched.contains(data.file(u"Projects/Beta/Beta.List"_s)));
    EXPECT_TRUE(watcher.watched.contains(data.file(u"Projects/Beta/Beta.Files"_s)));
    EXPECT_FALSE(watcher.watched.contains(data.file(u"Project.Topics"_s)));
}

// Each shown list changed on disk is read again at once; what was selected stays selected by
// name, wherever it now stands, and a name that went away leaves nothing selected in its place.
TEST_F(ExternalChangesTest, changedList_isReloadedKeepingTheSelectionByName)
{
    const struct {
        const char *file;
        char list; // p, t or f
        int select;
        QByteArray after;
        QStringList rows;
        int selectedAfter;
    } cases[] = {
        {"Project.Files", 'f', 1, "Zero\t/z\r\nOne\t/a\r\nTwo\t/b\r\nThree\t/c\r\n",
         {u"Zero\t/z"_s, u"One\t/a"_s, u"Two\t/b"_s, u"Three\t/c"_s}, 2},
        {"Project.Files", 'f', 1, "One\t/a\r\nThree\t/c\r\n",
         {u"One\t/a"_s, u"Three\t/c"_s}, -1},
        {"Project.List", 'p', 2, "Aardvark\r\nAlpha\r\nBeta\r\nGamma\r\n",
         {u"Aardvark"_s, u"Alpha"_s, u"Beta"_s, u"Gamma"_s}, 3},
        {"Project.Topics", 't', 2, "Archive\r\nInbox\r\nLater\r\n",
         {u" ..."_s, u"Archive"_s, u"Inbox"_s, u"Later"_s}, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        SetUp();
        start();
        ListControl &list = c.list == 'p' ? projects() : c.list == 't' ? topics() : files();
        list.selectRow(c.select);
        changeOnDisk(QString::fromLatin1(c.file), c.after);
        EXPECT_EQ(rows(list), c.rows);
        EXPECT_EQ(selectedRows(list), c.selectedAfter < 0 ? QList<int>{} : QList<int>{c.selectedAfter});
        EXPECT_TRUE(ui.boxes.empty());
    }
}

TEST_F(ExternalChangesTest, ownSaveNoticed_changesNothing)
{
    start();
    files().selectRow(2);
    ASSERT_TRUE(form->run(u"mnuRebuildFileList"_s));
    const QStringList before = rows(files());
    files().setRow(0);
    files().setList(u"Shown only\t/x"_s); // a reload would put the file's row back
    watcher.announce(data.file(u"Project.Files"_s));
    EXPECT_EQ(rows(files()).first(), u"Shown only\t/x"_s);
    EXPECT_EQ(before.size(), 3);
}

// A change the watcher never reported (a network share) is found by the check before the save:
// the save is refused, the other program's bytes stay, and the list shows them.
TEST_F(ExternalChangesTest, saveAfterAnUnnoticedChange_isRefusedAndTheListReloaded)
{
    start();
    const QByteArray theirs = "Theirs\t/t\r\nOne\t/a\r\n";
    data.write(u"Project.Files"_s, theirs);
    files().selectRow(0);
    form->run(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), theirs);
    ASSERT_NE(ui.lastBox(), nullptr);
    EXPECT_EQ(ui.lastBox()->title, u" List Changed On Disk"_s);
    EXPECT_EQ(rows(files()), (QStringList{u"Theirs\t/t"_s, u"One\t/a"_s}));
    EXPECT_EQ(selectedRows(files()), QList<int>{1});

    // Made again, the change goes through.
    form->run(u"mnuRebuildFileList"_s);
    EXPECT_EQ(data.read(u"Project.Files"_s), "Theirs\t/t\r\nOne\t/a\r\n");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(ExternalChangesTest, changeWhileAnOperationRuns_waitsForItsEnd)
{
    start();
    bool reloadedInside = true;
    form->operations.add(u"TestOperation"_s, [&] {
        changeOnDisk(u"Project.Files"_s, "Late\t/l\r\n");
        reloadedInside = rows(files()).size() == 1;
    });
    form->run(u"TestOperation"_s);
    EXPECT_FALSE(reloadedInside);
    EXPECT_EQ(rows(files()), QStringList{u"Late\t/l"_s});
}

} // namespace
} // namespace corvanta::test
