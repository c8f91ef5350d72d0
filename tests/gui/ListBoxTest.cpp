#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "platform/Keys.h"
#include "store/ListControl.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QVBoxLayout>

using namespace corvanta;

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

QStringList &modelWarnings()
{
    static QStringList warnings;
    return warnings;
}

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        modelWarnings() << message;
}

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

TEST(ListBoxTest, modelTester_acceptsEveryKindOfChange)
{
    modelWarnings().clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    {
        ListControl control(2, true);
        ListModel model(control);
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::Warning);
        for (const char *name : {"delta", "alpha\tx", "charlie"})
            control.addRow(QString::fromLatin1(name));
        control.setRow(1);
        control.insertRow(QStringLiteral("bravo"));
        control.setSelected(true);
        control.setRowBackColour(0, 0xE0E0E0);
        control.removeRow(1);
        control.setSorted(SortDirection::Ascending);
        control.setColumns(3);
        control.setRedraw(false);
        control.clear();
        for (int i = 0; i < 500; ++i)
            control.addRow(QStringLiteral("row %1").arg(i));
        control.setRedraw(true);
        EXPECT_EQ(model.rowCount(), 500);
        EXPECT_EQ(model.columnCount(), 3);
        control.setRow(0);
        control.removeRow(0);
        EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("row 1"));
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(modelWarnings().isEmpty()) << modelWarnings().join(u'\n').toStdString();
}

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

    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("/tmp/report.txt"));
    // The active highlight only while the list has the keyboard.
    control.setHasFocus(true);
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::darkBlue));
    control.setHasFocus(false);
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
        palette.color(QPalette::Inactive, QPalette::Highlight));
    EXPECT_EQ(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(224, 224, 224));
}

TEST(ListBoxTest, clickOnRow_reachesControlAndRaisesClick)
{
    Fixture f(20, 2, true);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, f.rowCentre(3));
    EXPECT_EQ(f.control.ListIndex(), 3);
    EXPECT_TRUE(f.control.isSelected(3));
    EXPECT_TRUE(f.events.log.contains(QStringLiteral("Click")));
    EXPECT_TRUE(f.events.log.contains(QStringLiteral("MouseDown:1,3")));

    f.events.log.clear();
    QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, f.rowCentre(3));
    EXPECT_EQ(f.events.log.count(QStringLiteral("DblClick")), 1);
    EXPECT_FALSE(f.events.log.contains(QStringLiteral("Click"))); // the row was already chosen
}

TEST(ListBoxTest, arrowKey_movesCurrentRow_andOtherKeysReachTheWindow)
{
    Fixture f(20);
    f.view->setFocus();
    f.control.setListIndex(4);
    f.events.log.clear();
    QTest::keyClick(f.view, Qt::Key_Down);
    EXPECT_EQ(f.control.ListIndex(), 5);
    EXPECT_TRUE(f.control.isSelected(5));
    EXPECT_EQ(f.events.log, (QStringList {QStringLiteral("KeyDown:40"), QStringLiteral("Click")}));
    EXPECT_EQ(f.view->currentIndex().row(), 5);

    QTest::keyClick(f.view, Qt::Key_F5);
    QTest::keyClick(f.view, Qt::Key_Return);
    EXPECT_EQ(f.window.keys, (QList<int> {Qt::Key_F5, Qt::Key_Return}));

    QTest::keyClicks(f.view, QStringLiteral("row 01")); // type-ahead
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
    using namespace Qt::StringLiterals;
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
