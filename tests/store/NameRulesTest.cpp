#include "store/ListControl.h"
#include "store/NameRules.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

TEST(NameRules, duplicateNameRow_ignoresCaseSkipsTheEditedRowAndReadsTheRightField)
{
    ListControl list(2, true);
    for (const QString &row : {u"Alpha"_s, u"Beta\t/home/u/beta.txt"_s, u"Gamma\tgamma"_s})
        list.addRow(row);

    const struct {
        const char16_t *name;
        NameField field;
        int exceptRow;
        int expected;
    } cases[] = {
        {u"alpha", NameField::WholeRow, -1, 0},
        {u"BETA", NameField::FirstColumn, -1, 1},
        // A whole row holding a TAB is no bare name.
        {u"beta", NameField::WholeRow, -1, -1},
        {u"beta\t/home/u/beta.txt", NameField::WholeRow, -1, 1},
        // The row being edited may keep its own name.
        {u"Beta", NameField::FirstColumn, 1, -1},
        {u"gamma", NameField::FirstColumn, 0, 2},
        {u" gamma", NameField::FirstColumn, -1, -1},
        {u"", NameField::FirstColumn, -1, -1},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(duplicateNameRow(list, name, c.field, c.exceptRow), c.expected)
            << name.toStdString() << " except " << c.exceptRow;
    }
}

} // namespace
} // namespace corvanta::test
