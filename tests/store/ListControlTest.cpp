#include "store/ListControl.h"
#include "platform/Keys.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>
#include <functional>

using namespace corvanta;

namespace {

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

void select(ListControl &list, int row, bool on = true)
{
    list.setRow(row);
    list.setSelected(on);
}

// Records the events in order, as "Name" or "Name:args".
class Recorder : public ListControlEvents
{
public:
    QStringList log;
    int consumeKey = -1; // KeyDown sets this code to 0
    void Click(ListControl &) override { log << QStringLiteral("Click"); }
    void DblClick(ListControl &) override { log << QStringLiteral("DblClick"); }
    void GotFocus(ListControl &) override { log << QStringLiteral("GotFocus"); }
    void LostFocus(ListControl &) override { log << QStringLiteral("LostFocus"); }
    void KeyDown(ListControl &, int &code, int &shift) override
    {
        log << QStringLiteral("KeyDown:%1,%2").arg(code).arg(shift);
        if (code == consumeKey)
            code = 0;
    }
    void MouseDown(ListControl &list, int button, int shift, int row) override
    {
        log << QStringLiteral("MouseDown:%1,%2,%3").arg(button).arg(shift).arg(row);
        if (onMouseDown)
            onMouseDown(list);
    }
    void MouseMove(ListControl &, int, int, int row) override
    {
        log << QStringLiteral("MouseMove:%1").arg(row);
    }
    std::function<void(ListControl &)> onMouseDown;
};

class Watcher : public ListControlObserver
{
public:
    QStringList log;
    void listReset() override { log << QStringLiteral("reset"); }
    void rowsInserted(int first, int count) override
    {
        log << QStringLiteral("inserted:%1,%2").arg(first).arg(count);
    }
    void rowsRemoved(int first, int count) override
    {
        log << QStringLiteral("removed:%1,%2").arg(first).arg(count);
    }
    void rowsChanged(int first, int last) override
    {
        log << QStringLiteral("changed:%1,%2").arg(first).arg(last);
    }
    void currentRowChanged(int row) override { log << QStringLiteral("current:%1").arg(row); }
    void appearanceChanged() override { log << QStringLiteral("appearance"); }
    void focusRequested() override { log << QStringLiteral("focus"); }
};

} // namespace

TEST(ListControlTest, cursor_readsAndWritesRowsAndColumns)
{
    ListControl list(2);
    list.addRow(QStringLiteral("Report\t/home/u/report.txt"));
    list.addRow(QStringLiteral("NoTab"));
    list.setRow(1);
    list.insertRow(QStringLiteral("Middle\tm"));
    list.setRow(99);
    list.insertRow(QStringLiteral("Last"));
    EXPECT_EQ(texts(list),
        (QStringList {QStringLiteral("Report\t/home/u/report.txt"), QStringLiteral("Middle\tm"),
            QStringLiteral("NoTab"), QStringLiteral("Last")}));

    list.setRow(0);
    list.setCol(1);
    EXPECT_EQ(list.ColList(), QStringLiteral("/home/u/report.txt"));
    list.setRow(2);
    EXPECT_EQ(list.ColList(), QString()); // a row without TAB has an empty second column
    list.setColList(QStringLiteral("target"));
    EXPECT_EQ(list.List(), QStringLiteral("NoTab\ttarget"));
    list.setCol(0);
    list.setColList(QStringLiteral("Renamed"));
    EXPECT_EQ(list.List(), QStringLiteral("Renamed\ttarget"));
    list.setList(QStringLiteral("Whole\tline"));
    EXPECT_EQ(list.columnText(2, 0), QStringLiteral("Whole"));

    list.setRow(7); // out of range: reads are empty, writes do nothing
    EXPECT_EQ(list.List(), QString());
    list.setList(QStringLiteral("x"));
    list.setSelected(true);
    EXPECT_EQ(list.ListCount(), 4);
    EXPECT_EQ(list.SelCount(), 0);
}

