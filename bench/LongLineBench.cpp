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

#include <cstdio>
#include <functional>
#include <memory>

using namespace corvanta;

namespace {

constexpr int Rows = 200;
constexpr qsizetype LongLine = 50 * 1024 * 1024;
constexpr int Runs = 3;

double medianMs(const std::function<void()> &prepare, const std::function<void()> &step,
    const std::function<void()> &finish)
{
    return bench::medianMs(Runs, prepare, step, finish);
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
    {
        QFile file(path);
        if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        for (int i = 0; i < Rows; ++i) {
            if (i == Rows / 2)
                file.write(QByteArray(LongLine, 'n') + "\t/long\r\n");
            else
                file.write("Name " + QByteArray::number(i) + "\t/home/user/file" + QByteArray::number(i) + "\r\n");
        }
    }

    // The floor: the bytes read, and the bytes read and held as text, as any list row must be.
    QByteArray bytes;
    QString text;
    const double baseline = medianMs([] {}, [&] { static_cast<void>(readRegularFile(path, bytes)); }, [&] { bytes.clear(); });
    const double asText = medianMs([] {},
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
    auto load = [&] {
        readPointerList(store, path, *list);
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

    const double loading = medianMs(makeView, load, dropView);
    const double moving = medianMs([&] { makeView(); load(); }, moveThrough, dropView);
    const double total = loading + moving;

    std::printf("A File List of %d rows, one of them a %lld MB line; median of %d runs\n", Rows,
        static_cast<long long>(LongLine / (1024 * 1024)), Runs);
    std::printf("  (a) the file's bytes read                  %8.1f ms\n", baseline);
    std::printf("  (t) read and decoded into one string       %8.1f ms   t/a = %.2f\n", asText,
        asText / baseline);
    std::printf("  (b) loaded into the list, view painted     %8.1f ms   b/t = %.2f\n", loading,
        loading / asText);
    std::printf("  (c) moved through every row, each painted  %8.1f ms   c/t = %.2f\n", moving,
        moving / asText);
    std::printf("  (b) + (c)                                  %8.1f ms   %s\n", total,
        total < 1000 ? "within 1 s" : "MORE THAN 1 s");
    return 0;
}
