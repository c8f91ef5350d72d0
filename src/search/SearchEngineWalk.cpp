// The walk itself: helper threads read folders ahead in the order the walk will want them,
// and the calling thread walks the tree they build, reporting to the sink in order.

#include "search/SearchEngine.h"

#include <unistd.h>

#include <condition_variable>
#include <memory>
#include <memory_resource>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

namespace corvanta {

namespace {

// A folder at least this deep is closed once read and its subfolders are opened by path, so a
// very deep tree cannot run out of descriptors.
constexpr std::uint32_t HeldFolderDepth = 128;
// Descriptors held at once for opening subfolders; beyond, subfolders are opened by path.
constexpr int MaxHeldFolders = 256;
// What the helpers may hold read ahead of the walk: folders, and their names and paths.
constexpr int AheadFolders = 4096;
constexpr std::size_t AheadBytes = std::size_t(2) << 20;
// Walked folders are kept for reuse, so that reading the next one seldom allocates; only with
// the room a small folder needs, and within a budget of their own.
constexpr std::size_t SpareFolderBytes = 4096;
constexpr std::size_t SpareBytes = std::size_t(1) << 20;

// One folder of the tree as far as it has been read. Its subfolders come into being in name
// order as they are scheduled and go away once walked, so only a window of them lives at once.
struct Folder
{
    Folder *parent = nullptr;
    std::uint32_t index = 0; // among the parent's subfolders
    std::uint32_t depth = 0;
    std::string path;
    bool onTheWay = false; // a mount point lies below
    bool ready = false; // read; listing and walkable no longer change
    bool walkable = false; // opened, and on the root's file system
    FolderListing listing;
    int fd = -1; // held while subfolders are still to be opened through it
    std::atomic<std::uint32_t> toOpen {0}; // subfolders not yet opened
    std::size_t cost = 0; // counted against the read-ahead budget until the walk enters it
    // Subfolders scheduled, those from firstLive on not yet walked past.
    std::vector<std::unique_ptr<Folder>> children;
    std::size_t firstLive = 0;
    std::uint32_t nextChild = 0; // the next subfolder to schedule

    Folder() = default;
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    ~Folder()
    {
        if (fd >= 0)
            ::close(fd);
    }
    std::uint32_t subfolders() const { return std::uint32_t(listing.folders.size()); }
    std::size_t bytes() const
    {
        return sizeof(Folder) + path.capacity() + listing.bytes()
            + children.capacity() * sizeof(children[0]);
    }
    // A walked folder made ready for reuse, keeping its room.
    void reset()
    {
        path.clear();
        onTheWay = false;
        ready = false;
        walkable = false;
        listing.names.clear();
        listing.folders.clear();
        listing.files.clear();
        toOpen.store(0, std::memory_order_relaxed);
        cost = 0;
        firstLive = 0;
        nextChild = 0;
    }
    // Once walked: lets go of the room a large folder took, before it is kept for reuse.
    void trim()
    {
        if (bytes() <= sizeof(Folder) + SpareFolderBytes)
            return;
        path = std::string();
        listing = FolderListing();
        children = decltype(children)();
    }
    const char *subfolderName(std::uint32_t i) const { return listing.name(listing.folders[i]); }
};

// Subfolder child of folder, still to be read.
struct Pending
{
    Folder *folder;
    std::uint32_t child;
};

// The walk's order: true when subfolder a.child of a.folder is walked before b.child of b.
struct WalkOrder
{
    bool operator()(const Pending &x, const Pending &y) const
    {
        const Folder *a = x.folder;
        const Folder *b = y.folder;
        std::uint32_t ca = x.child;
        std::uint32_t cb = y.child;
        bool aDeeper = false;
        bool bDeeper = false;
        for (; a->depth > b->depth; a = a->parent, aDeeper = true)
            ca = a->index;
        for (; b->depth > a->depth; b = b->parent, bDeeper = true)
            cb = b->index;
        for (; a != b; a = a->parent, b = b->parent) {
            ca = a->index;
            cb = b->index;
        }
        if (ca != cb)
            return ca < cb;
        // One lies inside the other: the outer one is walked first.
        return bDeeper && !aDeeper;
    }
};

} // namespace

class SearchEngine::Walk
{
public:
    Walk(SearchEngine &engine, SearchSink &sink)
        : e_(engine), sink_(sink), stop_ {&engine.cancel_, &halt_}
    { }
    ~Walk()
    {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
            halt_.store(true, std::memory_order_relaxed);
        }
        work_.notify_all();
        for (std::thread &helper : helpers_)
            helper.join();
    }
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;

