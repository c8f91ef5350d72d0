#include "store/FileFingerprint.h"
#include "store/FileOps.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/OwnFiles.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace corvanta;
using corvanta::test::bytesOf;
using corvanta::test::writeBytes;
using namespace Qt::StringLiterals;

namespace {

// Writes bytes over path and puts its modification time back to the nanosecond: a change that
// keeps both size and time, which only the bytes can tell.
void writeKeepingTime(const QString &path, const QByteArray &bytes)
{
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    writeBytes(path, bytes);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Another program acts between the program's read and its save (or does nothing).
TEST(FileGuardTest, saveAfterAChangeOnDisk_isRefusedAndKeepsTheOtherProgramsBytes)
{
    Store store;
    const struct {
        const char *what;
        std::function<void(const QString &)> meanwhile;
        bool saved;
    } cases[] = {
        {"nothing", [](const QString &) {}, true},
        {"same length, same moment", [](const QString &p) { writeBytes(p, "Alpha\r\nGamma\r\n"); }, false},
        {"same size, same time", [](const QString &p) { writeKeepingTime(p, "Alpha\r\nBeto\r\n"); }, false},
        {"a line added", [](const QString &p) { writeBytes(p, "Alpha\r\nBeta\r\nNew\r\n"); }, false},
        {"deleted", [](const QString &p) { QFile::remove(p); }, false},
        {"rewritten with the same bytes",
         [](const QString &p) { writeBytes(p, "Alpha\r\nBeta\r\n"); }, true},
        // Find Pointer reading every list meanwhile does not make the change seen.
        {"a line added, then looked at",
         [&store](const QString &p) {
             writeBytes(p, "Alpha\r\nBeta\r\nNew\r\n");
             readListContent(store, p);
         },
         false},
    };
    for (const bool exchange : {true, false})
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SCOPED_TRACE(exchange ? "exchange" : "without the exchange");
        store.useRenameExchange(exchange);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Project.List"_s);
        writeBytes(path, "Alpha\r\nBeta\r\n");
        ListControl list;
        readNameList(store, path, list);
        c.meanwhile(path);
        const QByteArray before = bytesOf(path);

        list.addRow(u"Delta"_s);
        const SaveResult result = writeNameList(store, path, list);
        EXPECT_EQ(result.ok, c.saved);
        EXPECT_EQ(result.changedOnDisk, !c.saved);
        EXPECT_EQ(bytesOf(path), c.saved ? QByteArray("Alpha\r\nBeta\r\nDelta\r\n") : before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), c.what == std::string("deleted") ? 0 : 1);
    }
    store.useRenameExchange(true);

    // A list read as missing that another program then made is a change too.
    QTemporaryDir dir;
    const QString later = dir.filePath(u"Later.Files"_s);
    EXPECT_TRUE(readLines(store, later).isEmpty());
    writeBytes(later, "Theirs\tx\r\n");
    EXPECT_TRUE(saveLines(store, later, {u"Mine\ty"_s}).changedOnDisk);
    EXPECT_EQ(bytesOf(later), "Theirs\tx\r\n");
}

// Another program rewrites the list (read, add a line, write a new file, rename it over) every
// millisecond or two while the program reads and saves it: a save either replaces exactly what it
// read or is refused. A writer that reads the list in the moment the program's refused version
// sits there (between the exchange and its taking back) builds on that version; its file is then
// left beside the list, so every line it wrote is still on the disk. (Without the atomic exchange
// a moment of a few microseconds stays open, so the fallback is not raced.)
TEST(FileGuardTest, writerRacingTheSaves_neverLosesALine)
{
    Store store;
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Topic.Files"_s);
        writeBytes(path, "Start\ts\r\n");
        constexpr int outsideLines = 200;
        std::atomic<bool> writing = true;
        std::thread writer([&] {
            for (int i = 0; i < outsideLines; ++i) {
                const QByteArray bytes = bytesOf(path) + "Outside " + QByteArray::number(i) + "\tx\r\n";
                const QString temp = path + u".sync"_s;
                writeBytes(temp, bytes);
                ASSERT_EQ(::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()), 0);
                std::this_thread::sleep_for(std::chrono::microseconds(500 + i % 4 * 500));
            }
            writing = false;
        });
        int saved = 0;
        int refused = 0;
        for (int mine = 0; writing && mine < 100000; ++mine) {
            QStringList lines = readLines(store, path);
            lines << u"Mine %1\ty"_s.arg(mine);
            const SaveResult result = saveLines(store, path, lines);
            ++(result ? saved : refused);
            EXPECT_TRUE(result || result.changedOnDisk) << result.reason.toStdString();
        }
        writer.join();
        QByteArray onDisk;
        const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : names)
            onDisk += bytesOf(dir.filePath(name));
        for (int i = 0; i < outsideLines; ++i)
            ASSERT_TRUE(onDisk.contains("Outside " + QByteArray::number(i) + "\t")) << "line " << i << " lost";
        EXPECT_GT(saved, 0);
        EXPECT_LE(names.size() - 1, refused) << names.join(u' ').toStdString();
    }
}

} // namespace
