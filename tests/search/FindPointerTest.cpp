#include "search/FindPointer.h"

#include "support/DataBuilder.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

// Two projects, entry-screen pointers and topics, and one topic whose file cannot be read.
class FindPointerTest : public FormFixture
{
protected:

    void SetUp() override
    {
        // Broken.Files is a folder where the topic's file should be: it cannot be read.
        layDown(data.path(), {"Project.Files: Welcome Letter -> /home/u/welcome.txt",
            "Project.Topics: Inbox", "Projects/Inbox.Files: Scan 12 -> /scans/12.pdf",
            "Project.List: Alpha, Beta", "Projects/Alpha/Alpha.List: Zeta, Broken, \\sGone\\s, Mid",
            "Projects/Alpha/Alpha.Files: Alpha Plan -> /a/plan.odt",
            "Projects/Alpha/Zeta.Files: Tax Return 2025 -> /home/u/tax/return.pdf, \\s\\s, Receipts -> /home/u/tax/receipts",
            // One UTF-8 line and one Windows-1252 line after an ASCII one.
            "Projects/Alpha/Mid.Files: Budget -> /home/u/money/budget.ods, "
            "\\xC3\\x89t\\xC3\\xA9 Photos -> /p/\\xC3\\xA9t\\xC3\\xA9.jpg, Caf\\xE9 Menu -> /m.pdf",
            "Projects/Alpha/Broken.Files/",
            "Projects/Beta/Beta.List: Letters",
            "Projects/Beta/Letters.Files: Letter To Bank -> http://bank.example.com/TAX, Return Ticket -> /home/u/trip.pdf"});
    }

    // The names and places the window lists for filter.
    static QStringList found(PointerFinder &finder, const QString &filter)
    {
        finder.setFilter(filter);
        QStringList out;
        for (int i = 0; i < finder.resultCount(); ++i)
            out << finder.result(i).name() + u" @ "_s + finder.result(i).where();
        return out;
    }
};

TEST_F(FindPointerTest, everyWordMatchesNameOrTargetInAnyOrderAndCase_unreadableTopicsSkipped)
{
    PointerFinder finder(store(), data.path());
    EXPECT_EQ(finder.pointerCount(), 10);
    const struct
    {
        const char *filter;
        QStringList expected;
    } cases[] = {
        {"", {u"Welcome Letter @ Entry Screen"_s, u"Scan 12 @ Entry Screen / Inbox"_s,
                 u"Alpha Plan @ Alpha"_s, u"Tax Return 2025 @ Alpha / Zeta"_s,
                 u"Receipts @ Alpha / Zeta"_s, u"Budget @ Alpha / Mid"_s, u"Été Photos @ Alpha / Mid"_s,
                 u"Café Menu @ Alpha / Mid"_s, u"Letter To Bank @ Beta / Letters"_s,
                 u"Return Ticket @ Beta / Letters"_s}},
        {"RETURN tax", {u"Tax Return 2025 @ Alpha / Zeta"_s}},
        {"  tax   ", {u"Tax Return 2025 @ Alpha / Zeta"_s, u"Receipts @ Alpha / Zeta"_s,
                         u"Letter To Bank @ Beta / Letters"_s}},
        {"pdf 12", {u"Scan 12 @ Entry Screen / Inbox"_s}},
        {"tax\tbank", {u"Letter To Bank @ Beta / Letters"_s}},
        {"Alpha", {u"Alpha Plan @ Alpha"_s}}, // the place's own name does not match
        // Letters beyond ASCII in any case, in files of either encoding; the Kelvin sign is a k.
        {"été", {u"Été Photos @ Alpha / Mid"_s}},
        {"menu CAFÉ", {u"Café Menu @ Alpha / Mid"_s}},
        {"ban\u212A", {u"Letter To Bank @ Beta / Letters"_s}},
        {"été tax", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(found(finder, QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

// Enter opens the project, the topic and the row from any place, also in sorted lists.
TEST_F(FindPointerTest, enterOpensTheProjectTopicAndRow_fromAnyPlaceInAnySort)
{
    const struct
    {
        const char *topicSort, *fileSort, *filter;
        QString project, topic, row;
        int index;
    } cases[] = {
        {"none", "none", "receipts", u"Alpha"_s, u"Zeta"_s, u"Receipts\t/home/u/tax/receipts"_s, 1},
        {"descend", "ascend", "receipts", u"Alpha"_s, u"Zeta"_s, u"Receipts\t/home/u/tax/receipts"_s, 0},
        {"none", "none", "scan", u""_s, u"Inbox"_s, u"Scan 12\t/scans/12.pdf"_s, 0},
        {"none", "none", "welcome", u""_s, u" ..."_s, u"Welcome Letter\t/home/u/welcome.txt"_s, 0},
        {"none", "none", "plan", u"Alpha"_s, u" ..."_s, u"Alpha Plan\t/a/plan.odt"_s, 0},
        {"none", "none", "ticket", u"Beta"_s, u"Letters"_s, u"Return Ticket\t/home/u/trip.pdf"_s, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.filter);
        setIni(u"Topic List"_s, u"Sort"_s, QString::fromLatin1(c.topicSort));
        setIni(u"File List"_s, u"Sort"_s, QString::fromLatin1(c.fileSort));
        start();
        ui.onFindPointer = [&](PointerFinder &finder) {
            finder.setFilter(QString::fromLatin1(c.filter));
            finder.openResult(0);
            EXPECT_TRUE(finder.closed());
        };
        // The entry screen's item opens the same window as the menu's.
        form->run(c.index == 0 ? u"entry:Find Pointer"_s : u"mnuFindPointer"_s);
        EXPECT_EQ(form->state.CurrentProject, c.project);
        EXPECT_EQ(form->state.CurrentTopic, c.topic);
        EXPECT_EQ(topics().columnText(topics().ListIndex(), 0), c.topic);
        ASSERT_EQ(selectedRows(files()), QList<int> {c.index});
        EXPECT_EQ(files().rowText(c.index), c.row);
        EXPECT_TRUE(files().hasFocus());
    }
}

TEST_F(FindPointerTest, changesMadeWhileClosedShow_andAGoneTopicOnlyBeeps)
{
    start();
    QStringList seen;
    ui.onFindPointer = [&](PointerFinder &finder) { seen = found(finder, u"tax"_s); };
    form->run(u"mnuFindPointer"_s);
    EXPECT_EQ(seen.size(), 3);
    data.write(u"Projects/Beta/Letters.Files"_s, "Tax Office\t/t\r\n");
    form->run(u"mnuFindPointer"_s);
    EXPECT_EQ(seen.last(), u"Tax Office @ Beta / Letters"_s);

    // The topic leaves its list while the window is open.
    ui.onFindPointer = [&](PointerFinder &finder) {
        data.write(u"Projects/Beta/Beta.List"_s, "Other\r\n");
        finder.setFilter(u"office"_s);
        finder.openResult(0);
    };
    const int beeps = ui.beeps;
    form->run(u"mnuFindPointer"_s);
    EXPECT_EQ(ui.beeps, beeps + 1);
    EXPECT_TRUE(form->state.CurrentTopic != u"Letters"_s);
}

} // namespace
} // namespace corvanta::test
