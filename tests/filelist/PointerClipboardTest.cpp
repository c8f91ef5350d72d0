#include "filelist/PointerClipboard.h"

#include "platform/MsgBox.h"
#include "support/FormFixture.h"

#include <QFile>

namespace corvanta::test {
namespace {

const QString AlphaOne = u"Projects/Alpha/One.Files"_s;
const QString BetaTwo = u"Projects/Beta/Two.Files"_s;

class PointerClipboardTest : public FormFixture
{
protected:
    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\nBeta\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "One\r\n");
        data.write(AlphaOne, "A\t/a\r\nB b\t/b\r\nC\t/c\r\nD\t/d\r\n");
        data.write(u"Projects/Beta/Beta.List"_s, "Two\r\n");
        data.write(BetaTwo, "X\t/x\r\nY\t/y\r\n");
        start();
    }

    // Opens a project by its row and then its first topic, as a user clicks them.
    void openTopic(int project)
    {
        doubleClick(projects(), project);
        click(topics(), 1);
    }
    void select(std::initializer_list<int> rowsToSelect)
    {
        files().setAction(2);
        for (int row : rowsToSelect)
            files().selectRow(row);
    }
    QByteArray pasteList() const { return data.read(u"Paste.Lst"_s); }
    bool enabled(const QString &item) const { return form->commands.item(item)->enabled; }
    void makeReadOnly(const QString &file)
    {
        QFile::setPermissions(data.file(file), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
};

TEST_F(PointerClipboardTest, copyRowsOneAndThree_pastedIntoTheSameList_areRefusedAsDuplicates)
{
    openTopic(0);
    select({1, 3});
    form->run(u"mnuCopyFiles"_s);
    EXPECT_EQ(pasteList(), QByteArray("B b\t/b\r\nD\t/d\r\n"));
    EXPECT_EQ(selectedRows(files()), QList<int> {3}); // the current row, alone

    form->run(u"mnuPasteFiles"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text,
        u"You Have Selected A Duplicate Filename.     \rB B Is Already On File.\r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Duplicate Filename: B B"_s);
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::OkOnly | MsgBox::Exclamation);
    EXPECT_EQ(ui.boxes[1].title, u" Duplicate Filename: D"_s);
    EXPECT_EQ(files().ListCount(), 4);
}

TEST_F(PointerClipboardTest, cutThreeRows_pastedAtTheEndOfAnotherProjectsTopic_arriveBottomFirst)
{
    EXPECT_FALSE(enabled(u"mnuPasteFiles"_s)); // a fresh data folder has nothing to paste
    openTopic(0);
    select({0, 1, 2});
    form->run(u"mnuCutFiles"_s);
    EXPECT_EQ(pasteList(), QByteArray("C\t/c\r\nB b\t/b\r\nA\t/a\r\n"));
    EXPECT_EQ(data.read(AlphaOne), QByteArray("D\t/d\r\n"));
    EXPECT_EQ(rows(files()), QStringList {u"D\t/d"_s});
    EXPECT_EQ(selectedRows(files()), QList<int> {0});
    EXPECT_TRUE(enabled(u"mnuPasteFiles"_s));
    EXPECT_TRUE(enabled(u"mnuPasteInsert"_s));

    openTopic(1);
    form->run(u"mnuPasteFiles"_s);
    EXPECT_EQ(data.read(BetaTwo), QByteArray("X\t/x\r\nY\t/y\r\nC\t/c\r\nB b\t/b\r\nA\t/a\r\n"));
    EXPECT_EQ(rows(files()).mid(2), (QStringList {u"C\t/c"_s, u"B b\t/b"_s, u"A\t/a"_s}));
    EXPECT_EQ(selectedRows(files()), QList<int> {4});
    // Paste.Lst is kept: the same pointers can go into a further topic.
    EXPECT_EQ(pasteList(), QByteArray("C\t/c\r\nB b\t/b\r\nA\t/a\r\n"));
}

TEST_F(PointerClipboardTest, pasteAtRowTwo_insertsThereAndSelectsTheLastPastedRow)
{
    data.write(u"Paste.Lst"_s, "P\t/p\r\nQ\t/q\r\n");
    openTopic(0);
    select({2});
    form->run(u"mnuPasteInsert"_s);
    EXPECT_EQ(rows(files()),
        (QStringList {u"A\t/a"_s, u"B b\t/b"_s, u"P\t/p"_s, u"Q\t/q"_s, u"C\t/c"_s, u"D\t/d"_s}));
    EXPECT_EQ(selectedRows(files()), QList<int> {3});
    EXPECT_EQ(files().ListIndex(), 3);
    EXPECT_EQ(data.read(AlphaOne), QByteArray("A\t/a\r\nB b\t/b\r\nP\t/p\r\nQ\t/q\r\nC\t/c\r\nD\t/d\r\n"));
}

TEST_F(PointerClipboardTest, pasteListLines_becomePointersByTheirNames)
{
    struct Case
    {
        const char *pasteList;
        QStringList added;
        size_t duplicates;
    };
    const Case cases[] = {
        // A repeated name: the first is pasted, the second refused; names match in any case.
        {"N\t/1\r\nn\t/2\r\nO\t/3\r\n", {u"N\t/1"_s, u"O\t/3"_s}, 1},
        // Blank and space-only lines are skipped; spaces around a line go, TABs stay.
        {"\r\n   \r\n  Sp ace\t/s  \r\n\t/no-name\r\n", {u"Sp ace\t/s"_s, u"\t/no-name"_s}, 0},
        // A hand-written line without a TAB is a name with an empty target.
        {"Just a name\nx/y", {u"Just a name\t"_s, u"x/y\t"_s}, 0},
        // A name holding a TAB of its own cannot exist: the first TAB ends every name.
        {"T\tab\t/t\r\n", {u"T\tab\t/t"_s}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasteList);
        data.write(u"Paste.Lst"_s, c.pasteList);
        data.write(BetaTwo, "");
        start();
        openTopic(1);
        ui.boxes.clear();
        form->run(u"mnuPasteFiles"_s);
        EXPECT_EQ(rows(files()), c.added);
        EXPECT_EQ(ui.boxes.size(), c.duplicates);
        QStringList lines;
        for (const QString &row : c.added)
            lines << row + u"\r\n"_s;
        EXPECT_EQ(data.read(BetaTwo), lines.join(QString()).toUtf8());
    }
}

TEST_F(PointerClipboardTest, cutOrCopyWithNothingSelected_keepsPasteListAndTheCurrentRow)
{
    data.write(u"Paste.Lst"_s, "Cut earlier\t/e\r\n");
    openTopic(0);
    files().selectRow(2);
    files().setAction(2); // row 2 is current, none selected
    for (const char *item : {"mnuCutFiles", "mnuCopyFiles"}) {
        form->run(QString::fromLatin1(item));
        EXPECT_EQ(pasteList(), QByteArray("Cut earlier\t/e\r\n")) << item;
        EXPECT_EQ(files().ListCount(), 4);
        EXPECT_EQ(files().ListIndex(), 2);
    }
    EXPECT_EQ(data.read(AlphaOne), QByteArray("A\t/a\r\nB b\t/b\r\nC\t/c\r\nD\t/d\r\n"));
}

TEST_F(PointerClipboardTest, failedWrites_showFileNotSavedAndChangeNothingOnScreen)
{
    struct Case
    {
        const char *item;
        QString readOnly;
        QByteArray pasteListAfter;
    };
    const QByteArray earlier = "Cut earlier\t/e\r\n";
    const Case cases[] = {
        {"mnuCutFiles", AlphaOne, "B b\t/b\r\nA\t/a\r\n"}, // the pointers are in both files
        {"mnuCutFiles", u"Paste.Lst"_s, earlier},
        {"mnuCopyFiles", u"Paste.Lst"_s, earlier},
        {"mnuPasteFiles", AlphaOne, earlier},
    };
    const QByteArray source = "A\t/a\r\nB b\t/b\r\nC\t/c\r\nD\t/d\r\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        data.write(u"Paste.Lst"_s, earlier);
        QFile::setPermissions(data.file(AlphaOne), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        data.write(AlphaOne, source);
        start();
        openTopic(0);
        select({0, 1});
        makeReadOnly(c.readOnly);
        ui.boxes.clear();
        form->run(QString::fromLatin1(c.item));
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].title, u" File Not Saved"_s);
        EXPECT_EQ(files().ListCount(), 4);
        EXPECT_EQ(selectedRows(files()), (QList<int> {0, 1}));
        EXPECT_EQ(data.read(AlphaOne), source);
        EXPECT_EQ(pasteList(), c.pasteListAfter);
        QFile::setPermissions(data.file(u"Paste.Lst"_s), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

TEST_F(PointerClipboardTest, sortedListWithTwinRows_cutTakesExactlyTheSelectedRow)
{
    data.write(AlphaOne, "Twin\t/first\r\nA\t/a\r\nTwin\t/second\r\n");
    setIni(u"File List"_s, u"Sort"_s, u"descend"_s);
    start();
    openTopic(0);
    ASSERT_EQ(rows(files()).first(), u"Twin\t/first"_s);
    select({1}); // the second twin, shown second when sorted descending
    const QString cut = files().rowText(1);
    form->run(u"mnuCutFiles"_s);
    EXPECT_EQ(pasteList(), (cut + u"\r\n"_s).toUtf8());
    const QByteArray left = data.read(AlphaOne);
    EXPECT_EQ(left.count("Twin"), 1);
    EXPECT_TRUE(left.contains("A\t/a"));
    EXPECT_FALSE(left.contains(cut.section(u'\t', 1).toUtf8()));
}

TEST_F(PointerClipboardTest, pasteItems_followPasteListAcrossARestartAndRemove)
{
    struct Case
    {
        const char *pasteList; // nullptr: no file
        bool enabledAtStart;
    };
    for (const Case &c : {Case {nullptr, false}, Case {"  \r\n\r\n", false},
             Case {"Kept\t/k\r\n", true}}) {
        QFile::remove(data.file(u"Paste.Lst"_s));
        if (c.pasteList)
            data.write(u"Paste.Lst"_s, c.pasteList);
        start();
        EXPECT_EQ(enabled(u"mnuPasteFiles"_s), c.enabledAtStart) << c.pasteList;
        EXPECT_EQ(enabled(u"mnuPasteInsert"_s), c.enabledAtStart) << c.pasteList;
    }
    // A Cut survives a restart and is pasted after it.
    openTopic(0);
    select({3});
    form->run(u"mnuCutFiles"_s);
    start();
    openTopic(1);
    EXPECT_TRUE(enabled(u"mnuPasteInsert"_s));
    form->run(u"mnuPasteFiles"_s);
    EXPECT_EQ(rows(files()).last(), u"D\t/d"_s);

    select({0});
    ui.answers = {MsgBox::Yes};
    form->run(u"RemoveSelectedFiles"_s);
    EXPECT_FALSE(enabled(u"mnuPasteInsert"_s));
    EXPECT_TRUE(enabled(u"mnuPasteFiles"_s));
}

} // namespace
} // namespace corvanta::test
