// The walk with several threads against the walk on one: the same reports in the same order.

#include "ChildProcess.h"

#include "search/SearchEngine.h"
#include "search/SearchWorker.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

// Every report of a walk in order: "+" a folder entered, "T" a top folder done, else a file.
struct EventLog : SearchSink
{
    std::vector<std::string> events;
    std::function<void()> onFile;

    void folderEntered() override { events.emplace_back("+"); }
    void topFolderDone() override { events.emplace_back("T"); }
    void fileFound(std::string_view path) override
    {
        events.emplace_back(path);
        if (onFile)
            onFile();
    }
};

std::vector<std::string> filesOf(const std::vector<std::string> &events)
{
    std::vector<std::string> out;
    for (const std::string &e : events) {
        if (e != "+" && e != "T")
            out.push_back(e);
    }
    return out;
}

std::vector<std::string> walkEvents(
    const std::string &root, const QString &pattern, SearchEngine::Mode mode, int threads)
{
    EventLog log;
    SearchEngine engine(root, SearchPattern(pattern), mode);
    engine.setThreads(threads);
    engine.walk(log);
    return log.events;
}

// The threads of this process, as the kernel lists them.
int threadCount()
{
    int count = 0;
    if (DIR *dir = opendir("/proc/self/task")) {
        while (const dirent *e = readdir(dir)) {
            if (e->d_name[0] != '.')
                ++count;
        }
        closedir(dir);
    }
    return count;
}

// The threads once those that have ended are gone: a joined thread can linger in the kernel's
// list for a moment after the join returns.
int threadCountSettled(int expected)
{
    int count = threadCount();
    for (int i = 0; i < 200 && count != expected; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        count = threadCount();
    }
    return count;
}

class SearchWalkOrderTest : public ::testing::Test
{
protected:
    TempFolder tree;
    TempFolder outside; // bind-mounted inside the tree where this process may mount

    std::string root() const { return QFile::encodeName(tree.path()).toStdString(); }
    void file(const QString &relative) { tree.write(relative, "x"); }
    void folder(const QString &relative) { QDir().mkpath(tree.file(relative)); }
    void link(const QString &target, const QString &relative)
    {
        ASSERT_EQ(symlink(QFile::encodeName(target).constData(),
                      QFile::encodeName(tree.file(relative)).constData()),
            0);
    }

    // Shapes that stress the ordering: deep, wide, a large flat folder, empty and unreadable
    // folders, link loops, a mount point, names that differ only in case, and a random tree.
    void buildShapes()
    {
        QString deep = u"deep"_s;
        for (int i = 0; i < 150; ++i) {
            deep += u"/d"_s;
            if (i % 7 == 0)
                file(deep + u"/level%1.txt"_s.arg(i));
        }
        for (int i = 0; i < 300; ++i) {
            const QString name = u"wide/%1%2"_s.arg(i % 3 == 0 ? u"Sub"_s : u"sub"_s).arg(i % 100);
            folder(name + (i % 2 ? u"_x"_s : u"_X"_s));
            if (i % 4 == 0)
                file(name + (i % 2 ? u"_x"_s : u"_X"_s) + u"/w.txt"_s);
        }
        // More names than are sorted in one piece, so the pieces are merged.
        for (int i = 0; i < 9000; ++i)
            file(u"flat/f%1.txt"_s.arg((i * 7919) % 9000));
        folder(u"empty/a/b/c"_s);
        folder(u"empty2"_s);
        file(u"locked/l.txt"_s);
        file(u"locked2/inner/i.txt"_s);
        folder(u"loops"_s);
        link(tree.path(), u"loops/root"_s);
        link(u".."_s, u"loops/up"_s);
        link(tree.file(u"deep/d/level0.txt"_s), u"loops/linked.txt"_s);
        link(u"nowhere"_s, u"loops/dangling.txt"_s);
        file(u"Mount/hidden-below.txt"_s);
        outside.write(u"inside-mount.txt"_s, "x");
        file(u"a b/space name.TXT"_s);
        file(u"A.txt"_s);
        file(u"a.txt"_s);
        file(u"b.txt"_s);

        std::mt19937 random(1234);
        std::vector<QString> folders {u"random"_s};
        for (int i = 0; i < 600; ++i) {
            const QString parent = folders[random() % folders.size()];
            const QString child = parent + u"/r%1"_s.arg(random() % 50);
            folders.push_back(child);
            folder(child);
            for (unsigned k = random() % 4; k > 0; --k)
                file(child
                    + u"/n%1.%2"_s.arg(random() % 20).arg(random() % 2 ? u"txt"_s : u"log"_s));
        }
        for (const QString &f : {u"locked"_s, u"locked2/inner"_s})
            chmod(QFile::encodeName(tree.file(f)).constData(), 0);
    }

    void TearDown() override
    {
        for (const QString &f : {u"locked"_s, u"locked2/inner"_s})
            chmod(QFile::encodeName(tree.file(f)).constData(), 0755);
    }

