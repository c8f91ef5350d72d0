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

QStringList captionsOf(const MenuItem &menu)
{
    QStringList captions;
    for (const MenuItem &item : menu.items)
        captions << item.caption;
    return captions;
}

} // namespace

TEST(CommandSurfaceTest, menuBarAndFileMenu_keepTheirOrderCaptionsAndShortcuts)
{
    const CommandSurface surface;
    QStringList captions;
    for (const MenuItem &menu : surface.menuBar())
        captions << menu.caption;
    EXPECT_EQ(captions, (QStringList{u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Settings"_s,
                                     u"&Tools"_s, u"Sort &Project List"_s, u"Sort Topi&c List"_s,
                                     u"Sort File &List"_s, u"&Help"_s}));
    const MenuItem &file = surface.menuBar().front();
    EXPECT_EQ(captionsOf(file),
              (QStringList{u"New Project"_s, u"-"_s, u"Open File "_s, u"Cleanup Project Files"_s,
                           u"-"_s, u"Add File To File List "_s, u"Add Website To File List"_s,
                           u"Add Email Address To File List"_s, u"Global File Search"_s, u"-"_s,
                           u"Print Project List"_s, u"Print File List"_s, u"-"_s,
                           u"Exit Program"_s}));
    EXPECT_EQ(surface.item(u"mnuExitProgram"_s)->shortcut, u"Ctrl+X"_s);
    EXPECT_EQ(surface.item(u"mnuCalendar"_s)->shortcut, u"Ctrl+C"_s);
    EXPECT_EQ(surface.item(u"mnuAbout"_s)->shortcut, u"Ctrl+A"_s);
    EXPECT_TRUE(surface.item(u"mnuCleanProjects"_s)->shortcut.isEmpty());
    EXPECT_TRUE(surface.item(u"mnuSep"_s)->isSeparator());
}

