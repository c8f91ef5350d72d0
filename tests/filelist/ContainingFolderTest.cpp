#include "filelist/Launching.h"

#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class ContainingFolderTest : public FormFixture
{
protected:

    void SetUp() override
    {
        data.write(u"docs/a, b.txt"_s, "x");
        data.write(u"Project.Files"_s,
            "Here\t" + data.file(u"docs/a, b.txt"_s).toUtf8() + "\r\n"
            "Relative\tdocs/a, b.txt\r\n"
            "Gone File\t" + data.file(u"docs/gone.txt"_s).toUtf8() + "\r\n"
            "Gone Folder\t/no/such/folder/x.txt\r\n"
            "Site\thttp://example.com/a\r\n"
            "Mail\tmailto:a@example.com\r\n");
        start();
    }
};

TEST_F(ContainingFolderTest, opensTheFolderWithTheFileSelected_orTheFolderItself_andCopiesTargets)
{
    const QString docs = data.file(u"docs"_s);
    const QString file = data.file(u"docs/a, b.txt"_s);
    const struct
    {
        int row;
        bool fileManagerShowsItems;
        QString shown;    // asked of the file manager
        QString launched; // the folder opened by itself
        QString box;
        int beeps;
    } cases[] = {
        {0, true, file, u""_s, u""_s, 0},
        {0, false, file, docs, u""_s, 0},
        {1, true, file, u""_s, u""_s, 0},
        {2, true, u""_s, docs, u""_s, 0}, // a missing file: its folder
        {3, true, u""_s, u""_s, u" Folder Not Found"_s, 0},
        {4, true, u""_s, u""_s, u""_s, 1},
    };
    for (const auto &c : cases) {
        shell.shownInFolder.clear();
        shell.calls.clear();
        shell.fileManagerShowsItems = c.fileManagerShowsItems;
        ui.boxes.clear();
        const int beeps = ui.beeps;
        select({c.row});
        form->run(u"mnuOpenContainingFolder"_s);
        EXPECT_EQ(shell.shownInFolder.empty() ? QString() : shell.shownInFolder.back(), c.shown) << c.row;
        EXPECT_EQ(shell.calls.empty() ? QString() : shell.calls.back().target(), c.launched) << c.row;
        EXPECT_EQ(ui.boxes.empty() ? QString() : ui.boxes.back().title, c.box) << c.row;
        EXPECT_EQ(ui.beeps - beeps, c.beeps) << c.row;
    }

    // Copy Target puts every selected target on a line of its own.
    files().deselectAll();
    for (int row : {1, 4, 5})
        files().userMouseDown(row, Mouse::Left, Key::CtrlMask);
    form->run(u"mnuCopyTarget"_s);
    EXPECT_EQ(clipboard.content, u"docs/a, b.txt\nhttp://example.com/a\nmailto:a@example.com"_s);
}

} // namespace
} // namespace corvanta::test
