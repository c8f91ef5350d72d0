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

// A button reports its key, a drop-down's entry its text; the surface's changes reach them.
TEST_F(CommandSurfaceViewTest, toolbar_reportsButtonsAndEntriesAndFollowsTheSurface)
{
    QToolButton *help = view->toolButton(u"HelpTopics"_s);
    QTest::mouseClick(view->toolButton(u"HotKeys"_s), Qt::LeftButton);
    help->menu()->actions().constLast()->trigger();
    EXPECT_EQ(events, (QStringList {u"button HotKeys"_s, u"entry About Corvanta"_s}));
    EXPECT_EQ(help->toolTip(), u" Help Topics "_s);
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
