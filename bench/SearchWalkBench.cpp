// One drive walk as a process of its own, linked with the search engine alone, so that timed as
// a whole process it holds what a search costs, as find, fd and bfs do: bench_search runs it.
//
//   bench_search_walk THREADS FOLDER [--quiet]   (0 threads: the default)

#include "search/SearchEngine.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace corvanta;

namespace {

struct Counter : SearchSink
{
    std::size_t files = 0;
    std::size_t bytes = 0;
    void fileFound(std::string_view path) override
    {
        ++files;
        bytes += path.size();
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_search_walk THREADS FOLDER [--quiet]\n");
        return 2;
    }
    const int threads = std::atoi(argv[1]);
    Counter sink;
    SearchEngine engine(argv[2], SearchPattern(QStringLiteral("*.txt")), SearchEngine::Mode::Multiple);
    engine.setThreads(threads > 0 ? threads : SearchEngine::defaultThreads());
    engine.walk(sink);
    if (argc < 4 || std::strcmp(argv[3], "--quiet") != 0)
        std::printf("%zu files\n", sink.files);
    return 0;
}