    void run(int rootFd)
    {
        root_ = std::make_unique<Folder>();
        root_->path = e_.root_;
        root_->onTheWay = !e_.mountPoints_.empty();
        list(*root_, rootFd, scratch_);
        Published after;
        {
            std::lock_guard lock(mutex_);
            ++aheadFolders_;
            after = publish(*root_, rootFd);
            enter(*root_);
        }
        finish(after);
        if (e_.threads_ > 1 && root_->subfolders() > 0) {
            try {
                for (int i = 1; i < e_.threads_; ++i)
                    helpers_.emplace_back([this] { help(); });
            } catch (const std::system_error &) {
                // Out of threads: the walk goes on with the helpers it has.
            }
        }
        walkFolder(*root_, true);
    }

private:
    SearchEngine &e_;
    SearchSink &sink_;
    std::atomic<bool> halt_ {false}; // the walk has ended: stopped, or Single mode found its file
    StopFlags stop_;
    ReadScratch scratch_; // the walking thread's
    std::string filePath_;
    std::unique_ptr<Folder> root_;
    std::vector<std::thread> helpers_;
    std::atomic<int> heldFolders_ {0};

    std::mutex mutex_;
    std::condition_variable work_; // helpers: something to read, room in the budget, or the end
    std::condition_variable ready_; // the walking thread: a folder it waits for has been read
    std::pmr::unsynchronized_pool_resource pendingNodes_;
    // Folders with subfolders still to schedule.
    std::pmr::set<Pending, WalkOrder> pending_ {&pendingNodes_};
    std::vector<std::unique_ptr<Folder>> spare_; // walked, kept for reuse
    std::size_t spareBytes_ = 0;
    std::size_t aheadBytes_ = 0;
    int aheadFolders_ = 0;
    bool walkerWaiting_ = false;
    int idleHelpers_ = 0; // waiting for work or for room in the budget
    bool finished_ = false;

    bool stopping()
    {
        if (!halt_.load(std::memory_order_relaxed) && e_.cancelled())
            halt_.store(true, std::memory_order_relaxed);
        return halt_.load(std::memory_order_relaxed);
    }

    std::string_view relative(const std::string &path) const
    {
        const std::size_t start = e_.root_ == "/" ? 1 : e_.root_.size() + 1;
        return path.size() <= start ? std::string_view() : std::string_view(path).substr(start);
    }

    // --- under the lock ---

    // Creates the next subfolder of folder, to be read by the caller.
    Folder *schedule(Folder &folder)
    {
        pending_.erase(Pending {&folder, folder.nextChild});
        std::unique_ptr<Folder> child;
        if (spare_.empty()) {
            child = std::make_unique<Folder>();
        } else {
            child = std::move(spare_.back());
            spare_.pop_back();
            spareBytes_ -= child->bytes();
            child->reset();
        }
        child->parent = &folder;
        child->index = folder.nextChild++;
        child->depth = folder.depth + 1;
        if (folder.nextChild < folder.subfolders())
            pending_.insert(Pending {&folder, folder.nextChild});
        ++aheadFolders_;
        folder.children.push_back(std::move(child));
        return folder.children.back().get();
    }

    bool budgetFull() const { return aheadFolders_ >= AheadFolders || aheadBytes_ >= AheadBytes; }

    // The first folder still to be read in the walk's order, when the budget has room for it.
    Folder *takeAhead()
    {
        if (pending_.empty() || budgetFull())
            return nullptr;
        return schedule(*pending_.begin()->folder);
    }

