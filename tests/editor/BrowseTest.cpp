#include "editor/PointerEditor.h"
#include "filelist/FileListCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FormFixture.h"

#include <QDir>

#include <optional>

namespace corvanta::test {
namespace {

class BrowseTest : public FormFixture
{
protected:
    FakeFileDialogs dialogs;

    Platform platform() override
    {
        Platform p = FormFixture::platform();
        p.fileDialogs = &dialogs;
        return p;
    }
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
