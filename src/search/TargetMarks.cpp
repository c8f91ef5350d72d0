#include "search/TargetMarks.h"

#include "platform/DesktopEntries.h"
#include "store/ListFiles.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QMimeDatabase>
#include <QObject>
#include <QSet>

#include <atomic>
#include <chrono>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>
#include <sys/stat.h>

namespace corvanta {

namespace {

bool isProgramType(const QMimeType &type)
{
    return type.inherits(QStringLiteral("application/x-executable"))
        || type.genericIconName() == u"application-x-executable"
        || type.name() == u"application/x-desktop";
}

PointerKind kindOfType(const QMimeType &type)
{
    if (type.name() == u"inode/directory")
        return PointerKind::Folder;
    return isProgramType(type) ? PointerKind::Program : PointerKind::Document;
}

} // namespace

TargetKind kindByName(const QString &target)
{
    const QString scheme = addressScheme(target);
    if (scheme == u"mailto")
        return {PointerKind::EMail, QString()};
    if (!scheme.isEmpty())
        return {PointerKind::Website, QString()};
    static const QMimeDatabase db; // thread-safe
    if (target.endsWith(u'/'))
        return {PointerKind::Folder, QStringLiteral("inode/directory")};
    // The type follows from the name alone, and a look-up costs far more than a repaint of the
    // row that asks for it: each name is looked up once.
    static std::mutex mutex;
    static QHash<QString, TargetKind> known;
    const QString name = target.mid(target.lastIndexOf(u'/') + 1);
    {
        const std::lock_guard lock(mutex);
        if (const auto it = known.constFind(name); it != known.cend())
            return *it;
    }
    const QList<QMimeType> types = db.mimeTypesForFileName(name);
    const QMimeType type = types.isEmpty() ? db.mimeTypeForName(QStringLiteral("application/octet-stream"))
                                           : types.constFirst();
    const TargetKind kind {kindOfType(type), type.name()};
    const std::lock_guard lock(mutex);
    if (known.size() >= 4096)
        known.clear();
    known.insert(name, kind);
    return kind;
}

QString rowTarget(const QString &rowText)
{
    const qsizetype tab = rowText.indexOf(u'\t');
    return tab < 0 ? QString() : trimSpaces(rowText.mid(tab + 1));
}

QString markText(TargetState state)
{
    switch (state) {
    case TargetState::Missing:
        return QStringLiteral("Target missing");
    case TargetState::NotReachable:
        return QStringLiteral("Target not reachable");
    case TargetState::Exists:
        break;
    }
    return QString();
}

// --- TargetLooker ---

TargetMark TargetLooker::operator()(const QString &target) const
{
    struct stat st;
    const TargetState state = statter_.look(target, st);
    if (state != TargetState::Exists)
        return {state, std::nullopt};
    TargetMark mark {TargetState::Exists, std::nullopt};
    if (S_ISDIR(st.st_mode)) {
        mark.kind = TargetKind {PointerKind::Folder, QStringLiteral("inode/directory")};
    } else if (S_ISREG(st.st_mode) && (st.st_mode & 0111)) {
        // A program with no telling name (most have none); an executable document stays one.
        const TargetKind byName = kindByName(target);
        if (byName.mimeType == u"application/octet-stream")
            mark.kind = TargetKind {PointerKind::Program, QStringLiteral("application/x-executable")};
    }
    return mark;
}

// --- TargetMarks ---

// One look at a list, shared with its thread: the last of the two to let go frees it.
struct TargetMarks::Round
{
    TargetMarks::Look look;
    QStringList rows;
    std::atomic<bool> stop {false};
    std::mutex mutex;
    QObject *receiver = nullptr; // guarded by mutex; gone with its TargetMarks
    std::vector<std::pair<QString, TargetMark>> found; // guarded by mutex; not yet taken
    bool done = false; // guarded by mutex
    std::function<void(const std::shared_ptr<Round> &)> deliver; // runs on the receiver's thread

    // Hands what was found to the receiver's thread. One call is on its way at a time: it takes
    // everything found by the time it runs.
    void post(const std::shared_ptr<Round> &self, bool wasEmpty)
    {
        if (wasEmpty && receiver)
            QMetaObject::invokeMethod(receiver, [self] { self->deliver(self); }, Qt::QueuedConnection);
    }

    // Marks are handed over in batches, at most every HandEvery: each hand-over repaints the
    // list, and 100,000 repaints would keep the window busy long after the looks are done.
    static constexpr std::chrono::milliseconds HandEvery {40};

    void run(const std::shared_ptr<Round> &self)
    {
        QSet<QString> seen;
        std::vector<std::pair<QString, TargetMark>> batch;
        auto handed = std::chrono::steady_clock::now();
        const auto hand = [&] {
            const std::lock_guard lock(mutex);
            const bool wasEmpty = found.empty();
            std::move(batch.begin(), batch.end(), std::back_inserter(found));
            batch.clear();
            post(self, wasEmpty);
        };
        for (const QString &row : std::as_const(rows)) {
            if (stop.load())
                break;
            QString target = rowTarget(row);
            if (!isFileTarget(target) || seen.contains(target))
                continue;
            seen.insert(target);
            TargetMark mark = look(target);
            batch.emplace_back(std::move(target), std::move(mark));
            if (const auto now = std::chrono::steady_clock::now(); now - handed >= HandEvery) {
                handed = now;
                hand();
            }
        }
        hand();
        const std::lock_guard lock(mutex);
        done = true;
        post(self, found.empty());
    }
};

TargetMarks::TargetMarks()
    : receiver_(std::make_unique<QObject>()),
      running_(std::make_shared<std::atomic<int>>(0))
{
}

TargetMarks::~TargetMarks()
{
    if (round_) {
        round_->stop = true;
        const std::lock_guard lock(round_->mutex);
        round_->receiver = nullptr;
    }
}

bool TargetMarks::check(const QStringList &rows, bool keep, Look look)
{
    if (!keep)
        marks_.clear();
    if (round_) {
        round_->stop = true;
        const std::lock_guard lock(round_->mutex);
        round_->receiver = nullptr; // what it finds now is for a list no longer asked about
    }
    round_.reset();
    if (running_->load() >= MostStuck)
        return false; // earlier looks are stuck in the system: no more threads after them
    auto round = std::make_shared<Round>();
    round->look = std::move(look);
    round->rows = rows;
    round->receiver = receiver_.get();
    round->deliver = [this](const std::shared_ptr<Round> &r) { take(r); };
    round_ = round;
    ++*running_;
    // Detached: a target on a stopped mount may keep it in the system for ever.
    std::thread([round, running = running_] {
        round->run(round);
        --*running;
    }).detach();
    return true;
}

void TargetMarks::take(const std::shared_ptr<Round> &round)
{
    if (round != round_)
        return; // a list no longer shown
    std::vector<std::pair<QString, TargetMark>> found;
    bool finished = false;
    {
        const std::lock_guard lock(round->mutex);
        found.swap(round->found);
        finished = round->done; // set after its last find, so nothing more comes
    }
    if (finished)
        round_.reset();
    for (auto &[target, mark] : found)
        marks_.insert(target, mark);
    if (!found.empty() && onMarked)
        onMarked();
}

const TargetMark *TargetMarks::mark(const QString &target) const
{
    const auto it = marks_.constFind(target);
    return it == marks_.cend() ? nullptr : &*it;
}

bool TargetMarks::checking() const
{
    return round_ != nullptr;
}

} // namespace corvanta