TEST(ListControlTest, singleSelectList_keepsOneSelectedRow)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.setRow(2); // moving the cursor selects nothing
    EXPECT_EQ(list.SelCount(), 0);
    select(list, 0);
    select(list, 2);
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_EQ(list.SelCount(), 1);

    list.setAction(1); // select all does nothing in a single-select list
    EXPECT_EQ(list.SelCount(), 1);
    list.setAction(2);
    EXPECT_EQ(list.SelCount(), 0);

    list.setListIndex(1); // the current row is not a selection
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.SelCount(), 0);
    list.setListIndex(3); // out of range is refused
    EXPECT_EQ(list.ListIndex(), 1);
    list.setListIndex(-5);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(ListControlTest, multiSelectList_countsAndIteratesSelectedRows)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                  QStringLiteral("d"), QStringLiteral("e")},
        2, true);
    select(list, 3);
    select(list, 1);
    select(list, 1); // selecting twice counts once
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(list.NextSel(), 1);
    EXPECT_EQ(list.NextSel(), 3);
    EXPECT_EQ(list.NextSel(), -1);
    EXPECT_EQ(list.NextSel(), 1); // after the end the iterator starts over
    list.resetNextSel();
    EXPECT_EQ(list.NextSel(), 1);

    list.setAction(1);
    EXPECT_EQ(list.SelCount(), 5);
    select(list, 0, false);
    EXPECT_EQ(list.SelCount(), 4);
    list.setAction(2);
    EXPECT_EQ(list.SelCount(), 0);
    list.resetNextSel();
    EXPECT_EQ(list.NextSel(), -1);
}

