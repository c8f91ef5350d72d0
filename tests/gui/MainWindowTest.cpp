#include "app/Calendar.h"
#include "app/StartupWindow.h"
#include "gui/AccessoryDialogs.h"
#include "gui/CommandSurfaceView.h"
#include "gui/HelpViewer.h"
#include "gui/Palette.h"
#include "gui/StartupWindowDialog.h"
#include "gui/Twips.h"
#include "support/FakeUi.h"
#include "WindowFixture.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QScopeGuard>
#include <QStyle>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <map>


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
        QTest::keyClick(window->listBox(1), Qt::Key_Down);
        QTest::keyClick(window->listBox(1), Qt::Key_Tab);
        QTest::keyClick(window->listBox(2), Qt::Key_End);
        ASSERT_EQ(form->state.CurrentProject, u"Beta"_s);
    }
};

TEST_F(MainWindowTest, enterOpensTheProjectAndTheEntryScreenKeyReturns)
{
    ListBox *projects = window->listBox(0);
    projects->setFocus();
    QTest::keyClick(projects, Qt::Key_Down);
    QTest::keyClick(projects, Qt::Key_Return);
    EXPECT_EQ(form->state.CurrentProject, u"Beta"_s);
    EXPECT_TRUE(window->listBox(1)->hasFocus());
    QTest::keyClick(window->listBox(1), Qt::Key_F4);
    EXPECT_TRUE(form->state.CurrentProject.isEmpty());
}

TEST_F(MainWindowTest, escapeClosesAnOpenMenuOnlyAndEndsTheProgramFromTheWindow)
{
    QMenuBar *bar = window->menuBar();
    QMenu *fileMenu = window->commandSurface()->menu(u"mnuOpen"_s);
    ASSERT_NE(fileMenu, nullptr);
    bar->setActiveAction(fileMenu->menuAction());
    QTRY_VERIFY(fileMenu->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!fileMenu->isVisible());
    // The menu bar keeps the keyboard after its menu closed; Escape there only lets it go.
    QTest::keyClick(bar, Qt::Key_Escape);
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
    files->setFocus();
    EXPECT_EQ(pressForPopup(*window, files, Qt::Key_F10, Qt::ShiftModifier).title,
              u"No Files In File List"_s);

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

// A name in a popup's title shows whole, "&" and all, while the popup fits the screen; a name too
// wide for it ends in "…".
TEST_F(MainWindowTest, popupTitle_isElidedOnlyWhenTheScreenHasNoRoomForIt)
{
    QMenu *popup = window->commandSurface()->popup(u"mnuPopupFiles"_s);
    QAction *title = window->commandSurface()->action(u"mnuPopupMenuTitle"_s);
    const int room = popup->screen()->availableGeometry().width();
    const QString longName = u"R&D "_s + QString(400, u'W');
    form->commands.setCaption(u"mnuPopupMenuTitle"_s, u"R&D plans"_s);
    EXPECT_EQ(title->iconText(), u"R&D plans"_s);
    form->commands.setCaption(u"mnuPopupMenuTitle"_s, longName);
    EXPECT_TRUE(title->iconText().startsWith(u"R&D WWW"_s)) << title->iconText().toStdString();
    EXPECT_TRUE(title->iconText().endsWith(u'…')) << title->iconText().toStdString();
    EXPECT_LE(popup->sizeHint().width(), room);
}

// Tab goes through the three lists and the open/print choice, never the toolbar; Shift+Tab back.
TEST_F(MainWindowTest, tab_walksTheListsAndTheChoiceAndShiftTabWalksBack)
{
    window->listBox(0)->setFocus();
    const auto walk = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QStringList names;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(window->focusWidget(), key, modifiers);
            names << window->focusWidget()->objectName();
        }
        return names;
    };
    EXPECT_EQ(walk(Qt::Key_Tab, Qt::NoModifier),
              (QStringList {u"lstTopicList"_s, u"lstFileList"_s, u"optOpen"_s, u"lstProjectList"_s}));
    EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier),
              (QStringList {u"optOpen"_s, u"lstFileList"_s, u"lstTopicList"_s, u"lstProjectList"_s}));
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

