#include "app/ReopenLast.h"

#include "support/DataBuilder.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class ReopenLastTest : public FormFixture
{
protected:
    QString where() const
    {
        const int row = form->lstFileList.ListIndex();
        return form->state.CurrentProject + u'|' + form->state.CurrentTopic + u'|'
            + (row >= 0 && form->lstFileList.isSelected(row) ? form->lstFileList.rowText(row) : QString());
    }
    bool checked() const { return form->commands.item(u"mnuReopenLast"_s)->checked; }
};

// On, the next start opens the last place, unless its project or topic was deleted meanwhile;
// off (the default, nothing stored), it starts at the entry screen.
TEST_F(ReopenLastTest, onReopensTheLastPlaceThatStillExists_offStartsAtTheEntryScreen)
{
    const struct
    {
        QString project, topic, pointer, edited;
        QByteArray bytes;
        QString reopened;
    } cases[] = {
        {u"Alpha"_s, u"Two"_s, u"B b"_s, {}, {}, u"Alpha|Two|B b\t/b"_s},
        {u"Alpha"_s, u""_s, u""_s, {}, {}, u"Alpha| ...|"_s},
        {u""_s, u"Inbox"_s, u"Scan"_s, {}, {}, u"|Inbox|Scan\t/s"_s},
        {u"Beta"_s, u"Three"_s, u""_s, u"Project.List"_s, "Alpha\r\n", u"||"_s},
        {u"Alpha"_s, u"Two"_s, u"C"_s, u"Projects/Alpha/Alpha.List"_s, "One\r\n", u"Alpha||"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reopened.toStdString());
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox",
            "Projects/Inbox.Files: Scan -> /s", "Projects/Alpha/Alpha.List: One, Two",
            "Projects/Alpha/Two.Files: A -> /a, B b -> /b, C -> /c", "Projects/Beta/Beta.List: Three"});
        start();
        EXPECT_FALSE(checked());
        EXPECT_TRUE(ini(u"Startup"_s, u"Reopen Last"_s).isEmpty());
        form->run(u"mnuReopenLast"_s);
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"True"_s);
        (void)form->navigation().openPlace({c.project, c.topic, c.pointer});
        form->Form_Unload();
        if (!c.edited.isEmpty())
            data.write(c.edited, c.bytes);
        start();
        EXPECT_TRUE(checked());
        EXPECT_EQ(where(), c.reopened);
        form->run(u"mnuReopenLast"_s);
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"False"_s);
        form->Form_Unload();
        start();
        EXPECT_FALSE(checked());
        EXPECT_EQ(where(), u"||"_s) << "off: the usual start";
        form->Form_Unload();
        QFile::remove(data.file(u"Corvanta.Ini"_s));
    }
}

} // namespace
} // namespace corvanta::test
