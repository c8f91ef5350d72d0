#include "platform/MsgBox.h"
#include "search/FileSearch.h"
#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include <functional>

namespace corvanta::test {
namespace {

// Every question whose Yes removes or deletes something has No as its default, so that Enter
// pressed in a hurry keeps the data (those of projects and topics with their texts elsewhere).
class RemovalQuestionsTest : public FormFixture
{
protected:

    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Ghost", "Projects/Alpha/Alpha.List: Plans",
            "Projects/Alpha/Alpha.Files:", "Projects/Alpha/Plans.Files: Gone -> /nowhere/gone.txt",
            "Projects/Orphan/Orphan.List:", "Project.Files: Gone -> /nowhere/gone.txt"});
        start();
    }
};

TEST_F(RemovalQuestionsTest, everyRemovalQuestionDefaultsToNoAndNoKeepsTheData)
{
    shell.defaultResult = ShellResult::FileNotFound;
    std::unique_ptr<FileSearch> search;
    struct Case {
        const char *title;
        std::function<void()> ask;
    };
    const Case cases[] = {
        {" Remove: Gone", [&] { files().selectRow(0); form->run(u"RemoveSelectedFiles"_s); }},
        {" /nowhere/gone.txt  Not Found", [&] { doubleClick(files(), 0); }},
        {" Cleanup  1 Project Files", [&] { form->run(u"mnuCleanProjects"_s); }},
        {" Remove Selected Files From This List?", [&] {
             search = std::make_unique<FileSearch>(form->context(), std::vector<DriveEntry> {});
             search->lstFileSearch.addRow(u"/data/a.txt"_s);
             search->lstFileSearch.selectRow(0);
             search->RemoveSearchResults();
             EXPECT_EQ(search->lstFileSearch.ListCount(), 1);
         }},
    };
    const QByteArray lists = data.read(u"Project.List"_s) + data.read(u"Project.Files"_s)
        + data.read(u"Projects/Alpha/Alpha.List"_s) + data.read(u"Projects/Alpha/Plans.Files"_s);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ui.boxes.clear();
        c.ask();
        const auto box = std::find_if(ui.boxes.begin(), ui.boxes.end(),
            [&](const ShownBox &b) { return b.title == QString::fromUtf8(c.title); });
        ASSERT_NE(box, ui.boxes.end());
        EXPECT_EQ(MsgBox::buttonsOf(box->flags), MsgBox::YesNo);
        EXPECT_TRUE(box->flags & MsgBox::DefaultButton2);
    }
    // The fake answers every box with its default: nothing went.
    EXPECT_EQ(data.read(u"Project.List"_s) + data.read(u"Project.Files"_s)
            + data.read(u"Projects/Alpha/Alpha.List"_s) + data.read(u"Projects/Alpha/Plans.Files"_s),
        lists);
    EXPECT_TRUE(data.exists(u"Projects/Orphan/Orphan.List"_s));
}

} // namespace
} // namespace corvanta::test
