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

// The window redraws only what it is told changed; a missed notice leaves a stale menu.
TEST(CommandSurfaceTest, setters_changeDataAndNotifyOncePerChange)
{
    CommandSurface surface;
    QStringList seen;
    surface.onChanged = [&seen](const QString &what) { seen << what; };

    surface.setEnabled(u"mnuPasteFiles"_s, true);
    surface.setChecked(u"mnuSortAscendingFiles"_s, true);
    surface.setCaption(u"mnuPopupMenuTitle"_s, u" report.txt"_s);
    surface.setToolbarEnabled(6, false);
    surface.setToolbarEnabled(u"HotKeys"_s, false);
    surface.setPanelText(7, u" Ann"_s);
    EXPECT_EQ(seen, (QStringList{u"mnuPasteFiles"_s, u"mnuSortAscendingFiles"_s,
                                 u"mnuPopupMenuTitle"_s, u"EntryScreen"_s, u"HotKeys"_s,
                                 u"panel7"_s}));
    EXPECT_TRUE(surface.item(u"mnuPasteFiles"_s)->enabled);
    EXPECT_TRUE(surface.item(u"mnuSortAscendingFiles"_s)->checked);
    EXPECT_EQ(surface.item(u"mnuPopupMenuTitle"_s)->caption, u" report.txt"_s);
    EXPECT_FALSE(surface.toolbarButton(u"EntryScreen"_s)->enabled);
    EXPECT_EQ(surface.panels()[6].text, u" Ann"_s);

    // Unchanged values, unknown names and out-of-range panels stay silent.
    seen.clear();
    surface.setEnabled(u"mnuPasteFiles"_s, true);
    surface.setChecked(u"mnuNoSuchItem"_s, true);
    surface.setToolbarEnabled(1, false); // a separator
    surface.setPanelText(0, u"x"_s);
    surface.setPanelText(8, u"x"_s);
    EXPECT_TRUE(seen.isEmpty());
}