TEST(CommandSurfaceTest, pointerItems_closeTheirMenusAfterASeparator)
{
    CommandSurface surface;
    const struct
    {
        const char *menu, *item, *caption, *shortcut;
    } cases[] = {
        {"mnuEdit", "mnuFindPointer", "Find Pointer...", "Ctrl+Shift+F"},
        {"mnuTools", "mnuCheckMissingTargets", "Check Missing Targets", ""},
        {"mnuSettings", "mnuReopenLast", "Reopen Last Project And Topic", ""},
    };
    for (const auto &c : cases) {
        const auto &items = surface.item(QString::fromLatin1(c.menu))->items;
        ASSERT_GE(items.size(), 2u);
        EXPECT_TRUE(items[items.size() - 2].isSeparator()) << c.menu;
        EXPECT_EQ(items.back().name, QString::fromLatin1(c.item));
        EXPECT_EQ(items.back().caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(items.back().shortcut, QString::fromLatin1(c.shortcut));
    }
    EXPECT_TRUE(surface.item(u"mnuReopenLast"_s)->checkable);
    EXPECT_EQ(surface.toolbarButton(u"EditFileData"_s)->entries.last(), u"Find Pointer"_s);
}

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

TEST(CommandSurfaceTest, popups_startWithTitleAndSeparator)
{
    const CommandSurface surface;
    ASSERT_EQ(surface.popups().size(), 3u);
    const QStringList expected[] = {
        {u"mnuPopupFiles"_s, u"PopupMenu"_s, u"mnuPopupMenuTitle"_s},
        {u"mnuTopicPopup"_s, u"TopicPopupMenu"_s, u"mnuTopicPopupTitle"_s},
        {u"mnuPopupList"_s, u"PopupMenu2"_s, u"mnuPopupMenu2Title"_s},
    };
    for (size_t i = 0; i < 3; ++i) {
        const MenuItem &popup = surface.popups()[i];
        EXPECT_EQ(popup.name, expected[i][0]);
        EXPECT_EQ(popup.caption, expected[i][1]);
        ASSERT_GE(popup.items.size(), 2u);
        EXPECT_EQ(popup.items[0].name, expected[i][2]);
        EXPECT_TRUE(popup.items[0].caption.isEmpty());
        EXPECT_TRUE(popup.items[1].isSeparator());
    }
    const MenuItem *openWith = surface.item(u"mnuOpenWith"_s);
    ASSERT_EQ(openWith->items.size(), 1u);
    EXPECT_EQ(openWith->items[0].name, u"mnuSelectProgram"_s);
    EXPECT_EQ(openWith->items[0].caption, u"Choose Program "_s);
}

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

TEST(CommandSurfaceTest, checkableItems_areSortDisplayLinesOpenPrintAndReopenOnly)
{
    const CommandSurface surface;
    QStringList names;
    collectNames(surface.menuBar(), names);
    collectNames(surface.popups(), names);
    QStringList checkable;
    for (const QString &name : names) {
        const MenuItem *item = surface.item(name);
        EXPECT_FALSE(item->checked) << name.toStdString();
        if (item->checkable)
            checkable << name;
    }
    EXPECT_EQ(checkable.size(), 18);
    EXPECT_TRUE(checkable.contains(u"mnuTopicSortDescending"_s));
    EXPECT_TRUE(checkable.contains(u"mnuTopicPopupDislplayLinesInTopicList2"_s));
    EXPECT_TRUE(checkable.contains(u"mnuPrintFiles"_s));
    EXPECT_FALSE(checkable.contains(u"mnuRebuildFileList"_s));
}

TEST(CommandSurfaceTest, toolbar_placesEntryScreenSixthWithExactTooltips)
{
    CommandSurface surface;
    ASSERT_NE(surface.toolbarButton(6), nullptr);
    EXPECT_EQ(surface.toolbarButton(6)->key, u"EntryScreen"_s);
    EXPECT_EQ(surface.toolbarButton(0), nullptr);
    EXPECT_EQ(surface.toolbarButton(static_cast<int>(surface.toolbar().size()) + 1), nullptr);
    EXPECT_EQ(surface.toolbarButton(QString()), nullptr);

    QStringList keys;
    for (const ToolbarEntry &e : surface.toolbar()) {
        if (e.kind != ToolbarEntry::Separator)
            keys << e.key;
    }
    EXPECT_EQ(keys, (QStringList{u"CreateProject"_s, u"EditFileData"_s, u"EntryScreen"_s,
                                 u"DefaultScreen"_s, u"AddFile"_s, u"UtilityForm"_s,
                                 u"AddEmail"_s, u"FileSearch"_s, u"HotKeys"_s,
                                 u"HelpTopics"_s}));
    EXPECT_EQ(surface.toolbarButton(u"EditFileData"_s)->tooltip, u" Edit File Data  "_s);
    EXPECT_EQ(surface.toolbarButton(u"CreateProject"_s)->tooltip, u" New Project"_s);
    EXPECT_EQ(surface.toolbarButton(u"DefaultScreen"_s)->kind, ToolbarEntry::Button);
    EXPECT_EQ(surface.toolbarButton(u"HelpTopics"_s)->kind, ToolbarEntry::DropDown);
}

TEST(CommandSurfaceTest, hotKeyList_hasTwelveCrEndedLines)
{
    const QString text = hotKeyListText();
    EXPECT_EQ(hotKeyListTitle(), u" Hot Key List"_s);
    EXPECT_TRUE(text.endsWith(u'\r'));
    EXPECT_FALSE(text.contains(u'\n'));
    const QStringList lines = text.split(u'\r');
    ASSERT_EQ(lines.size(), 13); // the last CR leaves an empty tail
    EXPECT_EQ(lines[0], u"F1   = Help Topics"_s);
    EXPECT_EQ(lines[4], u"F5   = Reset Program To Default Size/Location     "_s);
    EXPECT_EQ(lines[9], u"F10 = Menu Options"_s);
    EXPECT_EQ(lines[11], u"F12 = Change Name"_s);
}

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
