#include "filelist/PointerClipboard.h"

#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "store/OwnFiles.h"
#include "support/FileSystemFaults.h"
#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include <QFile>

#include <functional>
#include <sys/stat.h>

namespace corvanta::test {
namespace {

const QString AlphaOne = u"Projects/Alpha/One.Files"_s;
const QString BetaTwo = u"Projects/Beta/Two.Files"_s;
const QByteArray AlphaPointers = "A\t/a\r\nB b\t/b\r\nC\t/c\r\nD\t/d\r\n";

class PointerClipboardTest : public FormFixture
{
protected:

    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Projects/Alpha/Alpha.List: One",
            "Projects/Beta/Beta.List: Two", "Projects/Beta/Two.Files: X -> /x, Y -> /y"});
        data.write(AlphaOne, AlphaPointers);
        start();
    }
    // Opens a project's first topic as a user clicks them, and selects rows of its File List.
    void open(int project, const QList<int> &selected = {})
    {
        doubleClick(projects(), project);
        click(topics(), 1);
        select(selected);
    }
    QByteArray pasteList() const { return data.read(u"Paste.Lst"_s); }
};

TEST_F(PointerClipboardTest, copyThenPasteIntoTheSameList_refusesEachNameAsADuplicate)
{
    open(0, {1, 3});
    form->run(u"mnuCopyFiles"_s);
    EXPECT_EQ(pasteList(), QByteArray("B b\t/b\r\nD\t/d\r\n"));
    EXPECT_EQ(selectedRows(files()), QList<int> {3});
    EXPECT_TRUE(enabled("mnuPasteFiles") && enabled("mnuPasteInsert"));
    form->run(u"mnuPasteFiles"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, u"You Have Selected A Duplicate Filename.     \rB B Is Already On File.\r"_s);
    EXPECT_EQ(ui.boxes[1].title, u" Duplicate Filename: D"_s);

    // Cut or Copy with nothing selected keeps Paste.Lst and the current row.
    files().deselectAll();
    const int current = files().ListIndex();
    for (const char *item : {"mnuCutFiles", "mnuCopyFiles"})
        form->run(QString::fromLatin1(item));
    EXPECT_EQ(pasteList(), QByteArray("B b\t/b\r\nD\t/d\r\n"));
    EXPECT_EQ(files().ListIndex(), current);
    EXPECT_EQ(data.read(AlphaOne), AlphaPointers);
}

