#include "filelist/PointerClipboard.h"

#include "platform/Keys.h"
#include "support/FormFixture.h"

#include <QFile>

namespace corvanta::test {
namespace {

const QString One = u"Projects/Alpha/One.Files"_s;
const QString Two = u"Projects/Alpha/Two.Files"_s;
const QByteArray OnePointers = "A\t/a\r\nB b\t/b\r\nC\t/c\r\n";

// Pointers of topic One dragged onto the Topic List of project Alpha: " ...", One, Two.
class PointerDragTest : public FormFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\nTwo\r\n");
        data.write(One, OnePointers);
        data.write(Two, "X\t/x\r\nb B\t/other\r\n");
        start();
    }
    void openOne(std::initializer_list<int> selected)
    {
        doubleClick(projects(), 0);
        click(topics(), 1);
        files().deselectAll();
        for (int row : selected)
            files().userMouseDown(row, 1, Key::CtrlMask);
    }
    void drop(int topicRow, bool copy)
    {
        form->navigation().lstTopicList_PointersDropped(topicRow, copy);
    }
};

TEST_F(PointerDragTest, moveOrCopy_refusesDuplicatesOneByOne)
{
    const struct
    {
        bool copy;
        QByteArray one, two;
        QStringList shown;
    } cases[] = {
        {false, "B b\t/b\r\n", "X\t/x\r\nb B\t/other\r\nA\t/a\r\nC\t/c\r\n", {u"B b\t/b"_s}},
        {true, OnePointers, "X\t/x\r\nb B\t/other\r\nA\t/a\r\nC\t/c\r\n",
            {u"A\t/a"_s, u"B b\t/b"_s, u"C\t/c"_s}},
    };
    for (const auto &c : cases) {
        data.write(One, OnePointers);
        data.write(Two, "X\t/x\r\nb B\t/other\r\n");
        start();
        openOne({0, 1, 2});
        drop(2, c.copy);
        ASSERT_EQ(ui.boxes.size(), 1u) << c.copy; // "B b" is on file there as "b B"
        EXPECT_EQ(ui.boxes[0].title, u" Duplicate Filename: B B"_s);
        EXPECT_EQ(data.read(One), c.one);
        EXPECT_EQ(data.read(Two), c.two);
        EXPECT_EQ(rows(files()), c.shown);
        ui.boxes.clear();
    }
}

TEST_F(PointerDragTest, ontoTheShownTopicOrNothingSelected_changesNothing)
{
    openOne({0});
    drop(1, false);
    EXPECT_EQ(data.read(One), OnePointers);
    EXPECT_EQ(files().ListCount(), 3);
    EXPECT_TRUE(ui.boxes.empty());
    files().deselectAll();
    drop(2, false);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(data.read(Two), QByteArray("X\t/x\r\nb B\t/other\r\n"));
}

TEST_F(PointerDragTest, theShownFileIsWrittenOnlyAfterTheTopicsFile)
{
    // The topic's file cannot be written: the pointers stay where they were.
    openOne({0});
    QFile::setPermissions(data.file(Two), QFileDevice::ReadOwner);
    drop(2, false);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, u" File Not Saved"_s);
    EXPECT_EQ(data.read(One), OnePointers);
    EXPECT_EQ(files().ListCount(), 3);

    // The shown file cannot be written: the pointer is in both files, never in neither.
    ui.boxes.clear();
    QFile::setPermissions(data.file(Two), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(data.file(One), QFileDevice::ReadOwner);
    drop(0, false); // onto " ...", the project's own list
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("A\t/a\r\n"));
    EXPECT_EQ(data.read(One), OnePointers);
    EXPECT_EQ(files().ListCount(), 3);
}

} // namespace
} // namespace corvanta::test