// Every window: each focusable control and each list has a name for assistive technology.
TEST_F(MainWindowTest, everyWindow_namesEachControlForAScreenReader)
{
    openTopicByKeys();
    visitEveryWindow(*window, *form, ui, [](const std::string &where, QWidget *shown) {
        EXPECT_EQ(unnamedControls(shown).join(u' ').toStdString(), "") << where;
    });
}

// A text as its widget shows it: an access key's "&" is not drawn, "&&" draws one "&".
QString withoutAccessKey(QString text)
{
    text.replace(u"&&"_s, u"\x01"_s);
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
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
            text = label->buddy() ? withoutAccessKey(label->text()) : label->text();
            room -= 2 * label->margin() + std::max(label->indent(), 0);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            const auto *tool = qobject_cast<QToolButton *>(w);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            text = withoutAccessKey(button->text());
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

// The help window's contents entries that its opening size shows cut: wider than the pane.
QStringList cutContentsEntries(QTreeWidget *contents)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList cut;
    const QFontMetrics metrics(contents->font());
    for (QTreeWidgetItemIterator it(contents); *it; ++it) {
        const QRect shown = contents->visualItemRect(*it);
        const int end = shown.left() + metrics.horizontalAdvance((*it)->text(0));
        if (end > contents->viewport()->width())
            cut << u"\"%1\" %2>%3"_s.arg((*it)->text(0)).arg(end).arg(contents->viewport()->width());
    }
    return cut;
}

// With an 18-point desktop font every window lays out its captions, buttons and panels wide
// enough for their text. The window starts again so that it is built in that font.
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
        // The help window widens for its contents, as far as its screen allows.
        auto *help = qobject_cast<HelpViewer *>(shown);
        if (help && help->width() < help->screen()->availableGeometry().width()) {
            EXPECT_EQ(cutContentsEntries(help->contents()).join(u"; "_s).toStdString(), "");
        }
    });
}

// A screen reader hears each list by its caption's name, its columns by theirs, a pointer's row
// with its target, and each status panel by what it shows.
TEST_F(MainWindowTest, listsAndPanels_readTheirNamesToAScreenReader)
{
    openTopicByKeys();
    const QString names[] = {u"Projects"_s, u"Topics"_s, u"Files"_s};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window->listBox(i));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->text(QAccessible::Name), names[i]);
        EXPECT_EQ(window->caption(i)->buddy(), window->listBox(i));
        ASSERT_NE(list->tableInterface(), nullptr);
        EXPECT_EQ(list->tableInterface()->columnDescription(0), u"Name"_s);
    }
    QAccessibleTableInterface *files = QAccessible::queryAccessibleInterface(window->listBox(2))->tableInterface();
    EXPECT_EQ(files->columnDescription(1), u"Target"_s);
    const int last = files->rowCount() - 1;
    EXPECT_EQ(files->cellAt(last, 0)->text(QAccessible::Name), u"R&D"_s);
    EXPECT_EQ(files->cellAt(last, 0)->text(QAccessible::Description), u"/b"_s);

    const QString panels[] = {u"Date"_s, u"Line"_s, u"Caps Lock"_s, u"Num Lock"_s, u"Insert"_s,
                              u"Scroll Lock"_s, u"User"_s};
    for (int panel = 1; panel <= 7; ++panel)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(window->commandSurface()->panel(panel))->text(QAccessible::Name),
                  panels[panel - 1]);
}

TEST_F(MainWindowTest, helpWindow_followsLinksBackAndForwardAndFindsInThePage)
{
    form->menuClick(u"mnuHelp"_s);
    HelpViewer *viewer = ui.helpViewer();
    ASSERT_NE(viewer, nullptr);
    QTextBrowser *browser = viewer->browser();
    EXPECT_EQ(browser->source().fileName(), u"Corvanta.Hlp"_s);
    // Both documents and their sections make the contents.
    ASSERT_EQ(viewer->contents()->topLevelItemCount(), 2);

    emit browser->anchorClicked(QUrl(u"UserManual.Hlp#function-keys"_s));
    EXPECT_EQ(browser->source().fileName(), u"UserManual.Hlp"_s);
    EXPECT_EQ(browser->source().fragment(), u"function-keys"_s);
    EXPECT_TRUE(viewer->findText(u"Escape"_s));
    EXPECT_EQ(browser->textCursor().selectedText(), u"Escape"_s);
    EXPECT_FALSE(viewer->findText(u"zqxjzqxj"_s));
    // The same command again brings the one window back with its page.
    form->menuClick(u"mnuGettingStarted"_s);
    EXPECT_EQ(ui.helpViewer(), viewer);
    EXPECT_EQ(browser->source().fragment(), u"first-start"_s);
}