TEST(ListControlTest, deleteAction_keepsCountsAndCurrentRowSane)
{
    ListControl list =
        listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
            1, true);
    select(list, 0);
    select(list, 3);
    list.setListIndex(2);

    list.setRow(0); // a row above the current one goes: the current row follows its row
    list.setAction(4);
    EXPECT_EQ(
        texts(list), (QStringList {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.SelCount(), 1);

    list.setRow(1); // the current row goes: the next row takes its place
    list.setAction(4);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.rowText(1), QStringLiteral("d"));

    list.setRow(1); // the last row goes: the current row moves up
    list.setAction(4);
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(list.SelCount(), 0);

    list.setRow(5); // no row there: nothing happens
    list.setAction(4);
    EXPECT_EQ(list.ListCount(), 1);
    list.setRow(0);
    list.setAction(4);
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(ListControlTest, deletingWhileIteratingSelection_visitsEverySelectedRow)
{
    ListControl list =
        listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
            1, true);
    select(list, 1);
    select(list, 2);
    QStringList removed;
    for (int row = list.NextSel(); row >= 0; row = list.NextSel()) {
        list.setRow(row);
        removed << list.List();
        list.setAction(4);
    }
    EXPECT_EQ(removed, (QStringList {QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(texts(list), (QStringList {QStringLiteral("a"), QStringLiteral("d")}));
}

TEST(ListControlTest, removeSelectedRows_endsAsDeletingEachSelectedRowFromTheLastUp)
{
    struct Case {
        const char *what;
        std::vector<int> selected;
        int current;
    };
    const Case cases[] = {
        {"every second row, current kept", {0, 2, 4, 6}, 3},
        {"current among the removed", {2, 3, 4}, 3},
        {"the last rows, current with them", {5, 6, 7}, 7},
        {"all rows", {0, 1, 2, 3, 4, 5, 6, 7}, 4},
        {"none", {}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList rows;
        for (int i = 0; i < 8; ++i)
            rows << QString::number(i);
        ListControl bulk = listOf(rows, 1, true);
        ListControl oneByOne = listOf(rows, 1, true);
        for (ListControl *list : {&bulk, &oneByOne}) {
            for (int row : c.selected) {
                list->setRow(row);
                list->setSelected(true);
            }
            list->setListIndex(c.current);
            list->NextSel(); // an iteration under way
        }
        int lowest = -1;
        for (int i = oneByOne.ListCount() - 1; i >= 0; --i) {
            if (oneByOne.isSelected(i)) {
                lowest = i;
                oneByOne.setRow(i);
                oneByOne.setAction(4);
            }
        }
        EXPECT_EQ(bulk.removeSelectedRows(), lowest);
        EXPECT_EQ(texts(bulk), texts(oneByOne));
        EXPECT_EQ(bulk.ListIndex(), oneByOne.ListIndex());
        EXPECT_EQ(bulk.SelCount(), 0);
        EXPECT_EQ(bulk.NextSel(), oneByOne.NextSel());
    }
}

TEST(ListControlTest, columnSort_isStableCaseInsensitiveAndMovesSelection)
{
    ListControl list =
        listOf({QStringLiteral("beta\t2"), QStringLiteral("Alpha\t1"), QStringLiteral("alpha\t3"),
                   QStringLiteral("item 10"), QStringLiteral("item 9"), QStringLiteral("ALPHA\t4")},
            2);
    select(list, 0); // "beta"
    list.setRowBackColour(0, 0xE0E0E0);
    list.setListIndex(0);

    list.setSortState(2);
    list.setColSorted(1);
    EXPECT_EQ(list.rowText(0), QStringLiteral("beta\t2")); // suspended: nothing moves yet
    list.setSortState(1);
    EXPECT_EQ(texts(list),
        (QStringList {QStringLiteral("Alpha\t1"), QStringLiteral("alpha\t3"),
            QStringLiteral("ALPHA\t4"), QStringLiteral("beta\t2"), QStringLiteral("item 10"),
            QStringLiteral("item 9")}));
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_EQ(list.rowBackColour(3), 0xE0E0E0);
    EXPECT_EQ(list.ListIndex(), 3);

    list.setSortState(2);
    list.setColSorted(2);
    list.setSortState(1);
    EXPECT_EQ(texts(list),
        (QStringList {QStringLiteral("item 9"), QStringLiteral("item 10"),
            QStringLiteral("beta\t2"), QStringLiteral("Alpha\t1"), QStringLiteral("alpha\t3"),
            QStringLiteral("ALPHA\t4")}));
    EXPECT_EQ(list.ColSorted(), 2);
    list.clear();
    EXPECT_EQ(list.ColSorted(), 0);
}

TEST(ListControlTest, noSortDirection_keepsInsertOrder_andOneShotSortLeavesColumnSortAlone)
{
    ListControl list = listOf({QStringLiteral("c"), QStringLiteral("A"), QStringLiteral("b")});
    list.setSortState(2);
    list.setSortState(1); // no direction set: rows keep the order they came in
    EXPECT_EQ(
        texts(list), (QStringList {QStringLiteral("c"), QStringLiteral("A"), QStringLiteral("b")}));

    list.setSorted(2);
    EXPECT_EQ(
        texts(list), (QStringList {QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("A")}));
    EXPECT_EQ(list.ColSorted(), 0);
    list.setRow(0);
    list.insertRow(QStringLiteral("z")); // one-shot: later rows are not sorted in
    EXPECT_EQ(list.rowText(0), QStringLiteral("z"));
    list.setSorted(1);
    EXPECT_EQ(texts(list),
        (QStringList {
            QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("z")}));
}

TEST(ListControlTest, sortingHundredThousandRows_isFast)
{
    ListControl list(2, true);
    list.setRedraw(false);
    for (int i = 0; i < 100000; ++i)
        list.addRow(
            QStringLiteral("Name %1\t/home/user/docs/file %1.txt").arg((i * 7919) % 100000));
    list.setRedraw(true);
    const auto start = std::chrono::steady_clock::now();
    list.setSorted(1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(list.columnText(0, 0), QStringLiteral("Name 0"));
    EXPECT_EQ(list.columnText(2, 0), QStringLiteral("Name 10")); // text order, not numbers
    // Generous: sanitizer builds are several times slower than release builds.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 5000);
}

TEST(ListControlTest, leftClick_movesSelectionThenRaisesMouseDownAndClick)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Recorder events;
    list.setEvents(&events);
    list.userMouseDown(1, Mouse::Left, Key::NoShift);
    EXPECT_EQ(
        events.log, (QStringList {QStringLiteral("MouseDown:1,0,1"), QStringLiteral("Click")}));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_TRUE(list.isSelected(1));

    events.log.clear(); // the same row again changes nothing
    list.userMouseDown(1, Mouse::Left, Key::NoShift);
    list.userMouseDown(-1, Mouse::Left, Key::NoShift); // below the last row
    list.userDoubleClick(1);
    EXPECT_EQ(events.log,
        (QStringList {QStringLiteral("MouseDown:1,0,1"), QStringLiteral("MouseDown:1,0,-1"),
            QStringLiteral("DblClick")}));
}

TEST(ListControlTest, rightClick_changesNothingAndHandlerChangesRaiseNoClick)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Recorder events;
    events.onMouseDown = [](ListControl &l) { // as the popup handlers do
        l.setRow(2);
        l.setListIndex(2);
        l.setSelected(true);
    };
    list.setEvents(&events);
    list.userMouseDown(0, Mouse::Right, Key::NoShift);
    EXPECT_EQ(events.log, (QStringList {QStringLiteral("MouseDown:2,0,0")}));
    EXPECT_EQ(list.ListIndex(), 2);

    events.log.clear(); // program changes from outside raise nothing either
    list.setAction(2);
    list.setListIndex(0);
    list.setHasFocus(true);
    list.setHasFocus(true);
    list.setHasFocus(false);
    EXPECT_EQ(events.log, (QStringList {QStringLiteral("GotFocus"), QStringLiteral("LostFocus")}));
}

TEST(ListControlTest, multiSelectClicks_extendWithShiftAndToggleWithCtrl)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                  QStringLiteral("d"), QStringLiteral("e")},
        2, true);
    list.userMouseDown(1, Mouse::Left, Key::NoShift);
    list.userMouseDown(3, Mouse::Left, Key::ShiftMask);
    EXPECT_EQ(list.SelCount(), 3);
    list.userMouseDown(0, Mouse::Left, Key::ShiftMask); // the anchor stays on row 1
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.isSelected(0) && list.isSelected(1));
    list.userMouseDown(4, Mouse::Left, Key::CtrlMask);
    list.userMouseDown(0, Mouse::Left, Key::CtrlMask);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.isSelected(1) && list.isSelected(4));
    EXPECT_EQ(list.ListIndex(), 0);
    list.userMouseDown(2, Mouse::Left, Key::NoShift);
    EXPECT_EQ(list.SelCount(), 1);
}

