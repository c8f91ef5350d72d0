#include "gui/FileSearchWindow.h"
#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include <algorithm>

namespace corvanta::test {
namespace {

using FileSearchWindowTest = FormFixture;

// Keys typed and Enter run the search, the list and caption show its outcome (the test clock makes
// the closing pause free), and a right click's popup runs the item chosen.
TEST_F(FileSearchWindowTest, typingAPatternAndEnter_listsTheResults_andThePopupActsOnThem)
{
    start();
    TempFolder tree;
    tree.write(u"a.txt"_s, "x");
    tree.write(u"sub/b.txt"_s, "x");
    tree.write(u"sub/c.log"_s, "x");
    FileSearch search(form->context(), std::vector<DriveEntry> {{tree.path(), tree.path()}});
    search.Form_Load();
    FileSearchWindow window(search);
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::keyClicks(window.textBox(), u"*.TXT"_s);
    QTest::keyClick(window.textBox(), Qt::Key_Return);
    ui.runEvents([&] { return !search.SearchRunning; });
    clock.runTimers();
    ListBox *list = window.resultsList();
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), tree.file(u"sub/b.txt"_s));
    EXPECT_TRUE(window.windowTitle().startsWith(u"2 Files Found - "_s));
    EXPECT_FALSE(window.progressBar()->isVisible());

    window.choosePopupItem = [&](QMenu &menu) -> QAction * {
        const QList<QAction *> actions = menu.actions();
        const auto it = std::find_if(actions.begin(), actions.end(),
            [](QAction *a) { return a->objectName() == u"mnuSelectAll"; });
        return it == actions.end() ? nullptr : *it;
    };
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(search.lstFileSearch.SelCount(), 2);
}

} // namespace
} // namespace corvanta::test
