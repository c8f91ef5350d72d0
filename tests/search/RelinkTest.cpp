#include "search/MissingTargets.h"

#include "support/FakeFileDialogs.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

// A topic whose file names one pointer twice and holds lines around it that must keep their bytes.
class RelinkTest : public FormFixture
{
protected:
    FakeFileDialogs dialogs;
    QByteArray before;

    void SetUp() override
    {
        data.write(u"docs/moved/twin.txt"_s, "x");
        data.write(u"Project.List"_s, "Alpha\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Zeta\r\n");
        before = "Kept  \t/no/such/kept.txt\r\n"
                 "Twin \t" + data.file(u"docs/old/twin.txt"_s).toUtf8() + "\r\n"
                 "\tno name\r\n"
                 "Twin \t" + data.file(u"docs/old/twin.txt"_s).toUtf8() + "\r\n";
        data.write(u"Projects/Alpha/Zeta.Files"_s, before);
        start();
        program->checkMissingTargets().setChecker(
            [](const QString &folder) { return TargetChecker(folder, {u"/"_s}, {}); });
    }

    // Opens Check Missing Targets and lets act play the user in it.
    void check(const std::function<void(MissingTargets &)> &act)
    {
        ui.onMissingTargets = [&](MissingTargets &window) {
            while (window.update(std::chrono::milliseconds(50)))
                ;
            window.setFileDialogs(&dialogs);
            act(window);
        };
        form->run(u"mnuCheckMissingTargets"_s);
    }
};

TEST_F(RelinkTest, locateRewritesOnlyTheChosenLineAndUndoPutsItBack)
{
    const QString moved = data.file(u"docs/moved/twin.txt"_s);
    const struct
    {
        int row; // of the window: 0 Kept, 1 and 3 the twins, 2 the nameless one
        QStringList chosen;
        QByteArray after; // "" : the file as it was
    } cases[] = {
        {3, {moved}, before.left(before.lastIndexOf("Twin")) + "Twin \t" + moved.toUtf8() + "\r\n"},
        {1, {moved}, "Kept  \t/no/such/kept.txt\r\nTwin \t" + moved.toUtf8() + "\r\n"
                         + before.mid(before.indexOf("\tno name"))},
        {0, {}, ""}, // cancelled
        {0, {u"/x/a\tb.txt"_s}, ""}, // a name the line cannot carry
    };
    for (const auto &c : cases) {
        dialogs.choices = {c.chosen};
        dialogs.requests.clear();
        check([&](MissingTargets &window) {
            ASSERT_EQ(window.rows().size(), 4u);
            EXPECT_EQ(window.locate(c.row), !c.after.isEmpty());
            EXPECT_EQ(window.rows().size(), c.after.isEmpty() ? 4u : 3u);
        });
        ASSERT_EQ(dialogs.requests.size(), 1u);
        // The dialog opens in the nearest folder that is there.
        EXPECT_EQ(dialogs.requests[0].initialFolder,
            c.row == 0 ? u"/"_s : data.file(u"docs"_s)) << c.row;
        EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s), c.after.isEmpty() ? before : c.after)
            << c.row;
        if (!c.after.isEmpty()) {
            EXPECT_EQ(form->commands.item(u"mnuUndo"_s)->caption, u"Undo Relink Pointer"_s);
            form->run(u"mnuUndo"_s);
            EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s), before) << c.row;
        }
    }
}

// Find Moved walks the home folder, then the drive: matches newest first, then the chosen one.
TEST_F(RelinkTest, findMovedListsMatchesNewestFirstAndRelinksTheChosenOne)
{
    const QString home = data.file(u"home"_s), drive = data.file(u"drive"_s);
    const struct
    {
        const char *file;
        int age; // days
    } files[] = {{"home/a/twin.txt", 3}, {"drive/b/twin.txt", 1}, {"drive/c/TWIN.txt", 0},
        {"drive/d/twin.txt.bak", 0}, {"drive/e/twin.txt", 2}};
    for (const auto &f : files) {
        data.write(QString::fromLatin1(f.file), "x");
        QFile file(data.file(QString::fromLatin1(f.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addDays(-f.age), QFileDevice::FileModificationTime);
    }
    QStringList shown;
    check([&](MissingTargets &window) {
        window.movedRoots = [&](const QString &) { return QStringList {home, drive}; };
        window.chooseMoved = [&](MissingTargets::MovedSearch &search) {
            while (search.running())
                search.update(std::chrono::milliseconds(10));
            for (const auto &m : search.found())
                shown << m.folder;
            return 2;
        };
        EXPECT_TRUE(window.findMoved(3));
        ui.answers = {MsgBox::Ok};
        EXPECT_FALSE(window.findMoved(0)); // kept.txt is nowhere
        EXPECT_EQ(ui.lastBox()->title, MissingTargets::movedCaption());
        // A stop ends a walk of the whole drive at once, and a stopped walk tells nothing.
        const size_t boxes = ui.boxes.size();
        window.movedRoots = [&](const QString &) { return QStringList {u"/"_s, u"/"_s}; };
        window.chooseMoved = [&](MissingTargets::MovedSearch &search) {
            while (search.folder().isEmpty())
                search.update(std::chrono::milliseconds(10));
            search.update(std::chrono::milliseconds(50));
            const auto stopped = std::chrono::steady_clock::now();
            search.stop();
            while (search.running())
                search.update(std::chrono::milliseconds(10));
            EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(2));
            return -1;
        };
        EXPECT_FALSE(window.findMoved(0));
        EXPECT_EQ(ui.boxes.size(), boxes);
    });
    EXPECT_EQ(shown, (QStringList {drive + u"/b"_s, drive + u"/e"_s, home + u"/a"_s}));
    EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s),
        before.left(before.lastIndexOf("Twin")) + "Twin \t" + home.toUtf8() + "/a/twin.txt\r\n");
    form->run(u"mnuUndo"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s), before);
}

} // namespace
} // namespace corvanta::test
