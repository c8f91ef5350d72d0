#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvanta;
using corvanta::test::bytesOf;
using corvanta::test::writeBytes;
using namespace Qt::StringLiterals;

namespace {

class ListFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Store store;

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        writeBytes(path(name), bytes);
        return path(name);
    }

    static QStringList rowsOf(const ListControl &list)
    {
        QStringList rows;
        for (int row = 0; row < list.ListCount(); ++row)
            rows << list.rowText(row);
        return rows;
    }
};

class ResetCounter : public ListControlObserver {
public:
    int notifications = 0;
    void listReset() override { ++notifications; }
    void rowsInserted(int, int) override { ++notifications; }
    void rowsRemoved(int, int) override { ++notifications; }
    void rowsChanged(int, int) override { ++notifications; }
    void currentRowChanged(int) override { ++notifications; }
    void appearanceChanged() override {}
    void focusRequested() override {}
};

} // namespace

TEST_F(ListFilesTest, decode_validUtf8OrWindows1252_givesSameText)
{
    EXPECT_EQ(decodeListText("\xEF\xBB\xBF" "Caf\xC3\xA9 \xE2\x82\xAC"), u"Café €"_s);
    // 0x93 and 0x80 are not UTF-8 on their own: the whole file is Windows-1252.
    EXPECT_EQ(decodeListText("\x93Q\x80 caf\xE9 \x81"), u"\u201CQ\u20AC café \u0081"_s);
    // Overlong forms, encoded surrogates and cut sequences are not UTF-8 either.
    EXPECT_EQ(decodeListText("\xC0\xAF"), u"\u00C0\u00AF"_s);
    EXPECT_EQ(decodeListText("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC"_s);
    EXPECT_EQ(decodeListText("abcdefghij\xE2\x82"), u"abcdefghij\u00E2\u201A"_s);
    EXPECT_EQ(decodeListText("12345678\xF0\x9F\x98\x80"), u"12345678\U0001F600"_s);
}

// Find Pointer keeps an ASCII file as its bytes: its records must be those of the decoded text,
// and anything beyond ASCII (a byte-order mark, one Windows-1252 line) must still be decoded.
TEST_F(ListFilesTest, readListContent_asciiKeptAsBytes_givesTheDecodedRecords)
{
    const struct {
        QByteArray bytes;
        bool ascii;
    } cases[] = {
        {"  A\ta \r\nB\tb\n\rC\rD  ", true},
        {QByteArray("nul\0inside\r\n", 13), true},
        {"", true},
        {"\xEF\xBB\xBF" "A\ta\r\n", false},
        {"Caf\xC3\xA9\tx\r\nplain\ty\r\nna\xEFve\tz\r\n", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const ListContent content = readListContent(store, write(u"T.Files"_s, c.bytes));
        EXPECT_EQ(content.isAscii, c.ascii);
        const QString decoded = decodeListText(c.bytes);
        EXPECT_EQ(content.toText(), decoded);
        QStringList expected, records;
        forEachRecord(QStringView(decoded), [&](QStringView line) { expected << line.toString(); });
        if (content.isAscii) {
            forEachRecord(QByteArrayView(content.ascii),
                [&](QByteArrayView line) { records << QString::fromLatin1(line); });
        } else {
            forEachRecord(QStringView(content.text), [&](QStringView line) { records << line.toString(); });
        }
        EXPECT_EQ(records, expected);
    }
    EXPECT_TRUE(readListContent(store, path(u"None.Files"_s)).toText().isEmpty());
}

// A pointer file as written by hand, read trimmed (only spaces go: a TAB marks which column is
// empty) or untrimmed (only empty lines go), and the bytes a rewrite of the trimmed rows gives.
TEST_F(ListFilesTest, readPointerList_trimmedOrNot_keepsEveryRecordAndItsTab)
{
    const struct {
        QByteArray bytes;
        QStringList trimmed, untrimmed;
        QByteArray rewritten;
    } cases[] = {
        {"a\tb\r\n", {u"a\tb"_s}, {u"a\tb"_s}, "a\tb\r\n"},
        {"  x\ty  \r\n   \r\n\r\nz\tw\nlast\tone", {u"x\ty"_s, u"z\tw"_s, u"last\tone"_s},
         {u"  x\ty  "_s, u"   "_s, u"z\tw"_s, u"last\tone"_s}, "x\ty\r\nz\tw\r\nlast\tone\r\n"},
        {" \t/home/u/a.txt\r\nname\t \r\n", {u"\t/home/u/a.txt"_s, u"name\t"_s},
         {u" \t/home/u/a.txt"_s, u"name\t "_s}, "\t/home/u/a.txt\r\nname\t\r\n"},
        {"  \r\n\r\n \n", {}, {u"  "_s, u" "_s}, ""},
        {"  a\tb \r\n\r\n \rc\td\n", {u"a\tb"_s, u"c\td"_s}, {u"  a\tb "_s, u" "_s, u"c\td"_s}, "a\tb\r\nc\td\r\n"},
        {"\x93Quote\x94\t/home/u/caf\xE9 \x80.txt\r\n", {u"\u201CQuote\u201D\t/home/u/café €.txt"_s},
         {u"\u201CQuote\u201D\t/home/u/café €.txt"_s}, "\xE2\x80\x9CQuote\xE2\x80\x9D\t/home/u/caf\xC3\xA9 \xE2\x82\xAC.txt\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const QString file = write(u"T.Files"_s, c.bytes);
        ListControl trimmed(2, true), untrimmed(2, true);
        untrimmed.addRow(u"kept\trow"_s);
        EXPECT_EQ(readPointerListTrimmed(store, file, trimmed), c.trimmed.size());
        EXPECT_EQ(rowsOf(trimmed), c.trimmed);
        EXPECT_EQ(readPointerList(store, file, untrimmed), c.untrimmed.size());
        EXPECT_EQ(rowsOf(untrimmed), QStringList{u"kept\trow"_s} + c.untrimmed);
        ASSERT_TRUE(writePointerList(store, file, trimmed));
        EXPECT_EQ(bytesOf(file), c.rewritten);
    }
    ListControl none(2, true);
    EXPECT_EQ(readPointerListTrimmed(store, path(u"missing.Files"_s), none), 0);
}

TEST_F(ListFilesTest, readNameList_indentedNames_trimmedAfterExistingRows)
{
    const QString file = write(u"Project.Topics"_s, "   Alpha\r\n\r\nBeta   \r\n \t\r\n");
    ListControl list(2);
    list.addRow(u" ..."_s);
    EXPECT_EQ(readNameList(store, file, list), 3);
    EXPECT_EQ(rowsOf(list), (QStringList{u" ..."_s, u"Alpha"_s, u"Beta"_s, u"\t"_s}));
}

TEST_F(ListFilesTest, readNameList_longList_yieldsEvery1000RowsAndTellsViewOnce)
{
    QByteArray bytes;
    for (int i = 0; i < 2500; ++i)
        bytes += "Name " + QByteArray::number(i) + "\r\n";
    const QString file = write(u"Project.List"_s, bytes);
    ListControl list;
    ResetCounter observer;
    list.addObserver(&observer);
    int yields = 0;
    EXPECT_EQ(readNameList(store, file, list, [&] { ++yields; }), 2500);
    list.removeObserver(&observer);
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(observer.notifications, 1);
    EXPECT_EQ(list.rowText(2499), u"Name 2499"_s);
}

// Only the project row " ..." itself is never stored, wherever it stands; a name holding "..."
// is a name like any other.
TEST_F(ListFilesTest, writeNameList_dropsBlankRowsAndTheProjectRowOnly)
{
    ListControl list(2);
    for (const QString &row : {u"  Alpha "_s, u"   "_s, u"Be...ta"_s, u" ..."_s, u"..."_s, u"Gamma\t"_s})
        list.addRow(row);
    const QString file = write(u"Project.Topics"_s, "old\r\n");
    ASSERT_TRUE(writeNameList(store, file, list));
    EXPECT_EQ(bytesOf(file), "Alpha\r\nBe...ta\r\n...\r\nGamma\t\r\n");
}

// Only a missing file is made: one that is there keeps its bytes, and no folder is made for it.
TEST_F(ListFilesTest, ensureFileExists_andSaves_makeNoFolderAndKeepWhatIsThere)
{
    EXPECT_TRUE(ensureFileExists(store, path(u"Project.List"_s)));
    EXPECT_EQ(bytesOf(path(u"Project.List"_s)), QByteArray());
    EXPECT_TRUE(ensureFileExists(store, write(u"Project.Files"_s, "a\tb\r\n")));
    EXPECT_EQ(bytesOf(path(u"Project.Files"_s)), "a\tb\r\n");
    EXPECT_FALSE(ensureFileExists(store, path(u"no/such/folder/T.Files"_s)));
    const SaveResult result = saveLines(store, path(u"Projects/Gone/T.Files"_s), {u"a\tb"_s});
    EXPECT_FALSE(result.ok || result.reason.isEmpty());
    EXPECT_FALSE(QDir(path(u"Projects"_s)).exists());
}

TEST_F(ListFilesTest, saveLines_success_keepsPermissionsAndLeavesNoTemporaryFile)
{
    const QString file = write(u"P.List"_s, "old\r\n");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                      | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(file, mode));
    ASSERT_TRUE(saveLines(store, file, {u"new"_s, u""_s}));
    EXPECT_EQ(bytesOf(file), "new\r\n\r\n");
    EXPECT_EQ(QFile::permissions(file), mode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"P.List"_s});
}