// The help window opens beside the main window on the side with room, never off the screen.
TEST(HelpViewerTest, placeBeside_keepsTheWindowBesideTheOwnerAndInsideTheAvailableArea)
{
    const QRect available(0, 30, 1600, 970);
    const struct {
        QRect owner;
        QSize wanted;
        QRect placed;
    } cases[] = {
        {{100, 100, 700, 500}, {600, 800}, {800, 100, 600, 800}},  // room on the right
        {{900, 100, 600, 500}, {600, 800}, {300, 100, 600, 800}},  // room on the left only
        {{0, 30, 1600, 970}, {600, 800}, {1000, 30, 600, 800}},    // a maximised owner: overlapped
        {{100, 600, 700, 300}, {600, 800}, {800, 200, 600, 800}},  // a low owner: moved up to fit
        {{100, 500, 700, 400}, {3000, 2000}, {0, 30, 1600, 970}},  // too big: the whole area
    };
    for (const auto &c : cases)
        EXPECT_EQ(HelpViewer::placeBeside(c.owner, c.wanted, available), c.placed) << c.owner.x() << "," << c.owner.y();
}

TEST(CalendarDialogTest, nextMonthClicksTurnAMonthEachAndKeepTheFocusOnTheCalendar)
{
    FakeClock clock;
    Calendar calendar(clock);
    calendar.Form_Load();
    CalendarDialog dialog(calendar);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.calendar()->selectedDate(), clock.now().date());
    for (int month : {1, 2, 3}) {
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.calendar()->monthShown(), month);
        EXPECT_EQ(dialog.calendar()->yearShown(), 2027);
        EXPECT_TRUE(dialog.calendar()->hasFocus());
    }
    QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.calendar()->monthShown(), 2);
    EXPECT_TRUE(dialog.calendar()->hasFocus());
}

TEST_F(MainWindowTest, shrunkBelowTheMinimum_snapsBackAndTheListsFillTheSnappedWindow)
{
    window->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(form->geometry().width, MainLayout::MinWidth);
    EXPECT_EQ(form->geometry().height, MainLayout::MinHeight);
    // The File List ends 275 twips short of the outer right edge, not a third of the way in.
    const QRect files = window->listBox(2)->geometry();
    EXPECT_NEAR(files.right() + 1, toPixels(9975), 2);
    EXPECT_GE(window->width(), toPixels(9975));
}

// Pixels of a rendered row: the colour most of them have and the one that stands out most.
std::pair<QColor, QColor> backgroundAndText(const QImage &image, const QRect &rect)
{
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y)];
    const QColor background = QColor::fromRgb(
        std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) { return a.second < b.second; })->first);
    QColor text = background;
    for (const auto &[rgb, n] : counts) {
        if (contrastRatio(QColor::fromRgb(rgb), background) > contrastRatio(text, background))
            text = QColor::fromRgb(rgb);
    }
    return {background, text};
}

double averageLightness(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200) {
                sum += c.lightnessF();
                ++n;
            }
        }
    return n ? sum / n : 0;
}

QPalette darkPalette()
{
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, QColor(0x23, 0x26, 0x29)}, {QPalette::WindowText, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Base, QColor(0x1b, 0x1e, 0x20)},   {QPalette::Text, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Button, QColor(0x31, 0x36, 0x3b)}, {QPalette::ButtonText, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Highlight, QColor(0x3d, 0xae, 0xe9)}, {QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc)},
    };
    for (const auto &[role, colour] : colours)
        dark.setColor(role, colour);
    return dark;
}

