// The walk with several threads against the walk on one: the same reports in the same order.

#include "ChildProcess.h"

#include "search/SearchEngine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
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

std::vector<std::string> filesOf(std::vector<std::string> events)
{
    std::erase_if(events, [](const std::string &e) { return e == "+" || e == "T"; });
    return events;
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

int threadCount()
{
    return int(std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}));
}

// A joined thread can linger in the kernel's list for a moment after the join returns.
int threadCountSettled(int expected)
{
    for (int i = 0; i < 200 && threadCount() != expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return threadCount();
}

class SearchWalkOrderTest : public ::testing::Test
{
protected:
    TempFolder tree;
    TempFolder outside; // bind-mounted inside the tree where this process may mount
    const QStringList locked = {u"locked"_s, u"locked2/inner"_s};

    std::string root() const { return QFile::encodeName(tree.path()).toStdString(); }
    void file(const QString &relative) { tree.write(relative, "x"); }
    void folder(const QString &relative) { QDir().mkpath(tree.file(relative)); }

    // Shapes that stress the ordering: deep, wide, a large flat folder, empty and unreadable
    // folders, link loops, a mount point, names that differ only in case, and a random tree.
    void buildShapes()
    {
        for (int i = 0; i < 150; i += 7)
            file(u"deep"_s + u"/d"_s.repeated(i + 1) + u"/level%1.txt"_s.arg(i));
        for (int i = 0; i < 300; ++i) {
            const QString name = u"wide/%1%2%3"_s.arg(i % 3 == 0 ? u"Sub"_s : u"sub"_s)
                                     .arg(i % 100)
                                     .arg(i % 2 ? u"_x"_s : u"_X"_s);
            i % 4 == 0 ? file(name + u"/w.txt"_s) : folder(name);
        }
        // More names than are sorted in one piece, so the pieces are merged.
        for (int i = 0; i < 9000; ++i)
            file(u"flat/f%1.txt"_s.arg((i * 7919) % 9000));
        for (const QString &f : {u"empty/a/b/c"_s, u"empty2"_s, u"loops"_s})
            folder(f);
        for (const QString &f :
            {u"locked/l.txt"_s, u"locked2/inner/i.txt"_s, u"Mount/hidden-below.txt"_s,
                u"a b/space name.TXT"_s, u"A.txt"_s, u"a.txt"_s, u"b.txt"_s})
            file(f);
        const std::pair<QString, QString> links[] = {{tree.path(), u"root"_s}, {u".."_s, u"up"_s},
            {tree.file(u"deep/d/level0.txt"_s), u"linked.txt"_s},
            {u"nowhere"_s, u"dangling.txt"_s}};
        for (const auto &[target, name] : links)
            ASSERT_EQ(symlink(QFile::encodeName(target).constData(),
                          QFile::encodeName(tree.file(u"loops/"_s + name)).constData()),
                0);
        outside.write(u"inside-mount.txt"_s, "x");

        std::mt19937 random(1234);
        std::vector<QString> folders {u"random"_s};
        for (int i = 0; i < 600; ++i) {
            folders.push_back(folders[random() % folders.size()] + u"/r%1"_s.arg(random() % 50));
            folder(folders.back());
            for (unsigned k = random() % 4; k > 0; --k)
                file(folders.back()
                    + u"/n%1.%2"_s.arg(random() % 20).arg(random() % 2 ? u"txt"_s : u"log"_s));
        }
        for (const QString &f : locked)
            chmod(QFile::encodeName(tree.file(f)).constData(), 0);
    }

    // Runs check in a child process that, where it may, mounts outside on the tree's Mount
    // folder and drops root's rights (so locked folders are locked); check's text comes back.
    std::string inChild(const std::function<std::string()> &check, std::string *setting)
    {
        // The data folder and the folders above it in its temporary tree, so the child reaches it.
        for (const TempFolder *t : {&tree, &outside}) {
            for (QString f = t->path(); f.size() >= t->dir.path().size(); f = QFileInfo(f).path())
                QFile::setPermissions(
                    f, QFile::permissions(f) | QFile::ReadOther | QFile::ExeOther);
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

TEST_F(SearchWalkOrderTest, severalThreads_reportExactlyWhatOneThreadReports)
{
    buildShapes();
    const std::string base = root();
    std::string setting;
    const std::string result = inChild(
        [&]() -> std::string {
            using enum SearchEngine::Mode;
            const auto expected = walkEvents(base, u"*.txt"_s, Multiple, 1);
            const auto files = filesOf(expected);
            const auto first = filesOf(walkEvents(base, u"n1?.txt"_s, Multiple, 1));
            // The shapes are all there, and what must stay out stays out.
            const auto count = [&](const std::string &part) {
                return std::ranges::count_if(
                    files, [&](const std::string &f) { return f.find(part) != std::string::npos; });
            };
            if (count("/flat/") != 9000 || !count("/level147.txt") || !count("/space name.TXT")
                || !count("/w.txt") || count("linked.txt") || count("dangling.txt")
                || count("inside-mount.txt") || first.empty())
                return "the one-thread walk missed its shapes";
            for (int round = 0; round < 20; ++round) {
                for (const int threads : {1, 2, 8}) {
                    const auto actual = walkEvents(base, u"*.txt"_s, Multiple, threads);
                    const auto [e, a] = std::ranges::mismatch(expected, actual);
                    if (e != expected.end() || a != actual.end())
                        return std::to_string(threads) + " threads, round " + std::to_string(round)
                            + ": reports part at " + std::to_string(e - expected.begin());
                    // The first match in the walk's order, however far the helpers ran ahead.
                    const auto single = filesOf(walkEvents(base, u"n1?.txt"_s, Single, threads));
                    if (single != std::vector<std::string> {first.front()})
                        return std::to_string(threads) + " threads: single mode found "
                            + (single.empty() ? "nothing" : single.front());
                }
            }
            return count("/l.txt") ? "locked-readable" : "OK";
        },
        &setting);
    for (const QString &f : locked)
        chmod(QFile::encodeName(tree.file(f)).constData(), 0755);
    // "locked-readable": this user reads folders without permission, yet the order agreed.
    EXPECT_TRUE(result == "OK" || result == "locked-readable") << result << " as " << setting;
}

TEST_F(SearchWalkOrderTest, cancel_midWalk_leavesNoThreadRunning)
{
    for (int i = 0; i < 200; ++i)
        file(u"f%1/g/a.txt"_s.arg(i, 3, 10, QChar(u'0')));
    const auto all = filesOf(walkEvents(root(), u"*.txt"_s, SearchEngine::Mode::Multiple, 1));
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
}

} // namespace
} // namespace corvanta::test
