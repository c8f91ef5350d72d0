#include "WindowFixture.h"

#include <QMimeData>

namespace corvanta::test {
namespace {

// Pointers dragged from the File List onto the Topic List of the real window; the Project List
// refuses them.
class PointerDropTest : public WindowFixture
{
};

TEST_F(PointerDropTest, aDropOnATopicRowMovesOrCopies_theProjectListRefuses)
{
    data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
    data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\nTwo\r\n");
    data.write(u"Projects/Alpha/One.Files"_s, "A\t/a\r\nB\t/b\r\n");
    data.write(u"Projects/Alpha/Two.Files"_s, "");
    startWindow();
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
} // namespace corvanta::test
