// Sorting a File List of 100,000 pointers ascending and writing it back (Rebuild File List),
// against sorting the same lines with std::stable_sort, in the same run.

#include "Median.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace corvanta;

namespace {

constexpr int Pointers = 100000;
constexpr int Runs = 7;

double medianMs(const std::function<void()> &prepare, const std::function<void()> &step)
{
    return bench::medianMs(Runs, prepare, step);
}

// Names in a scrambled order, some differing only in letter case, as a hand-kept list has them.
std::vector<std::string> makeLines()
{
    std::vector<std::string> lines;
    lines.reserve(Pointers);
    unsigned seed = 12345;
    for (int i = 0; i < Pointers; ++i) {
        seed = seed * 1103515245u + 12345u;
        const unsigned n = (seed >> 8) % 1000000u;
        lines.push_back((n % 3 ? "report " : "Report ") + std::to_string(n) + "\t/home/user/docs/file "
                        + std::to_string(i) + ".odt");
    }
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    Store store; // the run's, as the program makes one
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.Files"));
    const std::string nativePath = path.toStdString();
    const std::vector<std::string> source = makeLines();

    // The floor: std::stable_sort of the same lines, case-insensitive on the name.
    std::vector<std::string> lines;
    auto lessNoCase = [](const std::string &a, const std::string &b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    };
    const double stdSort = medianMs([&] { lines = source; },
                                    [&] { std::stable_sort(lines.begin(), lines.end(), lessNoCase); });
    // For scale: the same sort followed by writing the lines out.
    const double stdSortWrite = medianMs([&] { lines = source; }, [&] {
        std::stable_sort(lines.begin(), lines.end(), lessNoCase);
        std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
        for (const std::string &line : lines)
            out << line << "\r\n";
    });

    // Ours: the File List's ascending column sort, then Rebuild File List's atomic write.
    ListControl list(2, true);
    const double ours = medianMs(
        [&] {
            list.clear();
            list.setRedraw(false);
            for (const std::string &line : source)
                list.addRow(QString::fromStdString(line));
            list.setRedraw(true);
        },
        [&] {
            list.setSortState(ListSortState::Suspended);
            list.setColSorted(SortDirection::Ascending);
            list.setSortState(ListSortState::Active);
            if (!writePointerList(store, path, list))
                std::fprintf(stderr, "write failed\n");
        });

    std::printf("Sorting and rebuilding %d pointers, median of %d runs\n", Pointers, Runs);
    std::printf("  (a) std::stable_sort of the lines              %8.1f ms\n", stdSort);
    std::printf("      the same, then written to a file           %8.1f ms\n", stdSortWrite);
    std::printf("  (b) column sort + Rebuild File List (atomic)   %8.1f ms   b/a = %.2f\n", ours,
                ours / stdSort);
    return 0;
}
