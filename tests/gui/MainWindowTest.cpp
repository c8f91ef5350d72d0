#include "app/StartupWindow.h"
#include "gui/CommandSurfaceView.h"
#include "gui/HelpViewer.h"
#include "gui/StartupWindowDialog.h"
#include "WindowFixture.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QScopeGuard>
#include <QStyle>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QRadioButton>
#include <QTimer>
#include <QTextBrowser>
#include <QToolButton>

#include <functional>

namespace corvanta::test {
namespace {

class MainWindowTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        // Names with "&" show it as typed, never as an access key.
        data.write(u"Projects/Beta/Beta.List"_s, "P&L\r\n");
        data.write(u"Projects/Beta/Beta.Files"_s, "Budget\t/b.ods\r\n");
        data.write(u"Projects/Beta/P&L.Files"_s, "One\t/a\r\n\r\nR&D\t/b\r\n");
        // The help documents lie where a build tree has them: beside the program.
        startWindow(QStringLiteral(CORVANTA_HELP_DIR));
    }

    // Opens Beta and its topic P&L with keys alone; the File List has the keys, on its last row.
    void openTopicByKeys()
    {
        ListBox *projects = window->listBox(0);
        projects->setFocus();
        QTest::keyClick(projects, Qt::Key_Down);
        QTest::keyClick(projects, Qt::Key_Return);
        EXPECT_TRUE(window->listBox(1)->hasFocus());
        QTest::keyClick(window->listBox(1), Qt::Key_Down);
        QTest::keyClick(window->listBox(1), Qt::Key_Tab);
        QTest::keyClick(window->listBox(2), Qt::Key_End);
        ASSERT_EQ(form->state.CurrentProject, u"Beta"_s);
    }
};

// Enter opens the project (the keys of openTopicByKeys), F4 returns to the entry screen; Escape
// closes an open menu only, and from the window ends the program.
TEST_F(MainWindowTest, enterF4AndEscape_reachTheirOperations)
{
    openTopicByKeys();
    QTest::keyClick(window->listBox(2), Qt::Key_F4);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());

    QMenu *fileMenu = window->commandSurface()->menu(u"mnuOpen"_s);
    window->menuBar()->setActiveAction(fileMenu->menuAction());
    QTRY_VERIFY(fileMenu->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!fileMenu->isVisible());
    // The menu bar keeps the keyboard after its menu closed; Escape there only lets it go.
    QTest::keyClick(window->menuBar(), Qt::Key_Escape);
    EXPECT_FALSE(form->finished());
    QTest::keyClick(window->listBox(0), Qt::Key_Escape);
    EXPECT_TRUE(form->finished());
}

// What a popup the program opened showed, and where.
struct PopupSeen {
    QString menu;
    QString title;
    QPoint at;
};

// Presses key on target and plays the popup it opens: picks the item named pick, or Escape.
PopupSeen pressForPopup(MainWindow &window, QWidget *target, Qt::Key key,
                        Qt::KeyboardModifiers modifiers, const QString &pick = QString())
{
    PopupSeen seen;
    QTimer::singleShot(0, target, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        // The title as shown: without an access key's "&" and with "&&" as one "&".
        seen = {menu->objectName(), menu->actions().constFirst()->iconText(), menu->pos()};
        if (pick.isEmpty()) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        menu->setActiveAction(window.commandSurface()->action(pick));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(target, key, modifiers);
    return seen;
}

// The Menu key and Shift+F10 open the focused list's popup at its current row, as a right press
// on that row would title it, and its items act on that row; the list keeps the keys.
TEST_F(MainWindowTest, popupKeys_openTheFocusedListsPopupAtItsCurrentRow)
{
    ListBox *files = window->listBox(2);
    openTopicByKeys();

    const struct {
        int list;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString menu;
        QString title;
    } cases[] = {
        {0, Qt::Key_F10, Qt::ShiftModifier, u"mnuPopupList"_s, u"BETA"_s},
        {1, Qt::Key_Menu, Qt::NoModifier, u"mnuTopicPopup"_s, u"P&L"_s},
        {2, Qt::Key_Menu, Qt::NoModifier, u"mnuPopupFiles"_s, u"R&D"_s},
    };
    for (const auto &c : cases) {
        ListBox *box = window->listBox(c.list);
        box->setFocus();
        const PopupSeen seen = pressForPopup(*window, box, c.key, c.modifiers);
        EXPECT_EQ(seen.menu, c.menu);
        EXPECT_EQ(seen.title, c.title);
        EXPECT_EQ(seen.at, box->currentRowPopupPoint()) << c.menu.toStdString();
        EXPECT_EQ(window->focusWidget(), box) << c.menu.toStdString();
    }
    // Copy takes the selection: the last row, picked again after the other lists took the keys.
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Home);
    QTest::keyClick(files, Qt::Key_End);
    EXPECT_EQ(pressForPopup(*window, files, Qt::Key_F10, Qt::ShiftModifier, u"mnuCopyFiles"_s).title, u"R&D"_s);
    EXPECT_EQ(data.read(u"Paste.Lst"_s), "R&D\t/b\r\n");
}

// The focusable controls and the lists of window that a screen reader would find unnamed.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->focusProxy() || qobject_cast<QHeaderView *>(w))
            continue;
        // The text field of a combo or spin box is read as part of its box.
        if (qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus && !qobject_cast<QAbstractItemView *>(w))
            continue;
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(w);
        if (!node || node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QString::fromLatin1(w->metaObject()->className()) + u'/' + w->objectName();
    }
    return unnamed;
}

