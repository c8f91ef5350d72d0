#include "platform/QtFileWatcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

// Lets the system's notices arrive until seen says yes or two seconds pass.
bool waitFor(const std::function<bool()> &seen)
{
    const QDeadlineTimer deadline(2000);
    while (!seen() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return seen();
}

void settle()
{
    const QDeadlineTimer deadline(150);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void saveAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.commit());
}

void writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Saves rename a new file over the watched one, which ends the system's watch on it: after
// several of them, a change another program makes in place must still be noticed.
TEST(QtFileWatcherTest, survivesAtomicSaves)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(u"Project.Files"_s);
    const QString other = dir.filePath(u"Other.Files"_s);
    writeInPlace(list, "A\ta\r\n");
    writeInPlace(other, "");
    QtFileWatcher watcher;
    QStringList notices;
    watcher.setHandler([&](const QString &path) { notices << path; });
    watcher.watchFiles({list});
    EXPECT_EQ(watcher.watchedFiles(), QStringList{list});

    for (int save = 0; save < 3; ++save) {
        saveAtomically(list, QByteArray("Saved ") + QByteArray::number(save) + "\r\n");
        ASSERT_TRUE(waitFor([&] { return notices.contains(list); })) << "save " << save;
        settle();
        notices.clear();
    }
    writeInPlace(list, "Theirs\tx\r\n");
    EXPECT_TRUE(waitFor([&] { return notices.contains(list); }));

    // A file of the same folder that is not watched brings no notice.
    notices.clear();
    writeInPlace(other, "x");
    settle();
    EXPECT_FALSE(notices.contains(other));
}

TEST(QtFileWatcherTest, missingFile_isNoticedWhenItAppears)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(u"Later.Files"_s);
    QtFileWatcher watcher;
    QStringList notices;
    watcher.setHandler([&](const QString &path) { notices << path; });
    watcher.watchFiles({list});
    writeInPlace(list, "New\tn\r\n");
    ASSERT_TRUE(waitFor([&] { return notices.contains(list); }));
    settle();
    notices.clear();
    writeInPlace(list, "Changed\tc\r\n");
    EXPECT_TRUE(waitFor([&] { return notices.contains(list); }));
}

} // namespace
