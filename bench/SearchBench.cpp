// The drive walk against find, fd and bfs (each where installed), and the search window's whole
// search against the walk alone, on a generated tree of 200,000 files in about 21,000 folders
// and on /usr. Each round times every contender once, in turn, so a change of load on the
// machine falls on all of them; medians. The walk is timed in this process and as a process of
// its own (bench_search_walk), as the other tools are.
//
//   bench_search [--rounds N] [--cold] [--escape] [FOLDER...]
//
//   --cold     also with cold caches: every run of each side after sync and drop_caches (root)
//   --escape   how long a cancel takes to end every thread, in a folder of 1,000,000 files, and
//              what the walk holds meanwhile
//   --walk THREADS FOLDER   one engine walk alone, timed (for strace and perf); 0 threads: the
//                           default
//   --window FOLDER [RUNS]  searches in the window alone, timed

#include "app/MainForm.h"
#include "gui/FileSearchWindow.h"
#include "gui/QtUi.h"
#include "platform/Clock.h"
#include "platform/Keys.h"
#include "search/SearchEngine.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace corvanta;

namespace {

const QString Pattern = QStringLiteral("*.txt");
const std::vector<int> ThreadCounts = {1, 2, 4};

using Steady = std::chrono::steady_clock;

double msSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty()   ? 0
        : v.size() % 2 ? v[v.size() / 2]
                       : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The window's closing pause is a deliberate half second; it is left out of the comparison.
class NoPauseClock : public Clock
{
public:
    NoPauseClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    double seconds() const override { return double(timer_.nsecsElapsed()) / 1e9; }
    void pause(int) override { }
    void singleShot(int, std::function<void()> task) override { QTimer::singleShot(0, std::move(task)); }

private:
    QElapsedTimer timer_;
};

bool touch(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// 40 folders of 25 folders of 20 folders, ten files in each of the last: a quarter of them
// match "*.txt" (some in upper case), the rest do not.
bool generateTree(const QString &root)
{
    static const char *const kinds[] = {
        "txt", "log", "dat", "TXT", "c", "h", "md", "json", "png", "o"};
    for (int a = 0; a < 40; ++a) {
        for (int b = 0; b < 25; ++b) {
            for (int c = 0; c < 20; ++c) {
                const QString folder =
                    root + QStringLiteral("/top%1/mid%2/leaf%3").arg(a).arg(b).arg(c);
                if (!QDir().mkpath(folder))
                    return false;
                const std::string base = QFile::encodeName(folder).toStdString() + "/file";
                for (int k = 0; k < 10; ++k) {
                    if (!touch(base + std::to_string(k) + "." + kinds[k]))
                        return false;
                }
            }
        }
    }
    return true;
}

struct Collector : SearchSink
{
    std::vector<std::string> files;
    std::function<void()> onFolder;
    void folderEntered() override
    {
        if (onFolder)
            onFolder();
    }
    void fileFound(std::string_view path) override { files.emplace_back(path); }
};

size_t engineWalk(const QString &root, int threads)
{
    Collector sink;
    SearchEngine engine(QFile::encodeName(root).toStdString(), SearchPattern(Pattern),
        SearchEngine::Mode::Multiple);
    engine.setThreads(threads);
    engine.walk(sink);
    return sink.files.size();
}

// A program on PATH, or "" when none of the names is installed.
QString installed(std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

// Another tool doing the same search: plain files matching the pattern in any case, hidden
// names and ignore files included, on the root's file system only.
struct Contender
{
    std::string name;
    QString program;
    QStringList arguments; // with {} for the root
};

std::vector<Contender> contenders()
{
    std::vector<Contender> out;
    out.push_back({"find", QStringLiteral("find"),
        {QStringLiteral("{}"), QStringLiteral("-xdev"), QStringLiteral("-iname"), Pattern}});
    const QString fd = installed({"fdfind", "fd"});
    if (!fd.isEmpty())
        out.push_back({"fd", fd,
            {QStringLiteral("-u"), QStringLiteral("--one-file-system"), QStringLiteral("-t"),
                QStringLiteral("f"), QStringLiteral("-i"), QStringLiteral("-g"), Pattern,
                QStringLiteral("{}")}});
    const QString bfs = installed({"bfs"});
    if (!bfs.isEmpty())
        out.push_back({"bfs", bfs,
            {QStringLiteral("{}"), QStringLiteral("-xdev"), QStringLiteral("-iname"), Pattern}});
    return out;
}

void runProgram(const QString &program, QStringList arguments, const QString &root)
{
    arguments.replaceInStrings(QStringLiteral("{}"), root);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(-1);
}

void runFind(const QString &root)
{
    runProgram(QStringLiteral("find"),
        {QStringLiteral("{}"), QStringLiteral("-xdev"), QStringLiteral("-iname"), Pattern}, root);
}

// The engine in a process of its own (bench_search_walk, beside this program), started and
// ended like the other tools.
void runEngineProcess(const QString &root)
{
    runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_search_walk"),
        {QStringLiteral("0"), QStringLiteral("{}"), QStringLiteral("--quiet")}, root);
}

int findCount(const QString &root)
{
    QProcess find;
    find.start(QStringLiteral("find"),
        {root, QStringLiteral("-xdev"), QStringLiteral("-type"), QStringLiteral("f"),
            QStringLiteral("-iname"), Pattern, QStringLiteral("-not"), QStringLiteral("-name"),
            QStringLiteral(".*")});
    find.waitForFinished(-1);
    return int(find.readAllStandardOutput().count('\n'));
}

bool dropCaches()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return bool(drop);
}

// CPU time of the calling thread: the window's share of a search, the walk being elsewhere.
double threadCpuMs()
{
    struct rusage usage
    { };
    getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The search from Enter to its end in a shown offscreen window, with the default threads.
double windowSearchMs(const QString &root, MainForm &form, int *rows, double *ownCpuMs = nullptr)
{
    FileSearch search(form.context(), {{root, root}});
    search.Form_Load();
    FileSearchWindow window(search);
    window.show();
    QCoreApplication::processEvents();
    search.txtFileSearch_Change(Pattern);
    int key = Key::Return;
    const double cpuBefore = threadCpuMs();
    const auto start = Steady::now();
    search.txtFileSearch_KeyDown(key, 0);
    // The outcome shows once the walk has posted its last batch and the closing timer has run.
    while (search.status().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = msSince(start);
    if (ownCpuMs)
        *ownCpuMs = threadCpuMs() - cpuBefore;
    *rows = search.lstFileSearch.ListCount();
    return ms;
}

// CPU time, user and system, of this process's threads and of its children ended so far.
double cpuMs(int who)
{
    struct rusage usage
    { };
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The wall and CPU time of step: on a machine whose cores are shared, the CPU time shows the
// work done whatever the wait for a core.
struct Cost
{
    double ms, cpuMs;
};
Cost costOf(const std::function<void()> &step)
{
    const double self = cpuMs(RUSAGE_SELF);
    const double children = cpuMs(RUSAGE_CHILDREN);
    const auto start = Steady::now();
    step();
    return {msSince(start), cpuMs(RUSAGE_SELF) - self + cpuMs(RUSAGE_CHILDREN) - children};
}

// One contender's times, by name, in the order first timed.
struct Timings
{
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> runs;
    std::map<std::string, std::vector<double>> cpu;
    void add(const std::string &name, double ms, double cpuMs = -1)
    {
        if (!runs.count(name))
            order.push_back(name);
        runs[name].push_back(ms);
        if (cpuMs >= 0)
            cpu[name].push_back(cpuMs);
    }
    void add(const std::string &name, Cost cost) { add(name, cost.ms, cost.cpuMs); }
    double of(const std::string &name) const { return median(runs.at(name)); }
    double cpuOf(const std::string &name) const
    {
        return cpu.count(name) ? median(cpu.at(name)) : 0;
    }
};

// Every row's median, and each of the engine's and the window's rows against every contender.
void report(const Timings &t, const std::vector<Contender> &tools, const char *target)
{
    for (const std::string &name : t.order) {
        const auto &v = t.runs.at(name);
        std::printf("  %-30s median %8.1f ms  (min %8.1f, max %8.1f)", name.c_str(), t.of(name),
            *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
        const bool tool = std::any_of(
            tools.begin(), tools.end(), [&](const Contender &c) { return c.name == name; });
        if (t.cpuOf(name) > 0)
            std::printf("  cpu %7.1f ms", t.cpuOf(name));
        if (!tool && name[0] != '(') {
            for (const Contender &c : tools) {
                std::printf("  / %s %.2f", c.name.c_str(), t.of(name) / t.of(c.name));
                if (t.cpuOf(name) > 0 && t.cpuOf(c.name) > 0)
                    std::printf(" (cpu %.2f)", t.cpuOf(name) / t.cpuOf(c.name));
            }
        }
        std::printf("\n");
    }
    std::printf("  targets (wall): %s\n", target);
}

std::string threadsName(int threads)
{
    return "engine, " + std::to_string(threads) + (threads == 1 ? " thread" : " threads");
}

void measureWarm(const QString &root, MainForm &form, int rounds)
{
    const std::vector<Contender> tools = contenders();
    for (const Contender &c : tools)
        runProgram(c.program, c.arguments, root); // warm the caches before anything is timed
    const size_t engineFiles = engineWalk(root, 1);
    Timings t;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const Contender &c : tools)
            t.add(c.name, costOf([&] { runProgram(c.program, c.arguments, root); }));
        t.add("engine, whole process", costOf([&] { runEngineProcess(root); }));
        for (const int threads : ThreadCounts)
            t.add(threadsName(threads), costOf([&] { engineWalk(root, threads); }));
        t.add("engine, default threads",
            costOf([&] { engineWalk(root, SearchEngine::defaultThreads()); }));
        double own = 0;
        t.add("window (offscreen)", windowSearchMs(root, form, &rows, &own));
        t.add("(window's own thread, CPU)", own);
    }
    std::printf("\n%s, warm caches, %d rounds\n", qPrintable(root), rounds);
    std::printf("  matches: engine %zu, window %d, find (plain files, no dot names) %d\n",
        engineFiles, rows, findCount(root));
    report(t, tools,
        "whole process <= 0.35 find, <= 0.50 fd and bfs; window (offscreen) <= 0.40 find");
    std::printf("  window / engine with default threads (%d) = %.2f (target <= 1.10)\n",
        SearchEngine::defaultThreads(),
        t.of("window (offscreen)") / t.of("engine, default threads"));
}

void measureCold(const QString &root, int rounds)
{
    Timings t;
    for (int round = 0; round < rounds; ++round) {
        if (!dropCaches()) {
            std::printf("\n%s, cold caches: drop_caches needs root; skipped\n", qPrintable(root));
            return;
        }
        auto start = Steady::now();
        runFind(root);
        t.add("find", msSince(start));
        for (const int threads : ThreadCounts) {
            dropCaches();
            start = Steady::now();
            engineWalk(root, threads);
            t.add(threadsName(threads), msSince(start));
        }
    }
    std::printf(
        "\n%s, cold caches (drop_caches before every run), %d rounds\n", qPrintable(root), rounds);
    report(t, {{"find", QString(), {}}}, "<= 0.50 find");
}

long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// How far the resident memory rises above its level at the start while walk runs, sampled
// every few milliseconds.
long peakGrowthKb(const std::function<void()> &walk)
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    const long before = residentKb();
    std::atomic<bool> done {false};
    long peak = before;
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak, residentKb());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    walk();
    done = true;
    sampler.join();
    return std::max(peak, residentKb()) - before;
}

// A walk whose pattern matches nothing holds no results: what it holds is pending work.
void measurePendingMemory(const std::string &root, const char *what)
{
    std::printf("  memory held by a walk finding nothing%s (resident growth):", what);
    for (const int threads : {1, 2, 4, 8}) {
        const long kb = peakGrowthKb([&] {
            Collector sink;
            SearchEngine engine(
                root, SearchPattern(QStringLiteral("*.none")), SearchEngine::Mode::Multiple);
            engine.setThreads(threads);
            engine.walk(sink);
        });
        std::printf("  %d thr %ld kB", threads, kb);
    }
    std::printf("\n");
}

// Cancels walks of a folder of a million files at several moments and times how long the walk
// takes to return, its threads joined; then what a walk that finds nothing adds to the peak
// memory, which is what it holds besides results.
void measureEscape(const QString &scratch)
{
    const QString folder = scratch + QStringLiteral("/million");
    QDir().mkpath(folder);
    std::printf("\ngenerating 1,000,000 files in %s ...\n", qPrintable(folder));
    std::fflush(stdout);
    const std::string base = QFile::encodeName(folder).toStdString() + "/entry";
    for (int i = 0; i < 1000000; ++i) {
        if (!touch(base + std::to_string(i) + (i % 2 ? ".txt" : ".dat"))) {
            std::printf("could not generate the folder\n");
            return;
        }
    }
    const std::string root = QFile::encodeName(scratch).toStdString();
    engineWalk(scratch, 1); // warm

    std::printf("cancel in a folder of 1,000,000 entries (half match): time from cancel() to the "
                "walk's return, every thread ended (target <= 100 ms)\n");
    for (const int threads : {1, 2, 4, 8}) {
        std::printf("  %d thread(s):", threads);
        for (const int afterMs : {20, 100, 300, 600, 1000}) {
            Collector sink;
            SearchEngine engine(root, SearchPattern(Pattern), SearchEngine::Mode::Multiple);
            engine.setThreads(threads);
            std::atomic<bool> ended {false};
            std::thread walker([&] {
                engine.walk(sink);
                ended = true;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
            const bool endedBefore = ended;
            const auto start = Steady::now();
            engine.cancel();
            walker.join();
            std::printf("  after %d ms: %.1f ms%s", afterMs, msSince(start),
                endedBefore ? " (had ended)" : "");
        }
        std::printf("\n");
    }

    measurePendingMemory(root, " in that folder");
    QDir(folder).removeRecursively();
}

} // namespace

int main(int argc, char **argv)
{
    // A walk alone starts no Qt application: timed as a whole process, it holds what a search
    // costs and nothing else.
    if (argc == 4 && std::strcmp(argv[1], "--walk") == 0) {
        const auto start = Steady::now();
        const int threads = std::atoi(argv[2]);
        const size_t found = engineWalk(QString::fromLocal8Bit(argv[3]),
            threads > 0 ? threads : SearchEngine::defaultThreads());
        std::printf("%zu files in %.1f ms\n", found, msSince(start));
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int rounds = 7;
    bool cold = false;
    bool escape = false;
    QStringList roots;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--cold") == 0)
            cold = true;
        else if (std::strcmp(argv[i], "--escape") == 0)
            escape = true;
        else
            roots << QString::fromLocal8Bit(argv[i]);
    }
    QTemporaryDir generated;
    if (roots.isEmpty()) {
        std::printf("generating 200,000 files in %s ...\n", qPrintable(generated.path()));
        std::fflush(stdout);
        if (!generated.isValid() || !generateTree(generated.path() + QStringLiteral("/tree"))) {
            std::fprintf(stderr, "could not generate the tree\n");
            return 1;
        }
        roots << generated.path() + QStringLiteral("/tree") << QStringLiteral("/usr");
    }

    QTemporaryDir data;
    QtUi ui;
    NoPauseClock clock;
    Store store;
    MainForm form(Platform {ui, clock}, store, data.path());
    form.state.IniFile = data.path() + QStringLiteral("/Corvanta.Ini");
    form.setGeometry({0, 0, 15000, 9000});

    if (argc >= 3 && std::strcmp(argv[1], "--window") == 0) {
        for (int run = 0, runs = argc > 3 ? std::atoi(argv[3]) : 1; run < runs; ++run) {
            int rows = 0;
            double own = 0;
            const double ms = windowSearchMs(QString::fromLocal8Bit(argv[2]), form, &rows, &own);
            std::printf("%d rows in %.1f ms, the window's thread busy %.1f ms\n", rows, ms, own);
        }
        return 0;
    }

    std::printf("Release builds without sanitizers only; %u cores, load average at start: ",
        std::thread::hardware_concurrency());
    std::ifstream load("/proc/loadavg");
    std::string loadText;
    std::getline(load, loadText);
    std::printf("%s\n", loadText.c_str());
    for (const QString &root : roots) {
        measureWarm(root, form, rounds);
        measurePendingMemory(QFile::encodeName(root).toStdString(), "");
    }
    if (cold) {
        for (const QString &root : roots)
            measureCold(root, std::max(1, rounds / 2));
    }
    if (escape) {
        QTemporaryDir scratch;
        measureEscape(scratch.path());
    }
    std::ifstream endLoad("/proc/loadavg");
    std::getline(endLoad, loadText);
    std::printf("\nload average at the end: %s\n", loadText.c_str());
    return 0;
}
