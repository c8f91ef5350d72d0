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
// several of them, a change another program makes in place must still be noticed. A file missing
// when watched is noticed once it appears and then changes.
TEST(QtFileWatcherTest, survivesAtomicSavesAndWatchesFilesNotYetThere)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(u"Project.Files"_s), other = dir.filePath(u"Other.Files"_s);
    const QString later = dir.filePath(u"Later.Files"_s);
    writeInPlace(list, "A\ta\r\n");
    writeInPlace(other, "");
    QtFileWatcher watcher;
    QStringList notices;
    watcher.setHandler([&](const QString &path) { notices << path; });
    watcher.watchFiles({list, later});
    const auto noticed = [&](const QString &path) {
        const bool seen = waitFor([&] { return notices.contains(path); });
        settle();
        notices.clear();
        return seen;
    };
    for (int save = 0; save < 3; ++save) {
        saveAtomically(list, QByteArray("Saved ") + QByteArray::number(save) + "\r\n");
        ASSERT_TRUE(noticed(list)) << "save " << save;
    }
    writeInPlace(list, "Theirs\tx\r\n");
    EXPECT_TRUE(noticed(list));
    writeInPlace(later, "New\tn\r\n");
    EXPECT_TRUE(noticed(later));
    writeInPlace(later, "Changed\tc\r\n");
    EXPECT_TRUE(noticed(later));
    // A file of the same folder that is not watched brings no notice.
    writeInPlace(other, "x");
    settle();
    EXPECT_FALSE(notices.contains(other));
}

} // namespace