// Shows every window in turn and hands each to look while it is open: the main window with a
// topic open, each dialog a command opens (closed again after the look), help, Getting Started.
void visitEveryWindow(MainWindow &window, MainForm &form, QtUi &ui,
                      const std::function<void(const std::string &where, QWidget *shown)> &look)
{
    look("main window", &window);
    const char *const commands[] = {"mnuCalendar", "mnuAbout", "mnuFindPointer", "mnuCheckMissingTargets",
        "mnuSearchDrives", "mnuAddWebsite", "mnuAddEmailAddress", "mnuEditFileData", "mnuChangeName",
        "mnuCreateProject", "mnuSelectProgram"};
    for (const char *command : commands) {
        QStringList seen;
        QTimer walker;
        QObject::connect(&walker, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (!seen.contains(modal->windowTitle())) {
                seen << modal->windowTitle();
                look(command + (" " + modal->windowTitle().toStdString()), modal);
                modal->close();
            } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->reject();
            }
        });
        walker.start(10);
        window.listBox(2)->setFocus();
        form.menuClick(QString::fromLatin1(command));
        walker.stop();
        EXPECT_FALSE(seen.isEmpty()) << command;
    }

    form.menuClick(u"mnuHelp"_s);
    ASSERT_NE(ui.helpViewer(), nullptr);
    look("help", ui.helpViewer());
    StartupWindow startup(form.store, form.state, ui);
    startup.Form_Load();
    StartupWindowDialog gettingStarted(startup, &window);
    gettingStarted.show();
    look("Getting Started", &gettingStarted);
}

// The one-line captions, buttons and status panels of window whose text is wider than the room
// their widget gives it: what a user would see cut off.
QStringList clippedTexts(QWidget *window)
{
    QStringList clipped;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        QString text;
        int room = w->contentsRect().width();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->wordWrap() || label->textFormat() == Qt::RichText
                || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
                continue;
            text = label->buddy() ? QString(label->text()).remove(u'&') : label->text();
            room -= 2 * label->margin() + std::max(label->indent(), 0);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            const auto *tool = qobject_cast<QToolButton *>(w);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            text = QString(button->text()).remove(u'&'); // no access key drawn
            QStyle *style = w->style();
            if (qobject_cast<QCheckBox *>(w))
                room -= style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                    + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
            else if (qobject_cast<QRadioButton *>(w))
                room -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w)
                    + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
            if (!button->icon().isNull())
                room -= button->iconSize().width();
        } else {
            continue;
        }
        if (text.isEmpty() || text.contains(u'\n'))
            continue;
        const int wanted = QFontMetrics(w->font()).horizontalAdvance(text);
        if (wanted > room)
            clipped << u"%1/%2 \"%3\" %4>%5"_s.arg(QString::fromLatin1(w->metaObject()->className()),
                w->objectName(), text).arg(wanted).arg(room);
    }
    return clipped;
}

// With an 18-point desktop font every window lays out its captions, buttons and panels wide
// enough for their text, and names each focusable control and list for a screen reader. The
// window starts again so that it is built in that font.
TEST_F(MainWindowTest, everyWindow_fitsItsTextsInAnEighteenPointFont)
{
    const QFont desktop = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(desktop); });
    QFont large = desktop;
    large.setPointSize(18);
    QApplication::setFont(large);
    TearDown();
    startWindow(QStringLiteral(CORVANTA_HELP_DIR));
    openTopicByKeys();
    // The stored width gives way to the status panels: side by side, whole, inside the window (a
    // window as wide as its screen can give no more).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (window->width() < window->screen()->availableGeometry().width()) {
        for (int panel = 1; panel <= 7; ++panel) {
            const int end = panel < 7 ? window->commandSurface()->panel(panel + 1)->x() : window->statusBar()->width();
            EXPECT_LE(window->commandSurface()->panel(panel)->geometry().right(), end) << "panel " << panel;
        }
    }
    visitEveryWindow(*window, *form, ui, [](const std::string &where, QWidget *shown) {
        // Let every layout, nested ones too, take the texts set since it last ran.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        EXPECT_EQ(clippedTexts(shown).join(u"; "_s).toStdString(), "") << where;
        EXPECT_EQ(unnamedControls(shown).join(u' ').toStdString(), "") << where;
    });
}

TEST_F(MainWindowTest, helpWindow_followsLinksAndFindsInThePage)
{
    form->menuClick(u"mnuHelp"_s);
    HelpViewer *viewer = ui.helpViewer();
    ASSERT_NE(viewer, nullptr);
    QTextBrowser *browser = viewer->browser();
    EXPECT_EQ(browser->source().fileName(), u"Corvanta.Hlp"_s);
    emit browser->anchorClicked(QUrl(u"UserManual.Hlp#function-keys"_s));
    EXPECT_EQ(browser->source().fileName(), u"UserManual.Hlp"_s);
    EXPECT_EQ(browser->source().fragment(), u"function-keys"_s);
    EXPECT_TRUE(viewer->findText(u"Escape"_s));
    EXPECT_FALSE(viewer->findText(u"zqxjzqxj"_s));
    // The same command again brings the one window back with its page.
    form->menuClick(u"mnuGettingStarted"_s);
    EXPECT_EQ(ui.helpViewer(), viewer);
    EXPECT_EQ(browser->source().fragment(), u"first-start"_s);
}

} // namespace
} // namespace corvanta::test
