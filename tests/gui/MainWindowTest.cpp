#include "app/IniFile.h"
#include "app/MainForm.h"
#include "compose/Program.h"
#include "gui/ListBox.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

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
        EXPECT_TRUE(WriteIniString(ini, u"User"_s, u"Name"_s, u"Tester"_s));
        EXPECT_TRUE(WriteIniString(ini, u"Startup Window"_s, u"Display Window"_s, u"False"_s));
        program = std::make_unique<Program>(Platform{ui, clock}, ModalWindows::of(ui), data.path());
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

} // namespace
} // namespace corvanta::test