TEST_F(PointerClipboardTest, pasteListLines_areInsertedByTheirNamesAtTheRowOrTheEnd)
{
    struct Case
    {
        const char *pasteList;
        int atRow; // -1: at the end
        QStringList rows;
        size_t duplicates;
    };
    const Case cases[] = {
        {"P\t/p\r\nQ\t/q\r\n", 1, {u"X\t/x"_s, u"P\t/p"_s, u"Q\t/q"_s, u"Y\t/y"_s}, 0},
        // A repeated name, in any case, is refused; spaces around a line go, TABs stay.
        {"N\t/1\r\nn\t/2\r\n  \r\n\r\n Sp ace\t/s \r\n\t/no-name\r\n", -1,
            {u"X\t/x"_s, u"Y\t/y"_s, u"N\t/1"_s, u"Sp ace\t/s"_s, u"\t/no-name"_s}, 1},
        // A hand-written line without a TAB is a name with an empty target.
        {"Just a name", -1, {u"X\t/x"_s, u"Y\t/y"_s, u"Just a name\t"_s}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasteList);
        data.write(u"Paste.Lst"_s, c.pasteList);
        data.write(BetaTwo, "X\t/x\r\nY\t/y\r\n");
        start();
        open(1, {c.atRow});
        form->run(c.atRow < 0 ? u"mnuPasteFiles"_s : u"mnuPasteInsert"_s);
        EXPECT_EQ(rows(files()), c.rows);
        EXPECT_EQ(ui.boxes.size(), c.duplicates);
        EXPECT_EQ(data.read(BetaTwo), (c.rows.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
        const int lastPasted = c.atRow < 0 ? int(c.rows.size()) - 1 : c.atRow + 1;
        EXPECT_EQ(selectedRows(files()), QList<int> {lastPasted});
        ui.boxes.clear();
    }
}

// The rows not chosen keep their padding, their blank lines and an empty target's TAB.
TEST_F(PointerClipboardTest, rowsNotTouched_keepTheirText)
{
    const QByteArray byHand = "  Pad\t/p  \r\n\r\n   \r\nA\t/a\r\nNone\t\r\nB\t/b\r\n";
    const QByteArray withoutA = "  Pad\t/p  \r\n\r\n   \r\nNone\t\r\nB\t/b\r\n";
    const QString own = u"Projects/Alpha/Alpha.Files"_s; // the " ..." row's
    struct Case
    {
        const char *what;
        QString chosen;
        std::function<void()> act;
        QByteArray after;
        QByteArray ownAfter = "  Own\t/o  \r\n";
    };
    const Case cases[] = {
        {"cut", u"A\t/a"_s, [this] { form->run(u"mnuCutFiles"_s); }, withoutA},
        {"remove", u"A\t/a"_s, [this] {
             ui.answers = {MsgBox::Yes};
             form->run(u"RemoveSelectedFiles"_s);
         }, withoutA},
        {"move onto a topic", u"A\t/a"_s, [this] {
             form->navigation().lstTopicList_PointersDropped(0, false);
         }, withoutA, "  Own\t/o  \r\nA\t/a\r\n"},
        {"paste at a row", u"B\t/b"_s, [this] {
             data.write(u"Paste.Lst"_s, "P\t/p\r\n");
             form->run(u"mnuPasteInsert"_s);
         }, "  Pad\t/p  \r\n\r\n   \r\nA\t/a\r\nNone\t\r\nP\t/p\r\nB\t/b\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        data.write(AlphaOne, byHand);
        data.write(own, "  Own\t/o  \r\n");
        start();
        ui.boxes.clear();
        open(0);
        files().selectRow(int(rows(files()).indexOf(c.chosen)));
        c.act();
        for (const ShownBox &box : ui.boxes)
            EXPECT_TRUE(box.title.startsWith(u" Remove"_s)) << box.title.toStdString(); // the question
        EXPECT_EQ(data.read(AlphaOne), c.after);
        EXPECT_EQ(data.read(own), c.ownAfter);
    }
}

// A Paste.Lst that cannot be read may hold pointers cut earlier.
TEST_F(PointerClipboardTest, unreadablePasteList_isNeverReplaced_andPasteSaysWhy)
{
    const QString pastePath = data.file(u"Paste.Lst"_s);
    for (const bool fifo : {false, true}) { // else a file without read permission after the start
        SCOPED_TRACE(fifo);
        QFile::remove(pastePath);
        store().dropUnreadableMarks(pastePath); // as in a new run
        if (fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(pastePath).constData(), 0666), 0);
        } else {
            data.write(u"Paste.Lst"_s, "Cut earlier\t/e\r\n");
        }
        start();
        open(0, {0, 1});
        if (!fifo) {
            ASSERT_TRUE(QFile::setPermissions(pastePath, QFileDevice::WriteOwner));
        }
        {
            const WithoutRootOverride asUser;
            form->run(fifo ? u"mnuCopyFiles"_s : u"mnuCutFiles"_s);
            form->run(u"mnuPasteFiles"_s);
        }
        const QString file = u"The File  ["_s + pastePath;
        const QString why = fifo ? u"It is not a regular file."_s : u"Permission denied"_s;
        expectBoxes(ui, {{u" File Not Saved"_s, file + u"]  Could Not Be Saved.     \rThe file "
                                                       "could not be read, so it is not replaced.\r"_s},
                         {u" File Not Read"_s, file + u"]  Could Not Be Read.     \r"_s + why + u'\r'}});
        EXPECT_EQ(data.read(AlphaOne), AlphaPointers);
        EXPECT_EQ(QFileInfo(pastePath).isFile(), !fifo); // a FIFO stays one
        if (!fifo) {
            QFile::setPermissions(pastePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            EXPECT_EQ(pasteList(), QByteArray("Cut earlier\t/e\r\n"));
        }
        ui.boxes.clear();
    }
}

TEST_F(PointerClipboardTest, sortedListWithTwinNames_cutTakesExactlyTheSelectedRow)
{
    data.write(AlphaOne, "Twin\t/first\r\nA\t/a\r\nTwin\t/second\r\n");
    setIni(u"File List"_s, u"Sort"_s, u"descend"_s);
    start();
    open(0, {1});
    const QString cut = files().rowText(1);
    ASSERT_TRUE(cut.startsWith(u"Twin\t"_s));
    form->run(u"mnuCutFiles"_s);
    EXPECT_EQ(pasteList(), (cut + u"\r\n"_s).toUtf8());
    const QString left = QString::fromUtf8(data.read(AlphaOne));
    EXPECT_EQ(left.count(u"Twin"_s), 1);
    EXPECT_FALSE(left.contains(cut));
    EXPECT_TRUE(left.contains(u"A\t/a"_s));
}

// Cut pointers live only in Paste.Lst: unreachable, they would be overwritten by the next Cut.
TEST_F(PointerClipboardTest, cutPointers_stayPasteableWhateverHappensInTheNameLists)
{
    const std::pair<const char *, std::function<void()>> cases[] = {
        {"right-click a project", [this] { projects().userMouseDown(1, Mouse::Right, 0); }},
        {"cut a topic name", [this] {
             topics().selectRow(1);
             form->run(u"mnuTopicPopupCutTopicName"_s);
         }},
    };
    for (const auto &[what, act] : cases) {
        SCOPED_TRACE(what);
        data.write(AlphaOne, AlphaPointers);
        data.write(BetaTwo, "X\t/x\r\n");
        data.write(u"Paste.Lst"_s, "");
        start();
        open(0, {0});
        form->run(u"mnuCutFiles"_s);
        doubleClick(projects(), 1);
        click(topics(), 1);
        act();
        if (std::string_view(what).starts_with("cut")) {
            EXPECT_FALSE(clipboard.content.isEmpty()); // the name really went
        }
        EXPECT_TRUE(enabled("mnuPasteFiles") && enabled("mnuPasteInsert"));
        form->run(u"mnuPasteFiles"_s);
        EXPECT_TRUE(rows(files()).contains(u"A\t/a"_s)); // into the topic shown, whichever
    }
}

// Pointers dragged onto another topic of the project: a name on file there in any case is
// refused, the others go; onto the shown topic, or with nothing selected, nothing changes.
TEST_F(PointerClipboardTest, dragOntoATopic_movesOrCopiesRefusingDuplicatesOneByOne)
{
    const QByteArray two = "X\t/x\r\nb B\t/other\r\n";
    for (const bool copy : {false, true}) {
        SCOPED_TRACE(copy);
        layDown(data.path(), {"Projects/Alpha/Alpha.List: One, Two"});
        data.write(u"Projects/Alpha/Two.Files"_s, two);
        data.write(AlphaOne, AlphaPointers);
        start();
        open(0, {0, 1, 2});
        form->navigation().lstTopicList_PointersDropped(1, copy); // onto One itself
        form->navigation().lstTopicList_PointersDropped(2, copy);
        expectBoxes(ui, {{u" Duplicate Filename: B B"_s, {}}});
        EXPECT_EQ(data.read(AlphaOne), copy ? AlphaPointers : "B b\t/b\r\nD\t/d\r\n");
        EXPECT_EQ(data.read(u"Projects/Alpha/Two.Files"_s), two + "A\t/a\r\nC\t/c\r\n");
        EXPECT_EQ(files().ListCount(), copy ? 4 : 2);
        files().deselectAll();
        form->navigation().lstTopicList_PointersDropped(2, copy);
        EXPECT_EQ(ui.beeps, copy ? 2 : 1);
        ui.boxes.clear();
    }
}

// The topic's file is written before the shown one: a pointer that cannot be written there
// stays; one whose shown file cannot be rewritten is in both files, never in neither.
TEST_F(PointerClipboardTest, dragWhenAFileCannotBeWritten_neverLosesThePointer)
{
    layDown(data.path(),
            {"Projects/Alpha/Alpha.List: One, Two", "Projects/Alpha/Two.Files: X -> /x"});
    start();
    open(0, {0});
    QFile::setPermissions(data.file(u"Projects/Alpha/Two.Files"_s), QFileDevice::ReadOwner);
    form->navigation().lstTopicList_PointersDropped(2, false);
    QFile::setPermissions(data.file(AlphaOne), QFileDevice::ReadOwner);
    form->navigation().lstTopicList_PointersDropped(0, false); // onto " ...", the project's own
    EXPECT_EQ(ui.titles(), (QStringList{u" File Not Saved"_s, u" File Not Saved"_s}));
    EXPECT_EQ(data.read(u"Projects/Alpha/Alpha.Files"_s), QByteArray("A\t/a\r\n"));
    EXPECT_EQ(data.read(AlphaOne), AlphaPointers);
    EXPECT_EQ(files().ListCount(), 4);
}

} // namespace
} // namespace corvanta::test
