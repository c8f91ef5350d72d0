#include "search/TargetMarks.h"

#include "platform/DesktopEntries.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <future>
#include <thread>
#include <sys/stat.h>

namespace corvanta::test {
namespace {

using namespace Qt::StringLiterals;

// Lets queued marks arrive until done() or ms passed.
bool waitFor(const std::function<bool()> &done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(TargetMarksTest, kindsByNameAndByDisk)
{
    TempFolder data;
    data.write(u"tool"_s, "#!/bin/sh\n");
    data.write(u"notes.txt"_s, "x");
    for (const char *name : {"tool", "notes.txt"})
        ::chmod(QFile::encodeName(data.file(QString::fromLatin1(name))).constData(), 0755);
    QDir().mkpath(data.file(u"Album"_s));
    const TargetLooker look(TargetChecker(data.path(), {u"/"_s}, {}));
    const struct
    {
        QString target;
        PointerKind byName;
        PointerKind byDisk; // the same as by name for a target that is not there
    } cases[] = {
        {u"/no/such/report.pdf"_s, PointerKind::Document, PointerKind::Document},
        {u"/no/such/Letters/"_s, PointerKind::Folder, PointerKind::Folder},
        {u"/no/such/install.sh"_s, PointerKind::Program, PointerKind::Program},
        {u"/no/such/Editor.AppImage"_s, PointerKind::Program, PointerKind::Program},
        {u"https://example.com/a.pdf"_s, PointerKind::Website, PointerKind::Website},
        {u"mailto:someone@example.com"_s, PointerKind::EMail, PointerKind::EMail},
        {u"Album"_s, PointerKind::Document, PointerKind::Folder}, // from the data folder
        {u"tool"_s, PointerKind::Document, PointerKind::Program},
        {u"notes.txt"_s, PointerKind::Document, PointerKind::Document}, // executable, still text
    };
    for (const auto &c : cases) {
        EXPECT_EQ(kindByName(c.target).kind, c.byName) << c.target.toStdString();
        if (isFileTarget(c.target)) {
            EXPECT_EQ(look(c.target).kind.value_or(kindByName(c.target)).kind, c.byDisk) << c.target.toStdString();
        }
    }
}

TEST(TargetMarksTest, marksPresentMissingAndNotReachableWithoutOpeningAFifo)
{
    TempFolder data;
    data.write(u"there.txt"_s, "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(data.file(u"pipe"_s)).constData(), 0644), 0);
    const QString media = data.file(u"media"_s);
    QDir().mkpath(media + u"/stick"_s); // a drive not mounted
    const struct
    {
        QString row;
        std::optional<TargetState> state; // none: no file, no mark
    } cases[] = {
        {u"Here\t"_s + data.file(u"there.txt"_s), TargetState::Exists},
        {u"Relative \t there.txt "_s, TargetState::Exists},
        {u"Pipe\tpipe"_s, TargetState::Exists},
        {u"Gone\t"_s + data.file(u"gone.txt"_s), TargetState::Missing},
        {u"Stick\t"_s + media + u"/stick/f.txt"_s, TargetState::NotReachable},
        {u"Site\thttp://example.com/"_s, std::nullopt},
        {u"No target"_s, std::nullopt},
    };
    QStringList rows;
    for (const auto &c : cases)
        rows << c.row;
    TargetMarks marks;
    ASSERT_TRUE(marks.check(rows, false, TargetLooker(TargetChecker(data.path(), {u"/"_s}, {media}))));
    ASSERT_TRUE(waitFor([&] { return !marks.checking(); }));
    for (const auto &c : cases) {
        const TargetMark *mark = marks.mark(rowTarget(c.row));
        ASSERT_EQ(mark != nullptr, c.state.has_value()) << c.row.toStdString();
        if (mark) {
            EXPECT_EQ(mark->state, *c.state) << c.row.toStdString();
        }
    }
}

TEST(TargetMarksTest, aHangingTargetHoldsUpNeitherTheCallerNorTheNextList)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto reached = std::make_shared<std::promise<void>>();
    std::future<void> hangReached = reached->get_future();
    const auto look = [released, reached](const QString &target) {
        if (target == u"/gone/one"_s) // slow enough for its mark to be handed over on its own
            std::this_thread::sleep_for(std::chrono::milliseconds(60)); // over the 40 ms hand-over
        if (target == u"/hangs/file"_s) {
            reached->set_value();
            released.wait(); // a stopped mount
        }
        return TargetMark {target.startsWith(u"/gone"_s) ? TargetState::Missing : TargetState::Exists, {}};
    };
    TargetMarks marks;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(marks.check({u"B\t/gone/one"_s, u"A\t/hangs/file"_s}, false, look));
    EXPECT_LT(clock.elapsed(), 1000);
    // The mark of /gone/one is on its way to this thread when another list is shown.
    ASSERT_EQ(hangReached.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    ASSERT_TRUE(marks.check({u"C\t/gone/two"_s}, false, look));
    // Its marks come while the first look still hangs; the first list's are dropped.
    ASSERT_TRUE(waitFor([&] { return !marks.checking(); }));
    ASSERT_NE(marks.mark(u"/gone/two"_s), nullptr);
    EXPECT_EQ(marks.mark(u"/gone/two"_s)->state, TargetState::Missing);
    EXPECT_EQ(marks.mark(u"/gone/one"_s), nullptr);
    release.set_value();
    waitFor([] { return false; }, 300); // for anything late to arrive
    EXPECT_EQ(marks.mark(u"/hangs/file"_s), nullptr);
    EXPECT_EQ(marks.mark(u"/gone/one"_s), nullptr);
}

} // namespace
} // namespace corvanta::test