    // What publish() leaves to do once the lock is released: system calls stay out of it.
    struct Published
    {
        int closeFd = -1;
        bool wakeHelper = false;
        bool wakeHelpers = false;
        bool wakeWalker = false;
        bool any() const { return closeFd >= 0 || wakeHelper || wakeHelpers || wakeWalker; }
    };

    // A folder read: it joins the tree; fd, its open descriptor or -1, is kept or closed.
    Published publish(Folder &folder, int fd)
    {
        Published after;
        folder.ready = true;
        folder.cost = folder.bytes();
        aheadBytes_ += folder.cost;
        if (folder.subfolders() > 0) {
            folder.toOpen.store(folder.subfolders(), std::memory_order_relaxed);
            if (fd >= 0 && folder.depth < HeldFolderDepth
                && heldFolders_.load(std::memory_order_relaxed) < MaxHeldFolders) {
                folder.fd = fd;
                heldFolders_.fetch_add(1, std::memory_order_relaxed);
                fd = -1;
            }
            pending_.insert(Pending {&folder, 0});
            after.wakeHelpers = idleHelpers_ > 0 && folder.subfolders() > 1;
            after.wakeHelper = idleHelpers_ > 0 && folder.subfolders() == 1;
        }
        after.closeFd = fd;
        after.wakeWalker = walkerWaiting_;
        return after;
    }

    void finish(Published &after)
    {
        if (after.closeFd >= 0)
            ::close(after.closeFd);
        if (after.wakeHelpers)
            work_.notify_all();
        else if (after.wakeHelper)
            work_.notify_one();
        if (after.wakeWalker)
            ready_.notify_one();
        after = Published();
    }

    // The walk enters folder: from now on it is the walk's, not read-ahead.
    void enter(Folder &folder)
    {
        const bool wasFull = budgetFull();
        aheadBytes_ -= folder.cost;
        folder.cost = 0;
        --aheadFolders_;
        if (wasFull && !budgetFull() && idleHelpers_ > 0 && !pending_.empty())
            work_.notify_all();
    }

    // --- outside the lock ---

    // Opens and reads a scheduled subfolder; returns its descriptor or -1, for publish().
    int open(Folder &folder, ReadScratch &scratch)
    {
        Folder &parent = *folder.parent;
        const char *name = parent.subfolderName(folder.index);
        folder.path = parent.path;
        if (folder.path.back() != '/')
            folder.path.push_back('/');
        folder.path += name;
        folder.onTheWay =
            parent.onTheWay && e_.mountPoints_.onTheWay.contains(relative(folder.path));
        // The parent's descriptor stays open until every subfolder has been opened through it.
        const int fd = parent.fd >= 0
            ? e_.openFolder(parent.fd, name)
            : e_.openFolder(-1, std::string(relative(folder.path)).c_str());
        if (parent.toOpen.fetch_sub(1, std::memory_order_acq_rel) == 1 && parent.fd >= 0) {
            ::close(parent.fd);
            parent.fd = -1;
            heldFolders_.fetch_sub(1, std::memory_order_relaxed);
        }
        list(folder, fd, scratch);
        return fd;
    }

    void list(Folder &folder, int fd, ReadScratch &scratch)
    {
        folder.walkable = fd >= 0;
        if (fd < 0)
            return;
        const FolderPlace place {
            &e_.mountPoints_, folder.onTheWay, relative(folder.path), e_.fillsEachCall_};
        readFolder(fd, e_.pattern_, place, stop_, scratch, folder.listing);
        sortListing(folder.listing, stop_);
    }

    void help()
    {
        ReadScratch scratch;
        Published after;
        std::unique_lock lock(mutex_);
        for (;;) {
            Folder *next = nullptr;
            while (!finished_ && (next = takeAhead()) == nullptr) {
                if (after.any()) {
                    lock.unlock();
                    finish(after);
                    lock.lock();
                    continue;
                }
                ++idleHelpers_;
                work_.wait(lock);
                --idleHelpers_;
            }
            lock.unlock();
            finish(after);
            if (!next)
                return;
            const int fd = open(*next, scratch);
            lock.lock();
            after = publish(*next, fd);
        }
    }

