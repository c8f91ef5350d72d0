#include "app/IniFile.h"
#include "app/MainForm.h"
#include "compose/Program.h"
#include "app/Calendar.h"
#include "gui/AccessoryDialogs.h"
#include "gui/CommandSurfaceView.h"
#include "gui/HelpViewer.h"
#include "gui/ListBox.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

// The real window over a data folder; the core's boxes would block, so the form gets a QtUi
// that is never asked anything in these paths.
class MainWindowTest : public ::testing::Test {
protected:
    TempFolder data;
    QtUi ui;
    FakeClock clock;
    std::unique_ptr<Program> program;
    MainForm *form = nullptr;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Beta/Beta.List"_s, "Plans\r\n");
        data.write(u"Projects/Beta/Beta.Files"_s, "Budget\t/b.ods\r\n");
        data.write(u"Projects/Beta/Plans.Files"_s, "One\t/a\r\n\r\nTwo\t/b\r\n");
        const QString ini = data.file(u"Corvanta.Ini"_s);
        WriteIniString(ini, u"User"_s, u"Name"_s, u"Tester"_s);
        WriteIniString(ini, u"Startup Window"_s, u"Display Window"_s, u"False"_s);
        // The help documents lie where a build tree has them: beside the program.
        program = std::make_unique<Program>(
            Platform{ui, clock}, ModalWindows::of(ui), data.path(), QStringLiteral(CORVANTA_HELP_DIR));
        form = &program->form();
        window = std::make_unique<MainWindow>(*form, ui);
        form->Form_Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        program.reset();
    }

    QPoint rowCentre(ListBox *box, int row)
    {
        return box->visualRect(box->model()->index(row, 0)).center();
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

TEST_F(MainWindowTest, doubleClickOpensAProjectAndAClickOnATopicShowsItsPointers)
{
    ListBox *projects = window->listBox(0);
    ListBox *topics = window->listBox(1);
    ListBox *files = window->listBox(2);
    QTest::mouseClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    QTest::mouseDClick(projects->viewport(), Qt::LeftButton, {}, rowCentre(projects, 1));
    EXPECT_EQ(form->state.CurrentProject, u"Beta"_s);
    ASSERT_EQ(topics->model()->rowCount(), 2);
    EXPECT_EQ(topics->model()->index(1, 0).data().toString(), u"Plans"_s);
    EXPECT_EQ(files->model()->index(0, 0).data().toString(), u"Budget"_s);

    QTest::mouseClick(topics->viewport(), Qt::LeftButton, {}, rowCentre(topics, 1));
    ASSERT_EQ(files->model()->rowCount(), 2);
    EXPECT_EQ(files->model()->index(1, 0).data().toString(), u"Two"_s);
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

} // namespace
} // namespace corvanta::test
