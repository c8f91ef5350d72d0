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

} // namespace
} // namespace corvanta::test
