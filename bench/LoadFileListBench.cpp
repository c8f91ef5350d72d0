// Loading a File List of 100,000 pointers: how much the list control, and then the Qt model and
// view on top of it, add to merely reading the file's lines.

#include "Median.h"
#include "gui/ListBox.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace corvanta;

namespace {

constexpr int Pointers = 100000;
constexpr int Runs = 7;


bool writePointerFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    bytes.reserve(Pointers * 48);
    for (int i = 0; i < Pointers; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "Name " + n + "\t/home/user/docs/file " + n + ".txt\r\n";
    }
    return file.write(bytes) == bytes.size();
}

double medianMs(const std::function<void()> &prepare, const std::function<void()> &step,
    const std::function<void()> &finish)
{
    return bench::medianMs(Runs, prepare, step, finish);
}

} // namespace

int main(int argc, char **argv)
{
    Store store; // the run's, as the program makes one
#ifdef __GLIBC__
    // glibc adapts its trim and mmap thresholds as blocks are freed, so one run would otherwise
    // pay page faults that the run before did not; fixed thresholds compare like with like.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.Files"));
    if (!dir.isValid() || !writePointerFile(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const std::string nativePath = QFile::encodeName(path).toStdString();

    // (a) the floor: the file's lines into a vector of strings
    std::vector<std::string> lines;
    const double baseline = medianMs([&] { lines = {}; },
        [&] {
            std::ifstream in(nativePath, std::ios::binary);
            std::string line;
            while (std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!line.empty())
                    lines.push_back(line);
            }
        },
        [&] {
            if (lines.size() != std::size_t(Pointers))
                std::fprintf(stderr, "baseline read %zu lines\n", lines.size());
        });

    // (b) the list control alone
    std::unique_ptr<ListControl> list;
    const double core = medianMs([&] { list = std::make_unique<ListControl>(2, true); },
        [&] { readPointerList(store, path, *list); },
        [&] {
            if (list->ListCount() != Pointers)
                std::fprintf(stderr, "core loaded %d rows\n", list->ListCount());
            list.reset();
        });

    // (c) the list control with its model and view on screen; the view lays out and paints
    std::unique_ptr<ListBox> view;
    const double withView = medianMs(
        [&] {
            list = std::make_unique<ListControl>(2, true);
            list->setColHide(1, true);
            view = std::make_unique<ListBox>(*list);
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
            if (view->model()->rowCount() != Pointers)
                std::fprintf(stderr, "view shows %d rows\n", view->model()->rowCount());
            view.reset();
            list.reset();
        });

    // For scale: sorting the loaded list with the view attached.
    const double sort = medianMs(
        [&] {
            list = std::make_unique<ListControl>(2, true);
            view = std::make_unique<ListBox>(*list);
            view->show();
            readPointerList(store, path, *list);
            QApplication::processEvents();
        },
        [&] {
            list->setSorted(SortDirection::Ascending);
            QApplication::processEvents();
        },
        [&] {
            view.reset();
            list.reset();
        });

    // For scale: rows added one at a time with redraw on, each announced to the model and view.
    constexpr int SingleRows = 10000;
    const double oneByOne = medianMs(
        [&] {
            list = std::make_unique<ListControl>(2, true);
            view = std::make_unique<ListBox>(*list);
            view->show();
            QApplication::processEvents();
        },
        [&] {
            for (int i = 0; i < SingleRows; ++i)
                list->addRow(QStringLiteral("Name %1\t/home/user/docs/file %1.txt").arg(i));
            QApplication::processEvents();
        },
        [&] {
            view.reset();
            list.reset();
        });

    std::printf("Loading %d pointers, median of %d runs\n", Pointers, Runs);
    std::printf("  (a) lines into std::vector<std::string>   %8.1f ms\n", baseline);
    std::printf("  (b) readPointerList into ListControl      %8.1f ms   b/a = %.2f\n", core,
        core / baseline);
    std::printf("  (c) the same with ListModel and ListBox    %8.1f ms   c/a = %.2f\n", withView,
        withView / baseline);
    std::printf("  sort ascending, view attached              %8.1f ms\n", sort);
    std::printf("  %d rows added one by one, redraw on     %8.1f ms\n", SingleRows, oneByOne);
    return 0;
}
