#include "store/ListControl.h"
#include "platform/Keys.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QStringList>

#include <functional>

using namespace corvanta;

using namespace Qt::StringLiterals;

namespace {

// Rows written as "a|b|c".
QStringList L(const char *rows)
{
    return QString::fromUtf8(rows).split(u'|');
}

QStringList texts(const ListControl &list)
{
    QStringList out;
    for (int i = 0; i < list.ListCount(); ++i)
        out << list.rowText(i);
    return out;
}

ListControl listOf(const QStringList &rows, int columns = 1, bool multi = false)
{
    ListControl list(columns, multi);
    for (const QString &row : rows)
        list.addRow(row);
    return list;
}

// Records the events in order, as "Name" or "Name:args".
class Recorder : public ListControlEvents
{
public:
    QStringList log;
    int consumeKey = -1; // KeyDown sets this code to 0
    void Click(ListControl &) override { log << u"Click"_s; }
    void DblClick(ListControl &) override { log << u"DblClick"_s; }
    void GotFocus(ListControl &) override { log << u"GotFocus"_s; }
    void LostFocus(ListControl &) override { log << u"LostFocus"_s; }
    void KeyDown(ListControl &, int &code, int &shift) override
    {
        log << u"KeyDown:%1,%2"_s.arg(code).arg(shift);
        if (code == consumeKey)
            code = 0;
    }
    void MouseDown(ListControl &list, int button, int shift, int row) override
    {
        log << u"MouseDown:%1,%2,%3"_s.arg(button).arg(shift).arg(row);
        if (onMouseDown)
            onMouseDown(list);
    }
    void MouseMove(ListControl &, int, int, int row) override { log << u"MouseMove:%1"_s.arg(row); }
    std::function<void(ListControl &)> onMouseDown;
};

} // namespace

TEST(ListControlTest, columnSort_isStableCaseInsensitiveAndMovesSelection)
{
    ListControl list = listOf(L("beta\t2|Alpha\t1|alpha\t3|item 10|item 9|ALPHA\t4"), 2);
    list.setRow(0); // "beta"
    list.setSelected(true);
    list.setRowBackColour(0, 0xE0E0E0);
    list.setListIndex(0);

    list.setSortState(ListSortState::Suspended);
    list.setColSorted(SortDirection::Ascending);
    EXPECT_EQ(list.rowText(0), u"beta\t2"_s); // suspended: nothing moves yet
    list.setSortState(ListSortState::Active);
    EXPECT_EQ(texts(list), L("Alpha\t1|alpha\t3|ALPHA\t4|beta\t2|item 10|item 9"));
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_EQ(list.rowBackColour(3), 0xE0E0E0);
    EXPECT_EQ(list.ListIndex(), 3);

    list.setSortState(ListSortState::Suspended);
    list.setColSorted(SortDirection::Descending);
    list.setSortState(ListSortState::Active);
    EXPECT_EQ(texts(list), L("item 9|item 10|beta\t2|Alpha\t1|alpha\t3|ALPHA\t4"));
    EXPECT_EQ(list.ColSorted(), SortDirection::Descending);
    list.clear();
    EXPECT_EQ(list.ColSorted(), SortDirection::None);
}

