#include "gui/ListModel.h"
#include "gui/TargetIcons.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace corvanta::test {
namespace {

using namespace Qt::StringLiterals;

// What a screen reader hears of each row, once the marks are in; every row has an icon.
TEST(FileListMarksTest, rowsDescribeTheirMarkAndShowAnIcon)
{
    const struct
    {
        QString row;
        QString description;
    } cases[] = {
        {u"Here\t/here/a.txt"_s, u"/here/a.txt"_s},
        {u"Gone\t/gone/a.txt"_s, u"Target missing, /gone/a.txt"_s},
        {u"Stick\t/media/stick/a.txt"_s, u"Target not reachable, /media/stick/a.txt"_s},
        {u"Site\thttp://example.com"_s, u"http://example.com"_s},
    };
    ListControl control(2, true);
    for (const auto &c : cases)
        control.addRow(c.row);
    ListModel model(control);
    TargetMarks marks;
    model.setTargetMarks(&marks);
    int shown = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++shown; });
    marks.onMarked = [&] { model.marksChanged(); };
    QStringList rows;
    for (const auto &c : cases)
        rows << c.row;
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
        EXPECT_EQ(index.data(Qt::AccessibleDescriptionRole).toString(), cases[row].description);
        EXPECT_FALSE(index.data(Qt::DecorationRole).value<QIcon>().isNull()) << row;
    }
}

} // namespace
} // namespace corvanta::test
