#include "gui/CommandSurfaceView.h"
#include "gui/PointerEditorDialog.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace corvanta;
using namespace corvanta::test;

namespace {

// Plays the user in each pointer editor that comes up; a message box nobody expected is a
// failure and is closed so the test cannot hang.
class EditorPlayer : public QObject
{
public:
    std::function<void(PointerEditorDialog &)> play;
    int editors = 0;

    EditorPlayer()
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start();
    }

private:
    QTimer timer_;
    QPointer<QWidget> last_;

    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
            box->reject();
            return;
        }
        auto *dialog = qobject_cast<PointerEditorDialog *>(modal);
        if (!dialog || dialog == last_ || !dialog->isVisible())
            return;
        last_ = dialog;
        ++editors;
        if (play)
            play(*dialog);
    }
};

class PointerEditorGuiTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.Files"_s, "First\t/home/u/first.txt\r\nSecond\t/home/u/second.txt\r\n");
        startWindow();
    }

    static QLineEdit *box(PointerEditorDialog &dialog, const char *name)
    {
        return qobject_cast<QLineEdit *>(dialog.control(QString::fromLatin1(name)));
    }
    // Waits (up to five seconds) for the File List to reach count rows.
    bool waitForRows(int count)
    {
        for (int i = 0; i < 250 && form->lstFileList.ListCount() != count; ++i)
            QTest::qWait(20);
        return form->lstFileList.ListCount() == count;
    }
};

TEST_F(PointerEditorGuiTest, websiteFromTheMenu_isTypedSavedAndListed)
{
    EditorPlayer player;
    QString caption;
    player.play = [&caption](PointerEditorDialog &dialog) {
        caption = dialog.windowTitle();
        QLineEdit *address = box(dialog, "txtInternetAddress");
        QLineEdit *name = box(dialog, "txtPointerName");
        QTest::keyClicks(address, u"www.example.com"_s);
        QTest::keyClick(address, Qt::Key_Return); // on to the name, address accepted
        QTest::keyClicks(name, u"Example"_s);
        QTest::keyClick(name, Qt::Key_Return); // saves; "Close After Save" is on
    };
    QAction *item = window->commandSurface()->action(u"mnuAddWebsite"_s);
    ASSERT_NE(item, nullptr);
    item->trigger();

    EXPECT_EQ(player.editors, 1);
    EXPECT_EQ(caption, u" Add Website Address"_s);
    ASSERT_EQ(form->lstFileList.ListCount(), 3);
    EXPECT_EQ(form->lstFileList.rowText(2), u"Example\thttp://www.example.com"_s);
}

TEST_F(PointerEditorGuiTest, twoFilesDroppedOnTheFileList_becomeTwoPointers)
{
    const QString a = data.file(u"alpha.txt"_s);
    const QString b = data.file(u"beta.txt"_s);
    data.write(u"alpha.txt"_s, "a");
    data.write(u"beta.txt"_s, "b");
    EditorPlayer player;
    QStringList paths;
    player.play = [&paths](PointerEditorDialog &dialog) {
        paths << box(dialog, "txtInternetAddress")->text();
        QLineEdit *name = box(dialog, "txtPointerName");
        QTest::keyClicks(name, u"Dropped "_s + QString::number(paths.size()));
        QTest::keyClick(name, Qt::Key_Return);
    };

    ListBox *list = window->listBox(2);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    const QPoint at(10, 5);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::LinkAction); // never a move: the file manager keeps them

    ASSERT_TRUE(waitForRows(4));
    EXPECT_EQ(paths, (QStringList {a, b}));
    EXPECT_EQ(form->lstFileList.rowText(2), u"Dropped 1\t"_s + a);
    EXPECT_EQ(form->lstFileList.rowText(3), u"Dropped 2\t"_s + b);
}

TEST_F(PointerEditorGuiTest, dropsOtherThanLocalFiles_areRefused)
{
    ListBox *files = window->listBox(2);
    ListBox *projects = window->listBox(0);
    QMimeData web;
    web.setUrls({QUrl(u"https://www.example.com/"_s)});
    QMimeData local;
    local.setUrls({QUrl::fromLocalFile(data.file(u"x.txt"_s))});
    const QPoint at(10, 5);

    QDragEnterEvent webEnter(at, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(files->viewport(), &webEnter);
    EXPECT_FALSE(webEnter.isAccepted());
    QDragEnterEvent moveOnly(at, Qt::MoveAction, &local, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(files->viewport(), &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    EXPECT_FALSE(projects->viewport()->acceptDrops());
    EXPECT_TRUE(files->viewport()->acceptDrops());
}

} // namespace
