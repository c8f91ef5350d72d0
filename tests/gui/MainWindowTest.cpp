#include "app/Calendar.h"
#include "gui/AccessoryDialogs.h"
#include "gui/CommandSurfaceView.h"
#include "gui/HelpViewer.h"
#include "gui/Palette.h"
#include "gui/Twips.h"
#include "support/FakeUi.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

#include <map>


namespace corvanta::test {
namespace {

class MainWindowTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Beta/Beta.List"_s, "Plans\r\n");
        data.write(u"Projects/Beta/Beta.Files"_s, "Budget\t/b.ods\r\n");
        data.write(u"Projects/Beta/Plans.Files"_s, "One\t/a\r\n\r\nTwo\t/b\r\n");
        // The help documents lie where a build tree has them: beside the program.
        startWindow(QStringLiteral(CORVANTA_HELP_DIR));
    }
};

TEST_F(MainWindowTest, startShowsTheThreeCaptionedListsAndTheEntryScreen)
{
    EXPECT_EQ(window->windowTitle(), u" Corvanta Software"_s);
    EXPECT_EQ(window->caption(0)->text(), u"Projects"_s);
    EXPECT_EQ(window->caption(1)->text(), u"Topics"_s);
    EXPECT_EQ(window->caption(2)->text(), u"Files"_s);
    EXPECT_EQ(window->listBox(0)->model()->rowCount(), 2);
    EXPECT_EQ(window->listBox(1)->model()->index(0, 0).data().toString(), u" ..."_s);
}

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
    EXPECT_FALSE(form->finished());
    // The menu bar keeps the keyboard after its menu closed; Escape there only lets it go.
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_FALSE(form->finished());

    QMenu *popup = window->commandSurface()->popup(u"mnuPopupFiles"_s);
    ASSERT_NE(popup, nullptr);
    popup->popup(window->mapToGlobal(QPoint(40, 40)));
    QTRY_VERIFY(popup->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!popup->isVisible());
    EXPECT_FALSE(form->finished());

    QTest::keyClick(window->listBox(0), Qt::Key_Escape);
    EXPECT_TRUE(form->finished());
}

TEST_F(MainWindowTest, helpWindow_followsLinksBackAndForwardAndFindsInThePage)
{
    form->menuClick(u"mnuHelp"_s);
    HelpViewer *viewer = ui.helpViewer();
    ASSERT_NE(viewer, nullptr);
    QTextBrowser *browser = viewer->browser();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(browser->source().fileName(), u"Corvanta.Hlp"_s);
    // Both documents and their sections make the contents.
    ASSERT_EQ(viewer->contents()->topLevelItemCount(), 2);
    EXPECT_GT(viewer->contents()->topLevelItem(1)->childCount(), 10);

    emit browser->anchorClicked(QUrl(u"UserManual.Hlp#function-keys"_s));
    EXPECT_EQ(browser->source().fileName(), u"UserManual.Hlp"_s);
    EXPECT_EQ(browser->source().fragment(), u"function-keys"_s);
    ASSERT_TRUE(browser->isBackwardAvailable());
    browser->backward();
    EXPECT_EQ(browser->source().fileName(), u"Corvanta.Hlp"_s);
    browser->forward();
    EXPECT_EQ(browser->source().fragment(), u"function-keys"_s);

    EXPECT_TRUE(viewer->findText(u"Escape"_s));
    EXPECT_EQ(browser->textCursor().selectedText(), u"Escape"_s);
    EXPECT_FALSE(viewer->findText(u"zqxjzqxj"_s));
    // The same command again brings the one window back with its page.
    form->menuClick(u"mnuGettingStarted"_s);
    EXPECT_EQ(ui.helpViewer(), viewer);
    EXPECT_EQ(browser->source().fragment(), u"first-start"_s);
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
    EXPECT_EQ(dialog.previousButton()->toolTip(), u" Previous Month "_s);
    EXPECT_EQ(dialog.nextButton()->toolTip(), u" Next Month "_s);
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

TEST_F(MainWindowTest, darkPalette_theOpenProjectsMarkReadsAndTheIconsFollow)
{
    const QPalette light = QApplication::palette();
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, QColor(0x23, 0x26, 0x29)}, {QPalette::WindowText, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Base, QColor(0x1b, 0x1e, 0x20)},   {QPalette::Text, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Button, QColor(0x31, 0x36, 0x3b)}, {QPalette::ButtonText, QColor(0xef, 0xf0, 0xf1)},
        {QPalette::Highlight, QColor(0x3d, 0xae, 0xe9)}, {QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc)},
    };
    for (const auto &[role, colour] : colours)
        dark.setColor(role, colour);
    QApplication::setPalette(dark);
    QApplication::processEvents();

    ListBox *projects = window->listBox(0);
    ListBox *topics = window->listBox(1);
    QTest::mouseClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    QTest::mouseDClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    // Working in the topics takes the selection off the projects; the mark stays.
    QTest::mouseClick(topics->viewport(), Qt::LeftButton, {}, rowCentre(topics, 1));
    ASSERT_EQ(form->lstProjectList.SelCount(), 0);
    const QImage shown = projects->viewport()->grab().toImage();
    const auto [mark, text] = backgroundAndText(shown, projects->visualRect(projects->model()->index(1, 0)).adjusted(1, 1, -2, -2));
    EXPECT_GE(contrastRatio(text, mark), 4.5);
    EXPECT_NE(mark, dark.color(QPalette::Base)); // and it is seen as a mark
    const auto [plain, plainText] = backgroundAndText(shown, projects->visualRect(projects->model()->index(0, 0)).adjusted(1, 1, -2, -2));
    EXPECT_EQ(plain, dark.color(QPalette::Base));

    // The topics have the keyboard: the active highlight; in a list without it, a paler one.
    EXPECT_EQ(topics->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), dark.color(QPalette::Highlight));
    const SelectionColours other = selectionColours(dark, false);
    EXPECT_NE(other.background, dark.color(QPalette::Highlight));
    EXPECT_GE(contrastRatio(other.text, other.background), 4.5);

    // The toolbar's own icons are drawn in the palette's text colour.
    const QIcon home = window->commandSurface()->toolButton(u"EntryScreen"_s)->icon();
    EXPECT_GT(averageLightness(home.pixmap(24)), 0.6);
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_LT(averageLightness(home.pixmap(24)), 0.4);
    EXPECT_EQ(rowTint(light, 0xE0E0E0), QColor(0xE0, 0xE0, 0xE0)); // on white, the mark's own grey
}

} // namespace
} // namespace corvanta::test