// The list with the keys outlines its current row, selected or not, in light and dark; the
// open project's mark and the shown topic's highlight stay while the File List has the keys.
TEST_F(MainWindowTest, focusMark_outlinesTheCurrentRowWhileTheOtherListsKeepTheirMarks)
{
    const QPalette light = QApplication::palette();
    openTopicByKeys();
    ListBox *files = window->listBox(2);
    for (const QPalette &palette : {light, darkPalette()}) {
        QApplication::setPalette(palette);
        QApplication::processEvents();
        for (const bool selected : {true, false}) {
            QTest::keyClick(files, selected ? Qt::Key_End : Qt::Key_Up, selected ? Qt::NoModifier : Qt::ControlModifier);
            ASSERT_EQ(form->lstFileList.isSelected(files->currentIndex().row()), selected);
            const QImage shown = files->viewport()->grab().toImage();
            const QRect cell = files->visualRect(files->currentIndex());
            const QColor mark = shown.pixelColor(cell.center().x(), cell.top() + 1);
            const QColor behind = shown.pixelColor(files->viewport()->width() - 8, cell.center().y());
            EXPECT_GE(contrastRatio(mark, behind), 3.0) << selected << " " << palette.color(QPalette::Base).name().toStdString();
        }
        for (ListBox *other : {window->listBox(0), window->listBox(1)}) {
            const QModelIndex marked = other->model()->index(other == window->listBox(0) ? 1 : other->currentIndex().row(), 0);
            const QColor background = marked.data(Qt::BackgroundRole).value<QColor>();
            EXPECT_TRUE(background.isValid() && background != palette.color(QPalette::Base)) << other->objectName().toStdString();
        }
    }
    QApplication::setPalette(light);
}

// Under a dark palette and under a dark style sheet the open project's mark reads (4.5:1), the
// toolbar's own icons are drawn in the text colour, and the help window's links read.
TEST_F(MainWindowTest, darkColours_markIconsAndLinksRead)
{
    const QPalette light = QApplication::palette();
    const QIcon home = window->commandSurface()->toolButton(u"EntryScreen"_s)->icon();
    EXPECT_LT(averageLightness(home.pixmap(24)), 0.4);
    ListBox *projects = window->listBox(0);
    ListBox *topics = window->listBox(1);
    QTest::mouseClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    QTest::mouseDClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    // Working in the topics takes the selection off the projects; the mark stays.
    QTest::mouseClick(topics->viewport(), Qt::LeftButton, {}, rowCentre(topics, 1));
    ASSERT_EQ(form->lstProjectList.SelCount(), 0);
    for (const bool sheet : {false, true}) {
        SCOPED_TRACE(sheet ? "style sheet" : "palette");
        QApplication::setPalette(sheet ? light : darkPalette());
        if (sheet)
            qApp->setStyleSheet(u"QWidget { background-color: #1b1e20; color: #eff0f1; }"_s);
        QApplication::processEvents();
        const QImage shown = projects->viewport()->grab().toImage();
        const auto [mark, text] = backgroundAndText(shown, projects->visualRect(projects->model()->index(1, 0)).adjusted(1, 1, -2, -2));
        EXPECT_GE(contrastRatio(text, mark), 4.5);
        if (!sheet) {
            EXPECT_NE(mark, darkPalette().color(QPalette::Base)); // and it is seen as a mark
        }
        EXPECT_GT(averageLightness(home.pixmap(24)), 0.6);
    }
    form->menuClick(u"mnuHelp"_s);
    ASSERT_NE(ui.helpViewer(), nullptr);
    const QPalette page = ui.helpViewer()->browser()->palette();
    ASSERT_EQ(page.color(QPalette::Base), QColor(0x1b, 0x1e, 0x20));
    EXPECT_GE(contrastRatio(ui.helpViewer()->linkColour(), page.color(QPalette::Base)), 4.5);
    qApp->setStyleSheet(QString());
    // In a list without the keyboard, a paler highlight that still reads.
    const SelectionColours other = selectionColours(darkPalette(), false);
    EXPECT_NE(other.background, darkPalette().color(QPalette::Highlight));
    EXPECT_GE(contrastRatio(other.text, other.background), 4.5);
}

} // namespace
} // namespace corvanta::test
