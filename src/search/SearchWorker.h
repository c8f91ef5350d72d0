#pragma once

#include "search/SearchEngine.h"

#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace corvanta {

// What the walk did since the last batch: files in the order found, and the running counts.
struct SearchBatch
{
    QStringList files;
    int foldersEntered = 0; // since the walk began
    int topFoldersDone = 0; // since the walk began
};

// Runs one walk on its own thread and hands the results over in batches, so the window's
// thread only takes finished batches between its events.
class SearchWorker
{
public:
    explicit SearchWorker(std::unique_ptr<SearchEngine> engine);
    ~SearchWorker(); // stops and joins the walk
    SearchWorker(const SearchWorker &) = delete;
    SearchWorker &operator=(const SearchWorker &) = delete;

    void start();
    void cancel() { engine_->cancel(); }
    // Waits up to wait for a batch or the end of the walk, then returns every batch ready.
    std::vector<SearchBatch> take(std::chrono::milliseconds wait);
    // The walk has ended and every batch has been taken.
    bool finished();

private:
    class Batcher;

    std::unique_ptr<SearchEngine> engine_;
    std::unique_ptr<Batcher> batcher_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<SearchBatch> queue_;
    bool done_ = false;

    void hand(SearchBatch &&batch, bool last);
};

} // namespace corvanta
