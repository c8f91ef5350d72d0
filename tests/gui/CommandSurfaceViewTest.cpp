#include "app/CommandSurface.h"
#include "gui/CommandSurfaceView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

class CommandSurfaceViewTest : public ::testing::Test {
protected:
    CommandSurface surface;
    QMainWindow window;
    CommandSurfaceView *view = nullptr;
    QStringList events;

    void SetUp() override
    {
        view = new CommandSurfaceView(&window, surface);
        using View = CommandSurfaceView;
        QObject::connect(view, &View::menuItemClicked, view,
                         [this](const QString &name) { events << u"item "_s + name; });
        QObject::connect(view, &View::toolbarButtonClicked, view,
                         [this](const QString &key) { events << u"button "_s + key; });
        QObject::connect(view, &View::toolbarEntryClicked, view,
                         [this](const QString &text) { events << u"entry "_s + text; });
        QObject::connect(view, &View::menuAboutToShow, view,
                         [this](const QString &name) { events << u"show "_s + name; });
        QObject::connect(view, &View::panelPressed, view, [this](int panel, int button) {
            events << u"press %1 %2"_s.arg(panel).arg(button);
        });
        QObject::connect(view, &View::panelClicked, view,
                         [this](int panel) { events << u"click %1"_s.arg(panel); });
        QObject::connect(view, &View::panelDoubleClicked, view,
                         [this](int panel) { events << u"dbl %1"_s.arg(panel); });
    }
};

} // namespace

// The view shows the surface as it holds it, item for item: menus in the bar, popups apart.
TEST_F(CommandSurfaceViewTest, everyItem_isShownAsTheSurfaceHoldsIt)
{
    std::function<void(QMenu *, const std::vector<MenuItem> &)> compare = [&](QMenu *menu, const std::vector<MenuItem> &items) {
        ASSERT_NE(menu, nullptr);
        const QList<QAction *> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(items.size())) << menu->title().toStdString();
        for (size_t i = 0; i < items.size(); ++i) {
            const MenuItem &item = items[i];
            QAction *action = actions[qsizetype(i)];
            EXPECT_EQ(action->isSeparator(), item.isSeparator()) << item.name.toStdString();
            if (item.isSeparator())
                continue;
            EXPECT_EQ(action->text(), item.caption) << item.name.toStdString();
            EXPECT_EQ(action->shortcut(), QKeySequence(item.shortcut)) << item.name.toStdString();
            EXPECT_EQ(action->isEnabled(), item.enabled) << item.name.toStdString();
            EXPECT_EQ(action->isCheckable(), item.checkable) << item.name.toStdString();
            if (!item.items.empty())
                compare(action->menu(), item.items);
        }
    };
    QList<QAction *> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), qsizetype(surface.menuBar().size()));
    for (size_t i = 0; i < surface.menuBar().size(); ++i) {
        EXPECT_EQ(bar[qsizetype(i)]->text(), surface.menuBar()[i].caption);
        compare(view->menu(surface.menuBar()[i].name), surface.menuBar()[i].items);
    }
    for (const MenuItem &popup : surface.popups()) {
        compare(view->popup(popup.name), popup.items);
        EXPECT_FALSE(bar.contains(view->popup(popup.name)->menuAction()));
    }
    EXPECT_EQ(view->action(u"mnuCreateProject"_s)->shortcutContext(), Qt::WindowShortcut);
}

// A click reports the item's name and leaves the check mark to the core; a shortcut reaches its
// item from the window; opening a menu reports it; the surface's changes reach the actions.
TEST_F(CommandSurfaceViewTest, itemsReportTheirNames_andFollowTheSurface)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    QMenu *popup = view->popup(u"mnuPopupList"_s);
    popup->popup(window.geometry().center());
    popup->hide();
    QAction *sort = view->action(u"mnuSortAscendingFiles"_s);
    sort->trigger();
    EXPECT_FALSE(sort->isChecked());
    EXPECT_EQ(events, (QStringList {u"item mnuSearchDrives"_s, u"show mnuPopupList"_s,
                          u"item mnuSortAscendingFiles"_s}));
    QObject::connect(view, &CommandSurfaceView::menuItemClicked, view,
                     [this](const QString &name) { surface.setChecked(name, true); });
    sort->trigger();
    EXPECT_TRUE(sort->isChecked());

    surface.setEnabled(u"mnuEditFileData"_s, false);
    EXPECT_FALSE(view->action(u"mnuEditFileData"_s)->isEnabled());
    surface.setCaption(u"mnuPopupMenuTitle"_s, u"notes.txt"_s);
    EXPECT_EQ(view->action(u"mnuPopupMenuTitle"_s)->text(), u"notes.txt"_s);
    surface.setEnabled(u"mnuSortTopicList"_s, false);
    EXPECT_FALSE(view->menu(u"mnuSortTopicList"_s)->menuAction()->isEnabled());
}

TEST_F(CommandSurfaceViewTest, toolbar_hasButtonPerKeyWithTooltipAndDropDowns)
{
    for (const ToolbarEntry &entry : surface.toolbar()) {
        if (entry.kind == ToolbarEntry::Separator)
            continue;
        QToolButton *button = view->toolButton(entry.key);
        ASSERT_NE(button, nullptr) << entry.key.toStdString();
        EXPECT_EQ(button->toolTip(), entry.tooltip);
        EXPECT_FALSE(button->icon().isNull()) << entry.key.toStdString();
        EXPECT_EQ(button->menu() != nullptr, entry.kind == ToolbarEntry::DropDown);
        if (entry.kind != ToolbarEntry::DropDown)
            continue;
        QStringList texts;
        for (QAction *a : view->toolButton(entry.key)->menu()->actions())
            texts << (a->isSeparator() ? u"-"_s : a->text());
        QStringList expected;
        for (const QString &text : entry.entries)
            expected << (text.startsWith(u'-') ? u"-"_s : text);
        EXPECT_EQ(texts, expected) << entry.key.toStdString();
    }

    QToolButton *help = view->toolButton(u"HelpTopics"_s);
    QTest::mouseClick(view->toolButton(u"HotKeys"_s), Qt::LeftButton);
    help->menu()->actions().constLast()->trigger();
    EXPECT_EQ(events, (QStringList{u"button HotKeys"_s, u"entry About Corvanta"_s}));

    surface.setToolbarEnabled(6, false);
    EXPECT_FALSE(view->toolButton(u"EntryScreen"_s)->isEnabled());
}

TEST_F(CommandSurfaceViewTest, statusPanels_followTextAndReportMouse)
{
    ASSERT_NE(view->panel(7), nullptr);
    surface.setPanelText(7, u" <Ann>"_s);
    EXPECT_EQ(view->panel(7)->text(), u" <Ann>"_s);
    EXPECT_EQ(view->panel(7)->textFormat(), Qt::PlainText);

    window.show();
    QLabel *name = view->panel(7);
    QTest::mouseClick(name, Qt::RightButton);
    QTest::mouseDClick(name, Qt::LeftButton);
    QTest::mouseRelease(name, Qt::LeftButton);
    EXPECT_EQ(events, (QStringList{u"press 7 2"_s, u"click 7"_s, u"dbl 7"_s}));
}
