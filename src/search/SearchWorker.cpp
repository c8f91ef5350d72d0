#include "search/SearchWorker.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>

namespace corvanta {

namespace {

// A batch goes out when it holds this many files or has waited this long, whichever is first.
constexpr qsizetype BatchFiles = 512;
constexpr auto BatchInterval = std::chrono::milliseconds(10);

} // namespace

// Gathers the walk's reports on the walking thread.
class SearchWorker::Batcher : public SearchSink
{
public:
    explicit Batcher(SearchWorker &worker) : worker_(worker) { }

    void folderEntered() override
    {
        ++batch_.foldersEntered;
        maybeHand();
    }
    void topFolderDone() override { ++batch_.topFoldersDone; }
    void fileFound(std::string_view path) override
    {
        // As QFile::decodeName, without first copying the bytes.
        batch_.files.append(
            QString::fromLocal8Bit(QByteArrayView(path.data(), qsizetype(path.size()))));
        maybeHand();
    }
    void finish() { handNow(true); }

private:
    SearchWorker &worker_;
    SearchBatch batch_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();

    void maybeHand()
    {
        if (batch_.files.size() >= BatchFiles
            || std::chrono::steady_clock::now() - last_ >= BatchInterval)
            handNow(false);
    }
    void handNow(bool lastBatch)
    {
        SearchBatch out;
        out.files.swap(batch_.files);
        out.foldersEntered = batch_.foldersEntered;
        out.topFoldersDone = batch_.topFoldersDone;
        worker_.deliver_(std::move(out), lastBatch);
        last_ = std::chrono::steady_clock::now();
    }
};

SearchWorker::SearchWorker(std::unique_ptr<SearchEngine> engine, Deliver deliver)
    : engine_(std::move(engine)),
      deliver_(std::move(deliver)),
      batcher_(std::make_unique<Batcher>(*this))
{ }

SearchWorker::~SearchWorker()
{
    engine_->cancel();
    if (thread_.joinable())
        thread_.join();
}

void SearchWorker::start()
{
    thread_ = std::thread([this] {
        engine_->walk(*batcher_);
        batcher_->finish();
    });
}

} // namespace corvanta