TEST(ListControlTest, keys_raiseKeyDownFirstThenMoveAndClick)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
        QStringLiteral("d"), QStringLiteral("e")});
    Recorder events;
    list.setEvents(&events);
    EXPECT_TRUE(list.userKeyDown(Key::Down, Key::NoShift));
    EXPECT_EQ(events.log, (QStringList {QStringLiteral("KeyDown:40,0"), QStringLiteral("Click")}));
    EXPECT_EQ(list.ListIndex(), 0); // from no current row, Down goes to the first
    EXPECT_TRUE(list.isSelected(0));

    list.userKeyDown(Key::End, Key::NoShift);
    EXPECT_EQ(list.ListIndex(), 4);
    list.userKeyDown(Key::PageUp, Key::NoShift, 3);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.SelCount(), 1);

    events.log.clear();
    list.userKeyDown(Key::Home, Key::NoShift);
    list.userKeyDown(Key::Up, Key::NoShift); // already at the top: no Click
    EXPECT_EQ(events.log,
        (QStringList {QStringLiteral("KeyDown:36,0"), QStringLiteral("Click"),
            QStringLiteral("KeyDown:38,0")}));
}

TEST(ListControlTest, consumedAndUnknownKeys_leaveTheListAlone)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b")});
    Recorder events;
    events.consumeKey = Key::Down;
    list.setEvents(&events);
    EXPECT_TRUE(list.userKeyDown(Key::Down, Key::NoShift)); // consumed
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_FALSE(list.userKeyDown(Key::F5, Key::NoShift)); // for the window to handle
    EXPECT_FALSE(list.userKeyDown(Key::Return, Key::NoShift));
    EXPECT_EQ(events.log,
        (QStringList {QStringLiteral("KeyDown:40,0"), QStringLiteral("KeyDown:116,0"),
            QStringLiteral("KeyDown:13,0")}));
}

