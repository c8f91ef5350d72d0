#include "app/ReopenLast.h"

#include "support/DataBuilder.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class ReopenLastTest : public FormFixture
{
protected:
    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox",
            "Projects/Inbox.Files: Scan -> /s", "Projects/Alpha/Alpha.List: One, Two",
            "Projects/Alpha/Two.Files: A -> /a, B b -> /b, C -> /c", "Projects/Beta/Beta.List: Three"});
    }
    void goTo(const QString &project, const QString &topic, const QString &pointer)
    {
        (void)form->navigation().openPlace({project, topic, pointer});
    }
    void restart()
    {
        form->Form_Unload();
        start();
    }
    QString where() const
    {
        const int row = form->lstFileList.ListIndex();
        return form->state.CurrentProject + u'|' + form->state.CurrentTopic + u'|'
            + (row >= 0 && form->lstFileList.isSelected(row) ? form->lstFileList.rowText(row) : QString());
    }
    bool checked() const { return form->commands.item(u"mnuReopenLast"_s)->checked; }
};

TEST_F(ReopenLastTest, onReopensTheLastPlace_offStartsAtTheEntryScreen)
{
    const struct
    {
        QString project, topic, pointer, reopened;
    } cases[] = {
        {u"Alpha"_s, u"Two"_s, u"B b"_s, u"Alpha|Two|B b\t/b"_s},
        {u"Alpha"_s, u""_s, u""_s, u"Alpha| ...|"_s},
        {u""_s, u"Inbox"_s, u"Scan"_s, u"|Inbox|Scan\t/s"_s},
    };
    for (const auto &c : cases) {
        start();
        EXPECT_FALSE(checked());
        form->run(u"mnuReopenLast"_s);
        EXPECT_TRUE(checked());
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"True"_s);
        goTo(c.project, c.topic, c.pointer);
        restart();
        EXPECT_TRUE(checked());
        EXPECT_EQ(where(), c.reopened);

        form->run(u"mnuReopenLast"_s);
        EXPECT_EQ(ini(u"Startup"_s, u"Reopen Last"_s), u"False"_s);
        restart();
        EXPECT_FALSE(checked());
        EXPECT_EQ(where(), u"||"_s) << "off: the usual start";
    }
}

TEST_F(ReopenLastTest, aProjectOrTopicDeletedMeanwhile_leavesTheUsualStart)
{
    const QByteArray untouched = "[User]\r\nName=Tester\r\n";
    data.write(u"Corvanta.Ini"_s, untouched);
    start();
    restart();
    EXPECT_FALSE(ini(u"Startup"_s, u"Reopen Last"_s).size()); // off by default: nothing stored

    form->run(u"mnuReopenLast"_s);
    goTo(u"Beta"_s, u"Three"_s, QString());
    form->Form_Unload();
    data.write(u"Project.List"_s, "Alpha\r\n");
    start();
    EXPECT_EQ(where(), u"||"_s);
    EXPECT_EQ(rows(projects()), (QStringList {u"Alpha"_s}));

    goTo(u"Alpha"_s, u"Two"_s, u"C"_s);
    form->Form_Unload();
    data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\n");
    start();
    EXPECT_EQ(form->state.CurrentTopic, QString());
}

} // namespace
} // namespace corvanta::test
