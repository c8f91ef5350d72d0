#pragma once

#include "search/SearchEngineListing.h"
#include "search/SearchPattern.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvanta {

// Hears the walk as it goes; called on the walking thread.
class SearchSink
{
public:
    virtual ~SearchSink() = default;
    // A folder below the root is about to be entered.
    virtual void folderEntered() { }
    // A folder directly in the root has been walked to its end.
    virtual void topFolderDone() { }
    // A matching plain file, as its full path (folder, '/', name).
    virtual void fileFound(std::string_view path) = 0;
};

// What the root holds, before the walk.
struct RootInfo
{
    bool readable = false; // false also for a root on a pseudo file system
    int entries = 0; // every name in the root but "." and ".."
    int topFolders = 0; // the folders the walk will enter directly below the root
};

// The drive walk: depth-first and post-order (a folder's files are reported after all its
// subfolders), folders and files in name order, ignoring case. It stays on the root's file
// system (mount points below the root are not entered, bind mounts included), never follows a
// symbolic link, reports only plain files whose names match and do not begin with a dot, walks
// folders whose names begin with a dot, and skips a folder it may not read. The entry type comes
// from the directory listing; only entries whose type the file system leaves open are stat'ed.
//
// Folders are read by a small pool of threads, ahead of the walk and in the order it will want
// them, while the calling thread alone reports to the sink: the reports are the same, in the
// same order, whatever the number of threads. Folders read ahead are held within a small budget.
class SearchEngine
{
public:
    enum class Mode { Multiple, Single };

    // The number of threads when nothing else is asked: one per core, at most 8.
    static int defaultThreads();

    // root: a folder path in the file system's encoding.
    SearchEngine(std::string root, const SearchPattern &pattern, Mode mode);
    ~SearchEngine();
    SearchEngine(const SearchEngine &) = delete;
    SearchEngine &operator=(const SearchEngine &) = delete;

    // Threads reading folders, the calling thread included (1 walks on the caller alone).
    void setThreads(int threads);
    int threads() const { return threads_; }

    // Lists the root once; the walk needs this first.
    RootInfo inspectRoot();
    // Walks the tree, reporting to sink. In Single mode it ends after the first match. Every
    // thread it started has ended when it returns.
    void walk(SearchSink &sink);

    // Asks a running walk to stop at its next entry; safe from any thread.
    void cancel() { cancel_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancel_.load(std::memory_order_relaxed); }

private:
    class Walk;

    std::string root_;
    SearchPattern pattern_;
    Mode mode_;
    int threads_;
    std::atomic<bool> cancel_ {false};
    bool inspected_ = false;
    RootInfo info_;
    int rootFd_ = -1;
    std::uint64_t rootMount_ = 0; // mount id, or device when the kernel has no ids
    bool mountIds_ = false;
    MountPoints mountPoints_;
    bool fillsEachCall_ = false; // the root's file system fills every listing call
    bool openat2_ = false; // the kernel refuses mount crossings as it opens

    void loadMountPoints();
    bool isMountPoint(std::string_view relative) const;
    bool onRootMount(int fd) const;
    int openWalkRoot();
    int openFolder(int parentFd, const char *path) const;
};

} // namespace corvanta