TEST(ListControlTest, shiftArrowsInMultiSelect_extendFromAnchor)
{
    ListControl list =
        listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
            2, true);
    list.userMouseDown(1, Mouse::Left, Key::NoShift);
    list.userKeyDown(Key::Down, Key::ShiftMask);
    list.userKeyDown(Key::Down, Key::ShiftMask);
    EXPECT_EQ(list.SelCount(), 3);
    list.userKeyDown(Key::Up, Key::CtrlMask); // Ctrl moves the current row only
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.SelCount(), 3);
    list.userKeyDown(Key::Down, Key::NoShift);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.isSelected(3));
}

TEST(ListControlTest, typeAhead_findsPrefixIgnoringCaseAndCyclesOnRepeats)
{
    ListControl list = listOf({QStringLiteral(" ..."), QStringLiteral("Mail\tx"),
                                  QStringLiteral("maps"), QStringLiteral("Music")},
        2);
    Recorder events;
    list.setEvents(&events);
    EXPECT_TRUE(list.userKeyboardSearch(QStringLiteral("m")));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_TRUE(list.userKeyboardSearch(QStringLiteral("ma")));
    EXPECT_EQ(list.ListIndex(), 1); // still matches: stays
    EXPECT_TRUE(list.userKeyboardSearch(QStringLiteral("map")));
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_TRUE(list.userKeyboardSearch(QStringLiteral("mm")));
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_TRUE(list.userKeyboardSearch(QStringLiteral("M"))); // wraps round
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_FALSE(list.userKeyboardSearch(QStringLiteral("x"))); // the target column is not searched
    EXPECT_EQ(events.log.count(QStringLiteral("Click")), 4);
    EXPECT_EQ(list.SelCount(), 1);

    // Space typed inside a name is left to the type-ahead; KeyDown still sees it
    events.log.clear();
    EXPECT_FALSE(list.userKeyDown(Key::Space, Key::NoShift, 10, true));
    EXPECT_EQ(events.log, QStringList {QStringLiteral("KeyDown:32,0")});
}

TEST(ListControlTest, mouseMove_setsMouseOverRow)
{
    ListControl list = listOf({QStringLiteral("a"), QStringLiteral("b")});
    Recorder events;
    list.setEvents(&events);
    list.userMouseMove(1, Mouse::NoButton, Key::NoShift);
    EXPECT_EQ(list.MouseOverRow(), 1);
    list.userMouseMove(9, Mouse::NoButton, Key::NoShift);
    EXPECT_EQ(list.MouseOverRow(), -1);
    EXPECT_EQ(
        events.log, (QStringList {QStringLiteral("MouseMove:1"), QStringLiteral("MouseMove:-1")}));
}

TEST(ListControlTest, observers_hearEachChange_andOneResetAfterRedrawResumes)
{
    ListControl list(1, true);
    Watcher watcher;
    list.addObserver(&watcher);
    list.addRow(QStringLiteral("a"));
    list.setRow(0);
    list.insertRow(QStringLiteral("b"));
    select(list, 1);
    list.setListIndex(1);
    list.setAction(4);
    list.setLineStyle(4);
    list.setFocus();
    EXPECT_EQ(watcher.log,
        (QStringList {QStringLiteral("inserted:0,1"), QStringLiteral("inserted:0,1"),
            QStringLiteral("changed:1,1"), QStringLiteral("current:1"),
            QStringLiteral("removed:1,1"), QStringLiteral("current:0"),
            QStringLiteral("appearance"), QStringLiteral("focus")}));

    watcher.log.clear();
    list.setRedraw(false);
    for (int i = 0; i < 1000; ++i)
        list.addRow(QStringLiteral("row"));
    list.setAction(1);
    list.setSorted(1);
    list.setFocus(); // a focus request is not drawing: it still goes out
    list.setRedraw(true);
    EXPECT_EQ(watcher.log, (QStringList {QStringLiteral("focus"), QStringLiteral("reset")}));

    list.removeObserver(&watcher);
    list.clear();
    EXPECT_EQ(watcher.log.size(), 2);
}
