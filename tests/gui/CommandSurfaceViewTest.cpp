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

TEST_F(CommandSurfaceViewTest, menuBar_showsNineMenusInOrderWithoutPopups)
{
    QStringList titles;
    for (QAction *a : window.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Settings"_s,
                                   u"&Tools"_s, u"Sort &Project List"_s, u"Sort Topi&c List"_s,
                                   u"Sort File &List"_s, u"&Help"_s}));
    ASSERT_NE(view->popup(u"mnuPopupFiles"_s), nullptr);
    EXPECT_FALSE(window.menuBar()->actions().contains(view->popup(u"mnuPopupFiles"_s)->menuAction()));
    EXPECT_NE(view->menu(u"mnuSortFiles"_s), nullptr);
    EXPECT_EQ(view->menu(u"mnuPopupFiles"_s), nullptr);
    ASSERT_NE(view->popup(u"mnuOpenWith"_s), nullptr);
    EXPECT_EQ(view->popup(u"mnuOpenWith"_s)->actions().size(), 1);
}

TEST_F(CommandSurfaceViewTest, menuItems_carryCaptionShortcutAndSeparators)
{
    const QList<QAction *> file = view->menu(u"mnuOpen"_s)->actions();
    ASSERT_EQ(file.size(), 14);
    EXPECT_EQ(file[0]->text(), u"New Project"_s);
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(file[0]->shortcutContext(), Qt::WindowShortcut);
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[2]->text(), u"Open File "_s);
    EXPECT_TRUE(view->action(u"mnuCleanProjects"_s)->shortcut().isEmpty());
    EXPECT_FALSE(view->action(u"mnuPasteInsert"_s)->isEnabled());
}

TEST_F(CommandSurfaceViewTest, triggeringItem_reportsNameAndLeavesCheckToCore)
{
    view->action(u"mnuCreateProject"_s)->trigger();
    QAction *sort = view->action(u"mnuSortAscendingFiles"_s);
    ASSERT_TRUE(sort->isCheckable());
    sort->trigger();
    EXPECT_EQ(events, (QStringList{u"item mnuCreateProject"_s, u"item mnuSortAscendingFiles"_s}));
    EXPECT_FALSE(sort->isChecked());

    // The core checks it while handling the click: the mark stays.
    QObject::connect(view, &CommandSurfaceView::menuItemClicked, view,
                     [this](const QString &name) { surface.setChecked(name, true); });
    sort->trigger();
    EXPECT_TRUE(sort->isChecked());
    surface.setChecked(u"mnuSortAscendingFiles"_s, false);
    EXPECT_FALSE(sort->isChecked());
}

TEST_F(CommandSurfaceViewTest, menuShortcut_reachesItemFromWindow)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(events, QStringList{u"item mnuSearchDrives"_s});
}

TEST_F(CommandSurfaceViewTest, dataChanges_updateActions)
{
    surface.setEnabled(u"mnuEditFileData"_s, false);
    EXPECT_FALSE(view->action(u"mnuEditFileData"_s)->isEnabled());
    surface.setEnabled(u"mnuPasteFiles"_s, true);
    EXPECT_TRUE(view->action(u"mnuPasteFiles"_s)->isEnabled());
    surface.setCaption(u"mnuPopupMenuTitle"_s, u"notes.txt"_s);
    EXPECT_EQ(view->action(u"mnuPopupMenuTitle"_s)->text(), u"notes.txt"_s);
    surface.setEnabled(u"mnuSortTopicList"_s, false);
    EXPECT_FALSE(view->menu(u"mnuSortTopicList"_s)->menuAction()->isEnabled());
}

TEST_F(CommandSurfaceViewTest, openingMenu_reportsItsName)
{
    window.show();
    QMenu *popup = view->popup(u"mnuPopupList"_s);
    popup->popup(window.geometry().center());
    popup->hide();
    emit view->menu(u"mnuSortTopicList"_s)->aboutToShow();
    EXPECT_EQ(events, (QStringList{u"show mnuPopupList"_s, u"show mnuSortTopicList"_s}));
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
    }
    QToolButton *help = view->toolButton(u"HelpTopics"_s);
    EXPECT_EQ(help->popupMode(), QToolButton::MenuButtonPopup);
    QStringList texts;
    for (QAction *a : help->menu()->actions())
        texts << (a->isSeparator() ? u"|"_s : a->text());
    EXPECT_EQ(texts, (QStringList{u"Help Topics"_s, u"Corvanta Website"_s, u"|"_s,
                                  u"About Corvanta"_s}));

    QTest::mouseClick(view->toolButton(u"HotKeys"_s), Qt::LeftButton);
    help->menu()->actions().constLast()->trigger();
    EXPECT_EQ(events, (QStringList{u"button HotKeys"_s, u"entry About Corvanta"_s}));

    surface.setToolbarEnabled(6, false);
    EXPECT_FALSE(view->toolButton(u"EntryScreen"_s)->isEnabled());
}

TEST_F(CommandSurfaceViewTest, statusPanels_followTextAndReportMouse)
{
    ASSERT_NE(view->panel(7), nullptr);
    EXPECT_EQ(view->panel(7)->toolTip(), u" Double Click or Right Click To Change Name "_s);
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
