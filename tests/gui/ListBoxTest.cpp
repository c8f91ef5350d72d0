#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "gui/Palette.h"
#include "gui/TargetIcons.h"
#include "store/ListControl.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QVBoxLayout>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

class Recorder : public ListControlEvents
{
public:
    QStringList log;
    void Click(ListControl &) override { log << QStringLiteral("Click"); }
    void DblClick(ListControl &) override { log << QStringLiteral("DblClick"); }
    void GotFocus(ListControl &) override { log << QStringLiteral("GotFocus"); }
    void LostFocus(ListControl &) override { log << QStringLiteral("LostFocus"); }
    void KeyDown(ListControl &, int &code, int &) override
    {
        log << QStringLiteral("KeyDown:%1").arg(code);
    }
    void MouseDown(ListControl &, int button, int, int row) override
    {
        log << QStringLiteral("MouseDown:%1,%2").arg(button).arg(row);
    }
};

// A parent that records the keys the list passed on.
class KeySink : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
};

struct Fixture
{
    explicit Fixture(int rows, int columns = 1, bool multi = false) : control(columns, multi)
    {
        for (int i = 0; i < rows; ++i)
            control.addRow(QStringLiteral("Row %1").arg(i, 3, 10, QLatin1Char('0')));
        control.setEvents(&events);
        auto *layout = new QVBoxLayout(&window);
        view = new ListBox(control, &window);
        layout->addWidget(view);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        events.log.clear();
    }
    QPoint rowCentre(int row) const
    {
        return view->visualRect(view->model()->index(row, 0)).center();
    }

    ListControl control;
    Recorder events;
    KeySink window;
    ListBox *view = nullptr;
    QLineEdit *other = nullptr; // holds the focus at the start
};

} // namespace

TEST(ListBoxTest, model_paintsSelectionAndRowColoursFromTheControl)
{
    ListControl control(2, true);
    control.addRow(QStringLiteral("Report\t/tmp/report.txt"));
    control.addRow(QStringLiteral("Marked"));
    ListModel model(control);
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Highlight, Qt::darkBlue);
    model.setPalette(palette);
    control.setRow(0);
    control.setSelected(true);
    control.setRowBackColour(1, 0xE0E0E0);

    // The active highlight only while the list has the keyboard.
    control.setHasFocus(true);
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::darkBlue));
    control.setHasFocus(false);
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
        palette.color(QPalette::Inactive, QPalette::Highlight));
    EXPECT_EQ(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(224, 224, 224));

    // Dark colours with one highlight for both states: a paler highlight, and a mark, that read.
    QPalette dark;
    for (const auto &[role, rgb] : {std::pair {QPalette::Base, 0x1b1e20},
             {QPalette::Text, 0xeff0f1}, {QPalette::Highlight, 0x3daee9},
             {QPalette::HighlightedText, 0xfcfcfc}})
        dark.setColor(role, QColor::fromRgb(QRgb(rgb)));
    model.setPalette(dark);
    const auto colour = [&](int row, int role) {
        return model.index(row, 0).data(role).value<QColor>();
    };
    EXPECT_NE(colour(0, Qt::BackgroundRole), dark.color(QPalette::Highlight));
    EXPECT_GE(contrastRatio(colour(0, Qt::ForegroundRole), colour(0, Qt::BackgroundRole)), 4.5);
    EXPECT_GE(contrastRatio(dark.color(QPalette::Text), colour(1, Qt::BackgroundRole)), 4.5);
}

// A click and a double-click reach the control; an arrow key moves its row, type-ahead finds a
// row, and the keys the list does not use reach the window.
// Once the marks are in, a screen reader hears each row's mark with its target; every row has
// an icon.
TEST(ListBoxTest, model_describesEachRowsMarkAndShowsAnIcon)
{
    const QStringList rows = {u"Here\t/here/a.txt"_s, u"Gone\t/gone/a.txt"_s,
        u"Stick\t/media/a.txt"_s, u"Site\thttp://example.com"_s};
    const QStringList described = {u"/here/a.txt"_s, u"Target missing, /gone/a.txt"_s,
        u"Target not reachable, /media/a.txt"_s, u"http://example.com"_s};
    ListControl control(2, true);
    for (const QString &row : rows)
        control.addRow(row);
    ListModel model(control);
    TargetMarks marks;
    model.setTargetMarks(&marks);
    int shown = 0; // the view repaints on dataChanged
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++shown; });
    marks.onMarked = [&] { model.marksChanged(); };
    marks.check(rows, false, [](const QString &target) {
        return TargetMark {target.startsWith(u"/gone"_s) ? TargetState::Missing
                : target.startsWith(u"/media"_s)         ? TargetState::NotReachable
                                                         : TargetState::Exists,
            std::nullopt};
    });
    QElapsedTimer clock;
    clock.start();
    while (marks.checking() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GT(shown, 0);
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        EXPECT_EQ(index.data(Qt::AccessibleDescriptionRole).toString(), described[row]);
        EXPECT_FALSE(index.data(Qt::DecorationRole).value<QIcon>().isNull()) << row;
    }
}

