#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

TEST(DataFolder, commandLineWinsThenPortableInstallThenXdgFolder)
{
    TempFolder t;
    const QString exe = t.file(u"bin"_s);
    QDir().mkpath(exe);

    EXPECT_EQ(resolveDataFolder(t.file(u"mine/deep"_s), exe, t.file(u"xdg"_s), t.path()).path,
              t.file(u"mine/deep"_s));
    EXPECT_TRUE(QFileInfo(t.file(u"mine/deep"_s)).isDir());

    EXPECT_EQ(resolveDataFolder(QString(), exe, t.file(u"xdg"_s), t.path()).path, t.file(u"xdg/corvanta"_s));
    EXPECT_TRUE(QFileInfo(t.file(u"xdg/corvanta"_s)).isDir());
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(resolveDataFolder(QString(), exe, u"rel"_s, t.path()).path, t.file(u".local/share/corvanta"_s));

    t.write(u"bin/Project.List"_s, "");
    EXPECT_EQ(resolveDataFolder(QString(), exe, t.file(u"xdg"_s), t.path()).path, exe);
}

TEST(DataFolder, aFileInTheWay_isReported)
{
    TempFolder t;
    t.write(u"taken"_s, "x");
    const DataFolderChoice choice = resolveDataFolder(t.file(u"taken"_s), QString(), QString(), t.path());
    EXPECT_TRUE(choice.path.isEmpty());
    EXPECT_FALSE(choice.error.isEmpty());
}

TEST(SingleInstance, secondCopyIsRefusedWithoutTouchingAnyFile)
{
    TempFolder t;
    SingleInstance first(t.path());
    ASSERT_TRUE(first.acquire());
    t.write(u"Project.List"_s, "Alpha\r\n");
    const QFileInfo before(t.file(u"Project.List"_s));

    SingleInstance second(t.path());
    EXPECT_FALSE(second.acquire());
    EXPECT_EQ(QFileInfo(t.file(u"Project.List"_s)).lastModified(), before.lastModified());
    EXPECT_EQ(t.read(u"Project.List"_s), QByteArray("Alpha\r\n"));
    EXPECT_EQ(SingleInstance::refusalText(u"/d"_s), u"Corvanta Is Already Running With This Data Folder:\r/d\r"_s);
    EXPECT_EQ(SingleInstance::refusalTitle(), u" Corvanta Is Already Running"_s);
}

TEST(SingleInstance, folderIsFreeAgainOnceTheFirstCopyEnds)
{
    TempFolder t;
    {
        SingleInstance first(t.path());
        ASSERT_TRUE(first.acquire());
    }
    SingleInstance next(t.path());
    EXPECT_TRUE(next.acquire());
}

} // namespace
} // namespace corvanta::test