// Steps: "click:1 S-key:Down type:ma" (S- Shift, C- Ctrl); handled: one digit per key or type.
TEST(ListControlTest, userInput_raisesEventsAndMovesSelection)
{
    struct Case
    {
        const char *rows;
        bool multi;
        const char *script;
        const char *log; // nullptr: not checked
        const char *handled; // one digit per key: or type: step
        int current;
        const char *selected;
    };
    const Case cases[] = {
        // every click counts, on the current row too and below the last row
        {"a|b|c", false, "click:1 click:1 click:-1 dbl:1",
            "MouseDown:1,0,1|Click|MouseDown:1,0,1|Click|MouseDown:1,0,-1|Click|DblClick", "", 1,
            "1"},
        // a right click changes nothing itself; what its handler changes raises no Click
        {"a|b|c", false, "popup right:0", "MouseDown:2,0,0", "", 2, "2"},
        // program changes raise nothing; focus changes raise one event each
        {"a|b|c", false, "click:1 clear deselect index:0 focus:1 focus:1 focus:0",
            "GotFocus|LostFocus", "", 0, ""},
        {"a|b|c|d|e", true, "click:1 S-click:3 S-click:0", nullptr, "", 0, "0,1"}, // anchor stays
        {"a|b|c|d|e", true, "click:1 S-click:3 S-click:0 C-click:4 C-click:0", nullptr, "", 0, "1,4"},
        {"a|b|c|d|e", true, "click:1 S-click:3 C-click:4 click:2", nullptr, "", 2, "2"},
        // from no current row, Down goes to the first
        {"a|b|c|d|e", false, "key:Down", "KeyDown:40,0|Click", "1", 0, "0"},
        {"a|b|c|d|e", false, "key:Down key:End clear key:PageUp", "KeyDown:33,0|Click", "111", 1,
            "1"},
        {"a|b|c|d|e", false, "key:End clear key:Home key:Up", "KeyDown:36,0|Click|KeyDown:38,0",
            "111", 0, "0"}, // already at the top: no Click
        // a consumed key leaves the list alone; unknown keys are for the window
        {"a|b", false, "consume:Down key:Down key:F5 key:Return",
            "KeyDown:40,0|KeyDown:116,0|KeyDown:13,0", "100", -1, ""},
        {"a|b|c|d", true, "click:1 S-key:Down S-key:Down C-key:Up", nullptr, "111", 2, "1,2,3"},
        {"a|b|c|d", true, "click:1 S-key:Down C-key:Up key:Down", nullptr, "111", 2, "2"},
        // type-ahead: prefix, any case, the name column only, cycling on repeats
        {" ...|Mail\tx|maps|Music", false, "type:m type:ma", "Click", "11", 1, "1"},
        {" ...|Mail\tx|maps|Music", false, "type:m type:ma type:map", nullptr, "111", 2, "2"},
        {" ...|Mail\tx|maps|Music", false, "type:map type:mm clear type:M type:x",
            "Click", "1110", 1, "1"},
        // Space typed inside a name is left to the type-ahead; KeyDown still sees it
        {"a|b", false, "typing:Space", "KeyDown:32,0", "0", -1, ""},
        {"a|b", false, "move:1 move:9", "MouseMove:1|over:1|MouseMove:-1|over:-1", "", -1, ""},
    };
    const QMap<QString, int> keys{{u"Down"_s, Key::Down}, {u"Up"_s, Key::Up},
        {u"End"_s, Key::End}, {u"Home"_s, Key::Home}, {u"PageUp"_s, Key::PageUp},
        {u"F5"_s, Key::F5}, {u"Return"_s, Key::Return}, {u"Space"_s, Key::Space}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        ListControl list = listOf(L(c.rows), 2, c.multi);
        Recorder events;
        list.setEvents(&events);
        QString handled;
        for (QString step : QString::fromUtf8(c.script).split(u' ')) {
            const int shift = step.startsWith(u"S-"_s) ? Key::ShiftMask
                              : step.startsWith(u"C-"_s) ? Key::CtrlMask : Key::NoShift;
            if (shift != Key::NoShift)
                step = step.mid(2);
            const QString verb = step.section(u':', 0, 0);
            const QString arg = step.section(u':', 1);
            if (verb == u"click"_s || verb == u"right"_s)
                list.userMouseDown(
                    arg.toInt(), verb == u"click" ? Mouse::Left : Mouse::Right, shift);
            else if (verb == u"dbl"_s)
                list.userDoubleClick(arg.toInt());
            else if (verb == u"move"_s) {
                list.userMouseMove(arg.toInt(), Mouse::NoButton, shift);
                events.log << u"over:%1"_s.arg(list.MouseOverRow());
            } else if (verb == u"key"_s || verb == u"typing"_s)
                handled += list.userKeyDown(keys.value(arg), shift, 3, verb == u"typing"_s)
                    ? u'1' : u'0';
            else if (verb == u"type"_s)
                handled += list.userKeyboardSearch(arg) ? u'1' : u'0';
            else if (verb == u"consume"_s)
                events.consumeKey = keys.value(arg);
            else if (verb == u"popup"_s) // as the popup handlers do
                events.onMouseDown = [](ListControl &l) {
                    l.setRow(2);
                    l.setListIndex(2);
                    l.setSelected(true);
                };
            else if (verb == u"clear"_s)
                events.log.clear();
            else if (verb == u"deselect"_s)
                list.deselectAll();
            else if (verb == u"index"_s)
                list.setListIndex(arg.toInt());
            else if (verb == u"focus"_s)
                list.setHasFocus(arg == u"1"_s);
            else
                ADD_FAILURE() << "unknown step " << step.toStdString();
        }
        if (c.log) {
            EXPECT_EQ(events.log.join(u'|'), QString::fromUtf8(c.log));
        }
        EXPECT_EQ(handled, QString::fromUtf8(c.handled));
        EXPECT_EQ(list.ListIndex(), c.current);
        QStringList selected;
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.isSelected(i))
                selected << QString::number(i);
        EXPECT_EQ(selected.join(u','), QString::fromUtf8(c.selected));
    }
}