TEST(ListBoxTest, mouseAndKeys_reachTheControlAndOtherKeysTheWindow)
{
    {
        Fixture f(20, 2, true);
        QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, f.rowCentre(3));
        EXPECT_EQ(f.control.ListIndex(), 3);
        EXPECT_TRUE(f.control.isSelected(3));
        EXPECT_TRUE(f.events.log.contains(u"Click"_s));
        EXPECT_TRUE(f.events.log.contains(u"MouseDown:1,3"_s));
        f.events.log.clear();
        QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, f.rowCentre(3));
        EXPECT_EQ(f.events.log.count(u"DblClick"_s), 1);
        EXPECT_FALSE(f.events.log.contains(u"Click"_s)); // the row was already chosen
    }
    Fixture f(20);
    f.view->setFocus();
    f.control.setListIndex(4);
    f.events.log.clear();
    QTest::keyClick(f.view, Qt::Key_Down);
    EXPECT_EQ(f.control.ListIndex(), 5);
    EXPECT_TRUE(f.control.isSelected(5));
    EXPECT_EQ(f.events.log, (QStringList {u"KeyDown:40"_s, u"Click"_s}));
    EXPECT_EQ(f.view->currentIndex().row(), 5);
    QTest::keyClick(f.view, Qt::Key_F5);
    QTest::keyClick(f.view, Qt::Key_Return);
    EXPECT_EQ(f.window.keys, (QList<int> {Qt::Key_F5, Qt::Key_Return}));
    QTest::keyClicks(f.view, u"row 01"_s); // type-ahead
    EXPECT_EQ(f.control.ListIndex(), 10);
    EXPECT_EQ(f.window.keys.size(), 2);
}

TEST(ListBoxTest, programChanges_updateTheView)
{
    Fixture f(500, 2);
    f.control.setListIndex(400);
    EXPECT_EQ(f.view->currentIndex().row(), 400);
    EXPECT_TRUE(f.view->viewport()->rect().contains(f.rowCentre(400))); // scrolled into view
    EXPECT_TRUE(f.events.log.isEmpty());

    f.control.setColHide(1, true);
    f.control.setGridLines(GridLines::Shown);
    EXPECT_TRUE(f.view->isColumnHidden(1));
    EXPECT_TRUE(f.view->showGrid());
    EXPECT_EQ(f.view->columnWidth(0), f.view->viewport()->width()); // column 0 fills the list

    f.control.setFocus();
    EXPECT_TRUE(f.view->hasFocus());
    EXPECT_TRUE(f.control.hasFocus());
    f.other->setFocus();
    EXPECT_FALSE(f.control.hasFocus());
    EXPECT_EQ(
        f.events.log, (QStringList {QStringLiteral("GotFocus"), QStringLiteral("LostFocus")}));
}

// A row shows its first 1,000 characters only, however long the line in the file; the row
// itself stays whole.
TEST(ListBoxTest, model_showsAtMostTheFirst1000CharactersOfARow)
{
    ListControl control(2, true);
    const QString name = QString(1500, u'n');
    control.addRow(name + u"\t/target"_s);
    control.addRow(QString(10, u'x') + u"\t"_s + QString(2000, u't'));
    control.addRow(QString(999, u'e') + u"\U0001F600\t/t"_s);
    ListModel model(control);
    EXPECT_EQ(model.index(0, 0).data().toString(), QString(1000, u'n'));
    EXPECT_EQ(model.index(0, 1).data().toString(), QString());
    EXPECT_EQ(model.index(1, 1).data().toString(), QString(989, u't'));
    // Never half of a character.
    EXPECT_EQ(model.index(2, 0).data().toString(), QString(999, u'e'));
    control.setToolTip(name);
    EXPECT_EQ(model.index(0, 0).data(Qt::ToolTipRole).toString(), QString(1000, u'n'));
    EXPECT_EQ(control.rowText(0), name + u"\t/target"_s);
}
