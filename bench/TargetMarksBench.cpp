// A File List of 100,000 pointers shown with and without its kinds and marks: the list must show
// as fast either way (the icons come from the names), and the marks follow from a thread.

#include "Median.h"
#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "gui/TargetIcons.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <sys/stat.h>
#include <memory>

using namespace corvanta;

namespace {

constexpr int Pointers = 100000;
constexpr int Runs = 5;

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Store store;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.Files"));
    {
        // Every tenth target is there; the others are missing.
        QFile file(path);
        QByteArray bytes;
        const char *suffixes[] = {".txt", ".pdf", ".sh", "/", ".odt"};
        for (int i = 0; i < Pointers; ++i) {
            const QByteArray n = QByteArray::number(i);
            const QByteArray target = i % 10 == 0 ? QFile::encodeName(dir.path()) + "/f" + n
                                                  : "/no/such/file " + n + suffixes[i % 5];
            bytes += "Name " + n + "\t" + target + "\r\n";
            if (i % 10 == 0)
                QFile(dir.filePath(QStringLiteral("f") + QString::number(i))).open(QIODevice::WriteOnly);
        }
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }

    std::unique_ptr<ListControl> list;
    std::unique_ptr<ListBox> view;
    FileListMarks *marks = nullptr;
    auto show = [&](bool withMarks) {
        return bench::medianMs(Runs,
            [&] {
                list = std::make_unique<ListControl>(2, true);
                list->setColHide(1, true);
                view = std::make_unique<ListBox>(*list);
                if (withMarks)
                    marks = new FileListMarks(*view, [&] { return dir.path(); });
                view->resize(400, 600);
                view->show();
                QApplication::processEvents();
            },
            [&] {
                readPointerList(store, path, *list);
                list->setListIndex(Pointers - 1);
                view->repaint();
                QApplication::processEvents();
            },
            [&] {
                if (withMarks) {
                    while (marks->marks().checking())
                        QApplication::processEvents(QEventLoop::WaitForMoreEvents); // as the window waits
                }
                view.reset();
                list.reset();
            });
    };
    const double plain = show(false);
    const double marked = show(true);

    // The time from the list shown to its last mark, against a plain stat() of every target just
    // before it in the same run.
    std::vector<QByteArray> targets;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (const qsizetype tab = line.indexOf('\t'); tab >= 0)
                targets.push_back(line.mid(tab + 1).trimmed());
        }
    }
    std::vector<double> stats, allMarked, ratios;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        int there = 0;
        struct stat st;
        for (const QByteArray &target : targets)
            there += ::stat(target.constData(), &st) == 0;
        stats.push_back(double(clock.nsecsElapsed()) / 1e6);
        list = std::make_unique<ListControl>(2, true);
        view = std::make_unique<ListBox>(*list);
        marks = new FileListMarks(*view, [&] { return dir.path(); });
        view->show();
        QApplication::processEvents();
        clock.restart();
        readPointerList(store, path, *list);
        QApplication::processEvents();
        while (marks->marks().checking())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents); // as the window waits
        allMarked.push_back(double(clock.nsecsElapsed()) / 1e6);
        ratios.push_back(allMarked.back() / stats.back());
        view.reset();
        list.reset();
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };

    // For scale: the two parts of one look.
    QElapsedTimer part;
    part.start();
    for (int i = 0; i < 10000; ++i)
        kindByName(QStringLiteral("/no/such/file %1.odt").arg(i));
    const qint64 byName = part.restart();
    const TargetChecker checker(dir.path());
    for (int i = 0; i < 10000; ++i)
        checker.state(QStringLiteral("/no/such/file %1.odt").arg(i));
    const qint64 states = part.elapsed();

    std::printf("  10,000 kinds by name %lld ms, 10,000 states %lld ms\n",
        static_cast<long long>(byName), static_cast<long long>(states));
    std::printf("Showing %d pointers, median of %d runs\n", Pointers, Runs);
    std::printf("  plain list                      %8.1f ms\n", plain);
    std::printf("  with kinds and marks attached   %8.1f ms   ratio %.2f\n", marked, marked / plain);
    std::printf("  plain stat() of every target    %8.1f ms\n", median(stats));
    std::printf("  shown to every mark in          %8.1f ms   ratio %.2f to the stats\n",
        median(allMarked), median(ratios));
    return 0;
}
