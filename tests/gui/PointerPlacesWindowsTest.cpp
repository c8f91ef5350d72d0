#include "gui/PointerPlacesWindows.h"

#include "platform/MsgBox.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

class PointerPlacesWindowsTest : public ::testing::Test
{
protected:
    TempFolder data;
    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Zeta\r\n");
        data.write(u"Projects/Alpha/Zeta.Files"_s,
            "Tax Return\t/no/tax.pdf\r\nReceipts\t/no/receipts\r\nLetter\t/no/letter\r\n");
    }
};

TEST_F(PointerPlacesWindowsTest, typingFilters_keysOpenOrLaunchTheCurrentResult)
{
    Store store;
    PointerFinder finder(store, data.path());
    QStringList launched;
    finder.onLaunch = [&](const PointerPlace &place) { launched << place.name(); };
    FindPointerWindow window(finder);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), u" Find Pointer"_s);
    EXPECT_EQ(window.results()->model()->rowCount(), 3);

    QTest::keyClicks(window.filterBox(), u"NO RE"_s);
    ASSERT_EQ(window.results()->model()->rowCount(), 2); // Tax Return, Receipts
    EXPECT_EQ(window.results()->model()->index(0, 2).data().toString(), u"Alpha / Zeta"_s);
    QTest::keyClick(window.filterBox(), Qt::Key_Down); // the arrow moves in the results
    QTest::keyClick(window.filterBox(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(launched, QStringList {u"Receipts"_s});
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.filterBox(), Qt::Key_Return);
    ASSERT_NE(finder.chosen(), nullptr);
    EXPECT_EQ(finder.chosen()->name(), u"Receipts"_s);
    EXPECT_FALSE(window.isVisible());
}

// The buttons reach Locate, Find Moved and Remove; in the moved files' window Enter relinks to
// the current file (that line alone changes) and Escape closes it once the walk has ended.
TEST_F(PointerPlacesWindowsTest, missingTargetsWindow_locateAndFindMovedKeysRelinkOneLine)
{
    for (const char *file : {"moved/a/tax.pdf", "moved/b/letter", "moved/c/receipts"})
        data.write(QString::fromLatin1(file), "x");
    FakeUi ui;
    FakeFileDialogs dialogs;
    Store store;
    MissingTargets missing(store, data.path(), TargetChecker(data.path(), {u"/"_s}, {}), ui);
    missing.setFileDialogs(&dialogs);
    missing.movedRoots = [&](const QString &) { return QStringList {data.file(u"moved"_s)}; };
    MissingTargetsWindow window(missing);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.results()->model()->rowCount(), 3);
    // Acts in the moved files' window once its walk has ended.
    const auto inMovedFiles = [](Qt::Key key) {
        auto *poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, key] {
            auto *moved = dynamic_cast<MovedFilesWindow *>(QApplication::activeModalWidget());
            if (!moved || moved->stopButton()->isEnabled())
                return;
            poll->deleteLater();
            EXPECT_EQ(moved->windowTitle(), u" Moved Files Found"_s);
            EXPECT_EQ(moved->progress(), u"1 Found"_s);
            QTest::keyClick(moved->results(), key);
        });
        poll->start(10);
    };
    const auto current = [&](int row) {
        window.results()->setCurrentIndex(window.results()->model()->index(row, 0));
    };

    // The first row is current without a click, so the access keys act at once.
    dialogs.choices = {{data.file(u"moved/a/tax.pdf"_s)}};
    window.locateButton()->click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    current(1); // Letter
    inMovedFiles(Qt::Key_Return);
    window.findMovedButton()->click();
    current(0); // Receipts
    inMovedFiles(Qt::Key_Escape);
    window.findMovedButton()->click();
    EXPECT_EQ(window.results()->model()->rowCount(), 1);
    // Remove takes the rows selected in the view.
    window.results()->selectionModel()->select(window.results()->model()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ui.answers = {MsgBox::Yes};
    window.removeButton()->click();
    EXPECT_EQ(window.results()->model()->rowCount(), 0);
    EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s),
        "Tax Return\t" + data.file(u"moved/a/tax.pdf"_s).toUtf8() + "\r\n"
        "Letter\t" + data.file(u"moved/b/letter"_s).toUtf8() + "\r\n");
}

} // namespace
} // namespace corvanta::test
