#include "app/CommandSurface.h"
#include "gui/CommandSurfaceView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using namespace corvanta;
using namespace Qt::StringLiterals;

// A click reports the item's name and leaves the check mark to the core; a shortcut reaches its
// item from the window; opening a menu reports it; a button reports its key, a drop-down's entry
// its text; the surface's changes reach the actions, buttons and status panels.
TEST(CommandSurfaceViewTest, itemsAndButtonsReportTheirNames_andFollowTheSurface)
{
    CommandSurface surface;
    QMainWindow window;
    auto *view = new CommandSurfaceView(&window, surface);
    QStringList events;
    using View = CommandSurfaceView;
    QObject::connect(view, &View::menuItemClicked, view,
                     [&](const QString &name) { events << u"item "_s + name; });
    QObject::connect(view, &View::toolbarButtonClicked, view,
                     [&](const QString &key) { events << u"button "_s + key; });
    QObject::connect(view, &View::toolbarEntryClicked, view,
                     [&](const QString &text) { events << u"entry "_s + text; });
    QObject::connect(view, &View::menuAboutToShow, view,
                     [&](const QString &name) { events << u"show "_s + name; });
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
    QTest::mouseClick(view->toolButton(u"HotKeys"_s), Qt::LeftButton);
    view->toolButton(u"HelpTopics"_s)->menu()->actions().constLast()->trigger();
    EXPECT_EQ(events, (QStringList {u"item mnuSearchDrives"_s, u"show mnuPopupList"_s,
                          u"item mnuSortAscendingFiles"_s, u"button HotKeys"_s,
                          u"entry About Corvanta"_s}));
    QObject::connect(view, &View::menuItemClicked, view,
                     [&](const QString &name) { surface.setChecked(name, true); });
    sort->trigger();
    EXPECT_TRUE(sort->isChecked());

    surface.setEnabled(u"mnuEditFileData"_s, false);
    EXPECT_FALSE(view->action(u"mnuEditFileData"_s)->isEnabled());
    surface.setCaption(u"mnuPopupMenuTitle"_s, u"notes.txt"_s);
    EXPECT_EQ(view->action(u"mnuPopupMenuTitle"_s)->text(), u"notes.txt"_s);
    surface.setEnabled(u"mnuSortTopicList"_s, false);
    EXPECT_FALSE(view->menu(u"mnuSortTopicList"_s)->menuAction()->isEnabled());
    surface.setToolbarEnabled(6, false);
    EXPECT_FALSE(view->toolButton(u"EntryScreen"_s)->isEnabled());
    surface.setPanelText(7, u" <Ann>"_s);
    EXPECT_EQ(view->panel(7)->text(), u" <Ann>"_s);
}