    // Runs check in a child process that, where it may, mounts outside on the tree's Mount
    // folder and drops root's rights (so locked folders are locked); check's text comes back.
    std::string inChild(const std::function<std::string()> &check, std::string *setting)
    {
        // The data folder and the folders above it in its temporary tree, so the child reaches it.
        for (const TempFolder *t : {&tree, &outside}) {
            for (QString f = t->path(); f.size() >= t->dir.path().size(); f = QFileInfo(f).path())
                QFile::setPermissions(f, QFile::permissions(f) | QFile::ReadOther | QFile::ExeOther);
        }
        const std::string text = outputOfChild([&] {
            std::string out;
            const QByteArray source = QFile::encodeName(outside.path());
            const QByteArray target = QFile::encodeName(tree.file(u"Mount"_s));
            if (unshare(CLONE_NEWNS) == 0
                && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                && mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr) == 0)
                out += "mounted ";
            if (geteuid() == 0 && setgroups(0, nullptr) == 0 && setgid(65534) == 0
                && setuid(65534) == 0)
                out += "unprivileged ";
            return out + "\n" + check();
        });
        const size_t newline = text.find('\n');
        *setting = text.substr(0, newline);
        return newline == std::string::npos ? "the child died" : text.substr(newline + 1);
    }
};

// Where two report lists first part, for a readable failure.
std::string firstDifference(
    const std::vector<std::string> &expected, const std::vector<std::string> &actual)
{
    std::ostringstream out;
    size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    out << "reports part at " << i << " of " << expected.size() << "/" << actual.size() << ": "
        << (i < expected.size() ? expected[i] : "(end)") << " vs "
        << (i < actual.size() ? actual[i] : "(end)");
    return out.str();
}

TEST_F(SearchWalkOrderTest, severalThreads_reportExactlyWhatOneThreadReports)
{
    buildShapes();
    const std::string base = root();
    std::string setting;
    const std::string result = inChild(
        [&]() -> std::string {
            using Mode = SearchEngine::Mode;
            const std::vector<std::string> expected =
                walkEvents(base, u"*.txt"_s, Mode::Multiple, 1);
            const std::vector<std::string> files = filesOf(expected);
            const auto first = filesOf(walkEvents(base, u"n1?.txt"_s, Mode::Multiple, 1));
            // The shapes are all there, and what must stay out stays out.
            const auto has = [&](const std::string &tail) {
                return std::any_of(files.begin(), files.end(),
                    [&](const std::string &f) { return f.ends_with(tail); });
            };
            const auto inFlat = std::count_if(files.begin(), files.end(),
                [](const std::string &f) { return f.find("/flat/") != std::string::npos; });
            if (inFlat != 9000 || !has("/level147.txt") || !has("/space name.TXT")
                || has("linked.txt") || has("dangling.txt") || has("inside-mount.txt"))
                return "the one-thread walk missed its shapes";
            for (int round = 0; round < 20; ++round) {
                for (const int threads : {1, 2, 8}) {
                    const auto actual = walkEvents(base, u"*.txt"_s, Mode::Multiple, threads);
                    if (actual != expected)
                        return std::to_string(threads) + " threads, round " + std::to_string(round)
                            + ": " + firstDifference(expected, actual);
                    // The first match in the walk's order, however far the helpers ran ahead.
                    const auto single =
                        filesOf(walkEvents(base, u"n1?.txt"_s, Mode::Single, threads));
                    if (first.empty() || single != std::vector<std::string> {first.front()})
                        return std::to_string(threads) + " threads: single mode found "
                            + (single.empty() ? "nothing" : single.front());
                }
            }
            const bool locked = std::any_of(files.begin(), files.end(),
                [](const std::string &f) { return f.ends_with("/l.txt"); });
            return locked ? "locked-readable" : "OK";
        },
        &setting);
    std::printf("walked as: %s\n", setting.c_str());
    if (result == "locked-readable")
        SUCCEED() << "this user reads folders without permission; the order still agreed";
    else
        EXPECT_EQ(result, "OK");
}

TEST_F(SearchWalkOrderTest, cancel_midWalk_leavesNoThreadRunning)
{
    for (int i = 0; i < 200; ++i)
        file(u"f%1/g/a.txt"_s.arg(i, 3, 10, QChar(u'0')));
    const std::vector<std::string> all =
        filesOf(walkEvents(root(), u"*.txt"_s, SearchEngine::Mode::Multiple, 1));
    ASSERT_EQ(all.size(), 200u);
    const int before = threadCount();

    // From the sink, as the window's thread would after Escape.
    EventLog log;
    SearchEngine engine(root(), SearchPattern(u"*.txt"_s), SearchEngine::Mode::Multiple);
    engine.setThreads(8);
    int during = 0;
    log.onFile = [&] {
        if (filesOf(log.events).size() == 5) {
            during = threadCount();
            engine.cancel();
        }
    };
    engine.walk(log);
    EXPECT_EQ(filesOf(log.events), std::vector<std::string>(all.begin(), all.begin() + 5));
    EXPECT_GT(during, before);
    EXPECT_EQ(threadCountSettled(before), before);

    // From another thread, through the worker the window uses.
    auto walker = std::make_unique<SearchEngine>(
        root(), SearchPattern(u"*.txt"_s), SearchEngine::Mode::Multiple);
    walker->setThreads(8);
    std::atomic<int> lastBatches {0};
    {
        SearchWorker worker(std::move(walker),
            [&](SearchBatch &&, bool last) { lastBatches += last ? 1 : 0; });
        worker.start();
        worker.cancel();
    }
    EXPECT_EQ(lastBatches, 1);
    EXPECT_EQ(threadCountSettled(before), before);
}

} // namespace
} // namespace corvanta::test
