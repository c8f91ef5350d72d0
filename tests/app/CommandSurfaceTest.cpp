#include "app/CommandSurface.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

void collectNames(const std::vector<MenuItem> &items, QStringList &names)
{
    for (const MenuItem &item : items) {
        names << item.name;
        collectNames(item.items, names);
    }
}

} // namespace

// Two items of one name would run one operation for both and leave the other unreachable.
TEST(CommandSurfaceTest, everyName_isUniqueAcrossMenusAndPopups)
{
    const CommandSurface surface;
    QStringList names;
    collectNames(surface.menuBar(), names);
    collectNames(surface.popups(), names);
    QSet<QString> seen;
    for (const QString &name : names) {
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(seen.contains(name)) << name.toStdString();
        seen.insert(name);
    }
    EXPECT_GT(names.size(), 100);
}

// Pasting before anything was cut would act on whatever an earlier run left.
TEST(CommandSurfaceTest, pasteItems_startDisabledAndOthersEnabled)
{
    const CommandSurface surface;
    const QStringList paste{u"mnuPasteInsert"_s, u"mnuPasteFiles"_s,
                            u"mnuTopicPopupPasteTopicNameAtSelectedRow"_s,
                            u"mnuTopicPopupPasteNameAtEndOfList"_s, u"mnuPasteProjectRow"_s,
                            u"mnuPasteProjectEOF"_s};
    QStringList names;
    collectNames(surface.menuBar(), names);
    collectNames(surface.popups(), names);
    for (const QString &name : names)
        EXPECT_EQ(surface.item(name)->enabled, !paste.contains(name)) << name.toStdString();
}
