#pragma once

#include "search/SearchEngine.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <thread>

namespace corvanta {

// What the walk did since the last batch: files in the order found, and the running counts.
struct SearchBatch
{
    QStringList files;
    int foldersEntered = 0; // since the walk began
    int topFoldersDone = 0; // since the walk began
};

// Runs one walk on its own thread and hands its results out in batches as they come, on that
// thread; whoever receives them passes them on to the window's thread (Ui::post), so the window
// never waits for the walk.
class SearchWorker
{
public:
    // Called on the walking thread with each batch; last is true for the walk's final one, which
    // comes exactly once, also after a cancel.
    using Deliver = std::function<void(SearchBatch &&batch, bool last)>;

    SearchWorker(std::unique_ptr<SearchEngine> engine, Deliver deliver);
    ~SearchWorker(); // stops and joins the walk
    SearchWorker(const SearchWorker &) = delete;
    SearchWorker &operator=(const SearchWorker &) = delete;

    void start();
    void cancel() { engine_->cancel(); }

private:
    class Batcher;

    std::unique_ptr<SearchEngine> engine_;
    Deliver deliver_;
    std::unique_ptr<Batcher> batcher_;
    std::thread thread_;
};

} // namespace corvanta
