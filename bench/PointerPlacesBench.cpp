// Find Pointer and Check Missing Targets over 1,000 topics holding 100,000 pointers, against a
// plain read of the same files and a plain stat() of every target, in the same run.

#include "platform/Ui.h"
#include "search/FindPointer.h"
#include "search/MissingTargets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <vector>

using namespace corvanta;

namespace {

constexpr int Projects = 10;
constexpr int TopicsPerProject = 100;
constexpr int PointersPerTopic = 100;
constexpr int Runs = 7;
using Timer = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeMs(const std::function<void()> &step)
{
    const auto start = Timer::now();
    step();
    return std::chrono::duration<double, std::milli>(Timer::now() - start).count();
}

double medianMs(const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run)
        times.push_back(timeMs(step));
    return median(times);
}

// A step and its baseline, one right after the other in every run, so that both see the same
// load on the machine; the medians of each and of the runs' ratios.
struct Paired
{
    double baseline, step, ratio;
};

Paired paired(const std::function<void()> &baseline, const std::function<void()> &step)
{
    std::vector<double> base, measured, ratios;
    for (int run = 0; run < Runs; ++run) {
        base.push_back(timeMs(baseline));
        measured.push_back(timeMs(step));
        ratios.push_back(measured.back() / base.back());
    }
    return {median(base), median(measured), median(ratios)};
}

class SilentUi : public Ui
{
public:
    int msgBox(const QString &, const QString &, int) override { return 0; }
    QString inputBox(const QString &, const QString &, const QString &, int, int) override { return {}; }
    void beep() override {}
    void setBusy(bool) override {}
    void pumpEvents() override {}
    void post(std::function<void()> task) override { task(); } // nothing here runs on threads
    void showPopupMenu(const QString &) override {}
    void showPopupMenuAt(const QString &, int, int) override {}
    QString chooseProgram(const QString &, const QString &) override { return {}; }
};

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    Store store; // the run's, as the program makes one
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString targets = dir.filePath(QStringLiteral("targets"));

    // Every pointer's target is a real file, one folder per topic; one in ten is missing.
    QStringList topicFiles;
    QStringList targetPaths;
    QByteArray projectList;
    for (int p = 0; p < Projects; ++p) {
        const QString project = QStringLiteral("Project %1").arg(p);
        projectList += project.toUtf8() + "\r\n";
        const QString folder = data + QStringLiteral("/Projects/") + project + u'/';
        QDir().mkpath(folder);
        QByteArray topicList;
        for (int t = 0; t < TopicsPerProject; ++t) {
            const QString topic = QStringLiteral("Topic %1").arg(t);
            topicList += topic.toUtf8() + "\r\n";
            const QString targetFolder = targets + QStringLiteral("/%1/%2").arg(p).arg(t);
            QDir().mkpath(targetFolder);
            QByteArray pointers;
            for (int i = 0; i < PointersPerTopic; ++i) {
                const QString target = targetFolder + QStringLiteral("/report %1.odt").arg(i);
                if (i % 10 != 0)
                    write(target, QByteArray());
                targetPaths.append(target);
                pointers += QStringLiteral("Report %1 of %2 %3\t").arg(i).arg(project, topic).toUtf8()
                    + target.toUtf8() + "\r\n";
            }
            topicFiles.append(folder + topic + QStringLiteral(".Files"));
            write(topicFiles.last(), pointers);
        }
        write(folder + project + QStringLiteral(".List"), topicList);
    }
    write(data + QStringLiteral("/Project.List"), projectList);

    // (a) a plain read of every topic file (all just written, so in the page cache); (b) opening
    // the Find Pointer window: every list read, every pointer ready to filter.
    qint64 bytes = 0;
    int pointers = 0;
    const Paired open = paired(
        [&] {
            bytes = 0;
            for (const QString &path : topicFiles) {
                QFile file(path);
                if (file.open(QIODevice::ReadOnly))
                    bytes += file.readAll().size();
            }
        },
        [&] { pointers = PointerFinder(store, data).pointerCount(); });

    // Its parts, for scale.
    std::vector<PointerFile> files;
    const double listFiles = medianMs([&] { files = pointerFiles(store, data); });
    const double readAll = medianMs([&] {
        TextBlocks blocks; // outlives the copy that points into it
        std::vector<PointerFile> copy = files;
        readPointers(store, copy, blocks);
    });

    // (c) each keystroke's filter over all of them.
    PointerFinder finder(store, data);
    const QString typed = QStringLiteral("report 12 project 3");
    // Typed a key at a time from an empty box, as a user does; each key's median over the runs.
    std::vector<std::vector<double>> keyTimes(size_t(typed.size()));
    for (int run = 0; run < Runs; ++run) {
        finder.setFilter(QString());
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            const auto start = Timer::now();
            finder.setFilter(typed.left(n));
            keyTimes[size_t(n - 1)].push_back(
                std::chrono::duration<double, std::milli>(Timer::now() - start).count());
        }
    }
    double worstKey = 0;
    for (const std::vector<double> &times : keyTimes)
        worstKey = std::max(worstKey, median(times));
    // A filter typed over a whole other one: every pointer looked at again.
    finder.setFilter(QStringLiteral("x"));
    const double fullScan = medianMs([&] {
        finder.setFilter(QString());
        finder.setFilter(QStringLiteral("project 3 report 12"));
    });
    const int lastResults = finder.resultCount();
    // A word in no pointer: every line searched to its end.
    const double noMatch = medianMs([&] {
        finder.setFilter(QString());
        finder.setFilter(QStringLiteral("zqxj"));
    });

    // (d) a plain stat() of every target; (e) Check Missing Targets.
    std::vector<QByteArray> encoded;
    for (const QString &path : targetPaths)
        encoded.push_back(QFile::encodeName(path));
    int found = 0;
    SilentUi ui;
    const TargetChecker checker(data);
    size_t missing = 0;
    const Paired check = paired(
        [&] {
            found = 0;
            struct stat st;
            for (const QByteArray &path : encoded)
                found += ::stat(path.constData(), &st) == 0;
        },
        [&] {
            MissingTargets window(store, data, checker, ui);
            while (window.checking())
                window.update(std::chrono::milliseconds(100));
            missing = window.rows().size();
        });

    std::printf("%d topics, %d pointers (%lld bytes), median of %d runs, each ratio the median "
                "of the runs' own\n",
        Projects * TopicsPerProject, pointers, static_cast<long long>(bytes), Runs);
    std::printf("  (a) plain read of the topic files            %8.1f ms\n", open.baseline);
    std::printf("  (b) Find Pointer opens                       %8.1f ms   b/a = %.2f (at most 2)\n",
        open.step, open.ratio);
    std::printf("      of which: finding the files %.1f ms, reading them %.1f ms\n", listFiles, readAll);
    std::printf("  (c) slowest keystroke of \"%s\"  %8.1f ms   (at most 30; %d results at the end)\n",
        qPrintable(typed), worstKey, lastResults);
    std::printf("      a whole filter pasted over all pointers  %8.1f ms\n", fullScan);
    std::printf("      a word in no pointer                     %8.1f ms\n", noMatch);
    std::printf("  (d) plain stat() of every target             %8.1f ms   (%d exist)\n",
        check.baseline, found);
    std::printf("  (e) Check Missing Targets                    %8.1f ms   e/d = %.2f (at most 2; "
                "%zu listed)\n",
        check.step, check.ratio, missing);
    return 0;
}
