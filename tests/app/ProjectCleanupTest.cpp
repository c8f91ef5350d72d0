#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "platform/MsgBox.h"
#include "store/OwnFiles.h"

#include <QDir>

namespace corvanta::test {
namespace {

class ProjectCleanupTest : public FormFixture {
protected:
    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta, Old...Stuff", "Project.Topics: Inbox",
            "Projects/Inbox.Files: Letter -> /l", "Projects/Alpha/Alpha.List:",
            "Projects/Alpha/Alpha.Files: P -> /p", "Projects/Beta/Beta.List:", "Projects/Beta/Beta.Files: P -> /p",
            "Projects/Old...Stuff/Old...Stuff.List:", "Projects/Old...Stuff/Old...Stuff.Files: P -> /p"});
        start();
    }

    QStringList folders() const
    {
        return QDir(data.file(u"Projects"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Runs the clean-up, answering its questions in turn (the fake's default answer after).
    void cleanUp(std::deque<int> answers)
    {
        ui.boxes.clear();
        ui.answers = std::move(answers);
        form->run(u"mnuCleanProjects"_s);
    }
};

TEST_F(ProjectCleanupTest, nothingOrphaned_saysSoAndKeepsTheLists)
{
    cleanUp({});
    ASSERT_TRUE(boxesShown(ui, {{u" No Project Files To Clean"_s, u"All Project Files Are Associated With Project Names.      \rNo Unassociated Project Files Found. \r"_s}}));
    EXPECT_EQ(ui.lastBox()->flags, MsgBox::OkOnly | MsgBox::Information);
    EXPECT_EQ(rows(projects()).size(), 3);
}

// An orphan loses the program's own files; what else it holds stays, and the report names it.
TEST_F(ProjectCleanupTest, orphans_loseOnlyTheProgramsFiles)
{
    data.write(u"Projects/Gone/Gone.List"_s, "T\r\n");
    data.write(u"Projects/Gone/T.Files"_s, "x\t/x\r\n");
    data.write(u"Projects/Kept/Kept.Files"_s, "");
    data.write(u"Projects/Kept/thesis.odt"_s, "mine");
    cleanUp({MsgBox::Yes});
    ASSERT_GE(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Cleanup  2 Project Files"_s);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"These  2 Project Files Are No Longer Associated     \r"_s));
    EXPECT_EQ(folders(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Kept"_s, u"Old...Stuff"_s}));
    EXPECT_EQ(data.read(u"Projects/Kept/thesis.odt"_s), QByteArray("mine"));
    EXPECT_FALSE(data.exists(u"Projects/Kept/Kept.Files"_s));
    EXPECT_TRUE(ui.lastBox()->text.contains(data.file(u"Projects/Kept"_s)));
    EXPECT_TRUE(data.exists(u"Projects/Inbox.Files"_s));
    EXPECT_EQ(rows(projects()), (QStringList{u"Alpha"_s, u"Beta"_s, u"Old...Stuff"_s}));
}

// A folder is an orphan only when neither the list on screen nor Project.List names it, compared
// trimmed and without letter case; it is deleted by the name it was listed under; and a name
// holding "..." is a name like any other.
TEST_F(ProjectCleanupTest, foldersANameStillOwns_areNeverOffered)
{
    projects().selectRow(0);
    form->run(u"mnuCutProject"_s);
    clipboard.content = u"Alpha "_s;
    form->run(u"mnuPasteProjectEOF"_s);
    projects().selectRow(0);
    form->run(u"mnuCutProject"_s); // Beta, cut and not yet pasted
    // A folder whose name holds a TAB shows in two columns; its first is not "Alpha".
    data.write(u"Projects/Alpha\tcopy/Alpha\tcopy.List"_s, "");
    data.write(u"Projects/BETA /x.Files"_s, "");
    cleanUp({MsgBox::Yes});
    EXPECT_EQ(ui.boxes[0].title, u" Cleanup  1 Project Files"_s);
    EXPECT_EQ(folders(), (QStringList{u"Alpha"_s, u"BETA "_s, u"Beta"_s, u"Old...Stuff"_s}));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("P\t/p\r\n"));

    // The paste's rebuild kept "Old...Stuff", so after a reload it is still owned.
    start();
    cleanUp({MsgBox::Yes});
    EXPECT_EQ(ui.lastBox()->title, u" No Project Files To Clean"_s);
    EXPECT_EQ(folders().size(), 4);
}

// A folder in the list file's place, or a link that leads nowhere (a sync client's placeholder),
// is a list that cannot be read, not a missing one that names nothing.
TEST_F(ProjectCleanupTest, projectListThatCannotBeRead_refusesAndNamesIt)
{
    data.write(u"Projects/Orphan/Orphan.List"_s, "");
    const QString path = data.file(u"Project.List"_s);
    for (const bool asFolder : {true, false}) {
        SCOPED_TRACE(asFolder ? "folder" : "dangling link");
        ASSERT_TRUE(QFile::remove(path) || QDir().rmdir(path));
        store().dropUnreadableMarks(path); // each case found unreadable on its own
        ASSERT_TRUE(asFolder ? QDir().mkdir(path) : QFile::link(data.file(u"Gone.List"_s), path));
        cleanUp({MsgBox::Yes, MsgBox::Yes});
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.lastBox()->text.contains(path)) << ui.lastBox()->text.toStdString();
        EXPECT_EQ(folders().size(), 4);
        EXPECT_EQ(rows(projects()).size(), 3);
    }
}

TEST_F(ProjectCleanupTest, neverFollowsALinkOutOfTheDataFolder)
{
    TempFolder outside;
    outside.write(u"precious.txt"_s, "keep me");
    outside.write(u"Linked.List"_s, "");
    QFile::link(outside.path(), data.file(u"Projects/Linked"_s));
    cleanUp({MsgBox::Yes, MsgBox::Yes});
    EXPECT_TRUE(outside.exists(u"precious.txt"_s));
    EXPECT_TRUE(outside.exists(u"Linked.List"_s));
}

} // namespace
} // namespace corvanta::test
