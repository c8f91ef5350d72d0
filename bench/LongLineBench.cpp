// A File List whose file holds one 50 MB line among 200 pointers (a hand-edited or damaged list):
// loading it into the list with its view on screen and moving through every row with the arrow
// key, repainting after each step. The rows show their first 1,000 characters only, so this
// should stay well within a second; reading the file's bytes is the baseline.

#include "Median.h"
#include "gui/ListBox.h"
#include "platform/Keys.h"
#include "platform/RegularFile.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

using namespace corvanta;

namespace {

constexpr int Rows = 200;
constexpr qsizetype LongLine = 50 * 1024 * 1024;
constexpr int Runs = 5;

// The process's processor time, its threads' included: on a machine shared with other work the
// time on the clock mostly measures the wait for a processor, this only the work.
double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Times
{
    double wall, cpu;
};

// The medians of the step's time on the clock and of its processor time.
Times medianMs(const std::function<void()> &prepare, const std::function<void()> &step,
    const std::function<void()> &finish)
{
    std::vector<double> cpu;
    const double wall = bench::medianMs(Runs, prepare,
        [&] {
            const double start = cpuMs();
            step();
            cpu.push_back(cpuMs() - start);
        },
        finish);
    std::sort(cpu.begin(), cpu.end());
    return {wall, cpu[cpu.size() / 2]};
}

} // namespace

int main(int argc, char **argv)
{
    Store store; // the run's, as the program makes one
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Long.Files"));
    const QString shortPath = dir.filePath(QStringLiteral("Short.Files"));
    for (const QString &name : {path, shortPath}) {
        QFile file(name);
        if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
        for (int i = 0; i < Rows; ++i) {
            if (i == Rows / 2 && name == path)
                file.write(QByteArray(LongLine, 'n') + "\t/long\r\n");
            else
                file.write("Name " + QByteArray::number(i) + "\t/home/user/file" + QByteArray::number(i) + "\r\n");
        }
    }

    // The floor: the bytes read, and the bytes read and held as text, as any list row must be.
    QByteArray bytes;
    QString text;
    const Times baseline = medianMs([] {}, [&] { static_cast<void>(readRegularFile(path, bytes)); }, [&] { bytes.clear(); });
    const Times asText = medianMs([] {},
        [&] {
            static_cast<void>(readRegularFile(path, bytes)); // a file the bench made itself
            text = QString::fromUtf8(bytes);
        },
        [&] {
            bytes.clear();
            text.clear();
        });

    std::unique_ptr<ListControl> list;
    std::unique_ptr<ListBox> view;
    auto makeView = [&] {
        list = std::make_unique<ListControl>(2, true);
        list->setColHide(1, true);
        view = std::make_unique<ListBox>(*list);
        view->resize(400, 600);
        view->show();
        QApplication::processEvents();
    };
    auto dropView = [&] {
        view.reset();
        list.reset();
    };
    QString loaded = path;
    auto load = [&] {
        readPointerList(store, loaded, *list);
        list->selectRow(0);
        view->repaint();
        QApplication::processEvents();
    };
    auto moveThrough = [&] {
        for (int i = 1; i < Rows; ++i) {
            list->userKeyDown(Key::Down, 0);
            view->repaint();
            QApplication::processEvents();
        }
    };

    const Times loading = medianMs(makeView, load, dropView);
    const Times moving = medianMs([&] { makeView(); load(); }, moveThrough, dropView);
    const double total = loading.wall + moving.wall;
    // The same list with the long line made short: what moving through any 200 rows costs.
    loaded = shortPath;
    const Times plainMoving = medianMs([&] { makeView(); load(); }, moveThrough, dropView);

    std::printf("A File List of %d rows, one of them a %lld MB line; median of %d runs, on the clock "
                "and [processor time]\n",
        Rows, static_cast<long long>(LongLine / (1024 * 1024)), Runs);
    std::printf("  (a) the file's bytes read                  %8.1f ms [%6.1f]\n", baseline.wall, baseline.cpu);
    std::printf("  (t) read and decoded into one string       %8.1f ms [%6.1f]   t/a = %.2f\n", asText.wall,
        asText.cpu, asText.wall / baseline.wall);
    std::printf("  (b) loaded into the list, view painted     %8.1f ms [%6.1f]   b/t = %.2f [%.2f]\n", loading.wall,
        loading.cpu, loading.wall / asText.wall, loading.cpu / asText.cpu);
    std::printf("  (c) moved through every row, each painted  %8.1f ms [%6.1f]   c/t = %.2f [%.2f]\n", moving.wall,
        moving.cpu, moving.wall / asText.wall, moving.cpu / asText.cpu);
    std::printf("  (b) + (c)                                  %8.1f ms [%6.1f]   (b+c)/t = %.2f [%.2f] (at most 3), "
                "%s\n",
        total, loading.cpu + moving.cpu, total / asText.wall, (loading.cpu + moving.cpu) / asText.cpu,
        total < 1000 ? "within 1 s" : "MORE THAN 1 s");
    std::printf("  (s) moved through the rows, no long line    %8.1f ms [%6.1f]   c/s = %.2f [%.2f]\n",
        plainMoving.wall, plainMoving.cpu, moving.wall / plainMoving.wall, moving.cpu / plainMoving.cpu);
    std::printf("  the long line's own cost, b + c - s        %8.1f ms [%6.1f]   (b+c-s)/t = %.2f [%.2f] (at most 3)\n",
        total - plainMoving.wall, loading.cpu + moving.cpu - plainMoving.cpu,
        (total - plainMoving.wall) / asText.wall,
        (loading.cpu + moving.cpu - plainMoving.cpu) / asText.cpu);
    return 0;
}
