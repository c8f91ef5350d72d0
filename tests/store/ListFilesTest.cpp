#include "store/ListControl.h"
#include "store/ListFiles.h"
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

// A name holding "..." is a name like any other.
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