    // Subfolder i of folder, read and entered; nullptr when the walk stopped meanwhile. The
    // subfolder before it, walked, goes.
    Folder *subfolder(Folder &folder, std::uint32_t i)
    {
        std::unique_ptr<Folder> done; // freed outside the lock
        Published after;
        std::unique_lock lock(mutex_);
        if (i > 0)
            done = release(folder);
        Folder *child = nullptr;
        if (folder.nextChild == i) {
            child = schedule(folder);
            lock.unlock();
            const int fd = open(*child, scratch_);
            lock.lock();
            after = publish(*child, fd);
        } else {
            child = folder.children[folder.firstLive].get();
            while (!child->ready) {
                if (stopping()) {
                    lock.unlock();
                    finish(after);
                    return nullptr;
                }
                // Rather than wait, read what a helper would read next.
                if (Folder *other = takeAhead()) {
                    lock.unlock();
                    finish(after);
                    const int fd = open(*other, scratch_);
                    lock.lock();
                    after = publish(*other, fd);
                    continue;
                }
                walkerWaiting_ = true;
                ready_.wait(lock);
                walkerWaiting_ = false;
            }
        }
        enter(*child);
        lock.unlock();
        finish(after);
        return child;
    }

    // Takes the first of folder's live subfolders, walked and trimmed, out of the tree: kept for
    // reuse, or returned to be freed outside the lock.
    std::unique_ptr<Folder> release(Folder &folder)
    {
        std::vector<std::unique_ptr<Folder>> &children = folder.children;
        std::unique_ptr<Folder> done = std::move(children[folder.firstLive++]);
        // The slots of walked subfolders are reused, so a folder of a million subfolders holds
        // only those read ahead.
        if (folder.firstLive == children.size()) {
            children.clear();
            folder.firstLive = 0;
        } else if (folder.firstLive >= 64 && folder.firstLive * 2 >= children.size()) {
            children.erase(children.begin(), children.begin() + std::ptrdiff_t(folder.firstLive));
            folder.firstLive = 0;
        }
        if (spareBytes_ + done->bytes() <= SpareBytes && done->fd < 0 && done->children.empty()) {
            spareBytes_ += done->bytes();
            spare_.push_back(std::move(done));
            return nullptr;
        }
        return done;
    }

    void walkFolder(Folder &folder, bool top)
    {
        for (std::uint32_t i = 0; i < folder.subfolders(); ++i) {
            if (stopping())
                return;
            sink_.folderEntered();
            Folder *child = subfolder(folder, i);
            if (!child)
                return;
            if (child->walkable)
                walkFolder(*child, false);
            // A stopped walk leaves its tree as it is; it goes once every helper has ended.
            if (stopping())
                return;
            child->trim();
            if (top)
                sink_.topFolderDone();
        }
        if (folder.subfolders() > 0) {
            std::unique_ptr<Folder> done;
            std::lock_guard lock(mutex_);
            done = release(folder);
        }
        filePath_ = folder.path;
        if (filePath_.back() != '/')
            filePath_.push_back('/');
        const std::size_t base = filePath_.size();
        for (const std::uint32_t offset : folder.listing.files) {
            if (stopping())
                return;
            filePath_.resize(base);
            filePath_ += folder.listing.name(offset);
            sink_.fileFound(filePath_);
            if (e_.mode_ == Mode::Single) {
                halt_.store(true, std::memory_order_relaxed);
                return;
            }
        }
    }
};

void SearchEngine::walk(SearchSink &sink)
{
    if (!inspected_)
        inspectRoot();
    if (!info_.readable)
        return;
    const int fd = openWalkRoot();
    if (fd < 0)
        return;
    Walk walk(*this, sink);
    walk.run(fd);
}

} // namespace corvanta
