#include "gui/PointerEditorDialog.h"
#include "WindowFixture.h"

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
struct EditorPlayer : QTimer
{
    std::function<void(PointerEditorDialog &)> play;
    int editors = 0;
    QPointer<QWidget> last;

    EditorPlayer()
    {
        connect(this, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *dialog = qobject_cast<PointerEditorDialog *>(modal);
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
                box->reject();
            } else if (dialog && dialog != last && dialog->isVisible()) {
                last = dialog;
                ++editors;
                play(*dialog);
            }
        });
        start(20);
    }
};

class PointerEditorGuiTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.Files"_s, "First\t/home/u/first.txt\r\nSecond\t/home/u/second.txt\r\n");
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\nTwo\r\n");
        data.write(u"Projects/Alpha/One.Files"_s, "A\t/a\r\nB\t/b\r\n");
        data.write(u"Projects/Alpha/Two.Files"_s, "");
        startWindow();
    }

    static QLineEdit *box(PointerEditorDialog &dialog, const char *name)
    {
        return qobject_cast<QLineEdit *>(dialog.control(QString::fromLatin1(name)));
    }
};

// Local files dropped on the File List become pointers, an editor each, linked and never moved;
// web addresses and move-only drags are refused, and the Project List takes no drops.
TEST_F(PointerEditorGuiTest, filesDroppedOnTheFileList_becomePointers_otherDropsAreRefused)
{
    const QString a = data.file(u"alpha.txt"_s);
    const QString b = data.file(u"beta.txt"_s);
    data.write(u"alpha.txt"_s, "a");
    data.write(u"beta.txt"_s, "b");
    QWidget *files = window->listBox(2)->viewport();
    const QPoint at(10, 5);
    const auto enters = [&](const QList<QUrl> &urls, Qt::DropActions offered) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(files, &enter);
        return enter.isAccepted();
    };
    EXPECT_FALSE(enters({QUrl(u"https://www.example.com/"_s)}, Qt::CopyAction));
    EXPECT_FALSE(enters({QUrl::fromLocalFile(a)}, Qt::MoveAction));
    EXPECT_FALSE(window->listBox(0)->viewport()->acceptDrops());

    EditorPlayer player;
    QStringList paths;
    player.play = [&paths](PointerEditorDialog &dialog) {
        paths << box(dialog, "txtInternetAddress")->text();
        QLineEdit *name = box(dialog, "txtPointerName");
        QTest::keyClicks(name, u"Dropped "_s + QString::number(paths.size()));
        QTest::keyClick(name, Qt::Key_Return);
    };
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    EXPECT_TRUE(enters({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}, offered));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QDropEvent drop(QPointF(at), offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(files, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::LinkAction); // never a move: the file manager keeps them
    for (int i = 0; i < 250 && form->lstFileList.ListCount() != 4; ++i)
        QTest::qWait(20);
    ASSERT_EQ(form->lstFileList.ListCount(), 4);
    EXPECT_EQ(paths, (QStringList {a, b}));
    EXPECT_EQ(form->lstFileList.rowText(2), u"Dropped 1\t"_s + a);
    EXPECT_EQ(form->lstFileList.rowText(3), u"Dropped 2\t"_s + b);
}

// Pointers dragged from the File List onto a row of the Topic List are moved there, or copied
// with Ctrl; the Project List refuses them.
TEST_F(PointerEditorGuiTest, pointersDroppedOnATopicRowMoveOrCopy_theProjectListRefuses)
{
    ASSERT_TRUE(form->navigation().openPlace({u"Alpha"_s, u"One"_s, QString()}));
    form->lstFileList.selectRow(0);

    auto dropOn = [&](ListBox *list, int row, Qt::KeyboardModifiers modifiers) {
        QMimeData mime;
        mime.setData(ListBox::pointerDragFormat(), QByteArrayLiteral("pointers"));
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QDragEnterEvent move(at, Qt::MoveAction | Qt::CopyAction, &mime, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(list->viewport(), &move);
        const bool accepted = move.isAccepted();
        if (accepted) {
            QDropEvent drop(at, Qt::MoveAction | Qt::CopyAction, &mime, Qt::LeftButton, modifiers);
            QCoreApplication::sendEvent(list->viewport(), &drop);
            QCoreApplication::processEvents();
        }
        return accepted;
    };
    EXPECT_FALSE(dropOn(window->listBox(0), 1, Qt::NoModifier));
    EXPECT_TRUE(dropOn(window->listBox(1), 2, Qt::ControlModifier)); // copied
    EXPECT_EQ(data.read(u"Projects/Alpha/Two.Files"_s), QByteArray("A\t/a\r\n"));
    EXPECT_EQ(data.read(u"Projects/Alpha/One.Files"_s), QByteArray("A\t/a\r\nB\t/b\r\n"));
    form->lstFileList.deselectAll();
    form->lstFileList.selectRow(1);
    EXPECT_TRUE(dropOn(window->listBox(1), 2, Qt::NoModifier)); // moved
    EXPECT_EQ(data.read(u"Projects/Alpha/Two.Files"_s), QByteArray("A\t/a\r\nB\t/b\r\n"));
    EXPECT_EQ(data.read(u"Projects/Alpha/One.Files"_s), QByteArray("A\t/a\r\n"));
    EXPECT_EQ(form->lstFileList.ListCount(), 1);
}

} // namespace
