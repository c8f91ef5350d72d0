#include "store/FileFingerprint.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace corvanta;
using corvanta::test::bytesOf;
using corvanta::test::writeBytes;
using namespace Qt::StringLiterals;

namespace {

struct Listener : FileChangeListener {
    QStringList changed;
    void listFileChangedOnDisk(const QString &path) override { changed << path; }
};

// Between the program's read and its save, another program does something to the file (or
// nothing): the save goes ahead only when the file is still what was read, and a refused save
// leaves the other program's bytes exactly as they were.
TEST(FileGuardTest, saveAfterAChangeOnDisk_isRefusedAndKeepsTheOtherProgramsBytes)
{
    const struct {
        const char *what;
        std::function<void(const QString &)> meanwhile;
        bool saved;
    } cases[] = {
        {"nothing", [](const QString &) {}, true},
        {"same length, same moment", [](const QString &p) { writeBytes(p, "Alpha\r\nGamma\r\n"); }, false},
        {"a line added", [](const QString &p) { writeBytes(p, "Alpha\r\nBeta\r\nNew\r\n"); }, false},
        {"emptied", [](const QString &p) { writeBytes(p, ""); }, false},
        {"deleted", [](const QString &p) { QFile::remove(p); }, false},
        {"rewritten with the same bytes",
         [](const QString &p) { writeBytes(p, "Alpha\r\nBeta\r\n"); }, true},
        // Find Pointer reading every list meanwhile does not make the change seen.
        {"a line added, then looked at",
         [](const QString &p) {
             writeBytes(p, "Alpha\r\nBeta\r\nNew\r\n");
             readListContent(p);
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Project.List"_s);
        writeBytes(path, "Alpha\r\nBeta\r\n");
        ListControl list;
        readNameList(path, list);
        c.meanwhile(path);
        const QByteArray before = bytesOf(path);

        list.addRow(u"Delta"_s);
        const SaveResult result = writeNameList(path, list);
        EXPECT_EQ(result.ok, c.saved);
        EXPECT_EQ(result.changedOnDisk, !c.saved);
        EXPECT_EQ(bytesOf(path), c.saved ? QByteArray("Alpha\r\nBeta\r\nDelta\r\n") : before);
    }
}

TEST(FileGuardTest, ownSavesAndRewrites_keepTheFileSaveable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Topic.List"_s);
    writeBytes(path, "One\r\n");
    QStringList lines;
    ASSERT_TRUE(readLinesForRewrite(path, lines));
    for (const char *name : {"Two", "Three", "Four"})
        ASSERT_TRUE(appendName(path, QString::fromLatin1(name)).ok) << name;
    EXPECT_TRUE(saveLines(path, {u"Five"_s}).ok);
    EXPECT_EQ(bytesOf(path), "Five\r\n");

    // A file the program read as missing and another program then made is a change too.
    const QString later = dir.filePath(u"Later.Files"_s);
    EXPECT_TRUE(readLines(later).isEmpty());
    writeBytes(later, "Theirs\tx\r\n");
    EXPECT_TRUE(saveLines(later, {u"Mine\ty"_s}).changedOnDisk);
    EXPECT_EQ(bytesOf(later), "Theirs\tx\r\n");
}

TEST(FileGuardTest, refusedSave_showsItsOwnBoxAndTellsTheListener)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Project.Files"_s);
    writeBytes(path, "A\ta\r\n");
    readLines(path);
    writeBytes(path, "B\tb\r\n");
    Listener listener;
    fileGuard::setListener(&listener);
    test::FakeUi ui;
    EXPECT_FALSE(reportSaveFailure(ui, path, saveLines(path, {u"C\tc"_s})));
    fileGuard::setListener(nullptr);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, u" List Changed On Disk"_s);
    EXPECT_TRUE(ui.boxes[0].text.contains(path));
    EXPECT_EQ(listener.changed, QStringList{path});

    // An ordinary failure keeps its own box and tells nobody.
    fileGuard::setListener(&listener);
    reportSaveFailure(ui, path, SaveResult{false, u"No space left on device"_s});
    fileGuard::setListener(nullptr);
    EXPECT_EQ(ui.boxes.back().title, u" File Not Saved"_s);
    EXPECT_EQ(listener.changed.size(), 1);
}

} // namespace
