#include "gui/FileSearchWindow.h"
#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "search/FileSearchTexts.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

namespace corvanta::test {
namespace {

// The real window over its core and a small tree; the test clock makes the closing pause free.
class FileSearchWindowTest : public FormFixture
{
protected:
    TempFolder tree;
    std::unique_ptr<FileSearch> search;
    std::unique_ptr<FileSearchWindow> window;

    void SetUp() override
    {
        start();
        tree.write(u"a.txt"_s, "x");
        tree.write(u"sub/b.txt"_s, "x");
        tree.write(u"sub/c.log"_s, "x");
        search = std::make_unique<FileSearch>(
            form->context(), std::vector<DriveEntry> {{tree.path(), tree.path()}});
        search->Form_Load();
        window = std::make_unique<FileSearchWindow>(*search);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    // The window's events run until the search has ended, its closing pause included.
    void settle()
    {
        ui.runEvents([this] { return !search->SearchRunning; });
        clock.runTimers();
    }
};

// Keys typed and Enter run the search, the list and caption show its outcome, and a right click's
// popup runs the item chosen.
TEST_F(FileSearchWindowTest, typingAPatternAndEnter_listsTheResults_andThePopupActsOnThem)
{
    EXPECT_EQ(window->driveList()->count(), 2);
    EXPECT_TRUE(window->multipleOption()->isChecked());
    QTest::keyClicks(window->textBox(), u"*.TXT"_s);
    QTest::keyClick(window->textBox(), Qt::Key_Return);
    settle();
    ListBox *list = window->resultsList();
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), tree.file(u"sub/b.txt"_s));
    EXPECT_TRUE(window->windowTitle().startsWith(u"2 Files Found - "_s));
    EXPECT_FALSE(window->progressBar()->isVisible());

    window->choosePopupItem = [&](QMenu &menu) -> QAction * {
        const QList<QAction *> actions = menu.actions();
        const auto it = std::find_if(actions.begin(), actions.end(),
            [](QAction *a) { return a->objectName() == u"mnuSelectAll"; });
        return it == actions.end() ? nullptr : *it;
    };
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(search->lstFileSearch.SelCount(), 2);
}

TEST_F(FileSearchWindowTest, stopButton_endsASearchLikeEscapeAndTheOutcomeShowsUnderTheResults)
{
    EXPECT_FALSE(window->stopButton()->isVisible());
    for (int d = 0; d < 30; ++d)
        for (int i = 0; i < 100; ++i)
            tree.write(u"d%1/f%2.txt"_s.arg(d).arg(i), "x");
    bool clicked = false;
    ui.onPump = [&] {
        if (clicked || !window->stopButton()->isVisible())
            return;
        clicked = true;
        window->stopButton()->click();
    };
    QTest::keyClicks(window->textBox(), u"*.txt"_s);
    QTest::keyClick(window->textBox(), Qt::Key_Return);
    settle();

    EXPECT_TRUE(clicked);
    const int found = search->lstFileSearch.ListCount();
    EXPECT_LT(found, 3002); // stopped early, what was found kept
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->stopButton()->isVisible());
    EXPECT_TRUE(window->statusLabel()->text().startsWith(FileSearchText::thousands(found) + u" Files Found - "_s));
    // With no search running, Escape closes the window.
    QTest::keyClick(window->textBox(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(search->closed());
}

} // namespace
} // namespace corvanta::test
