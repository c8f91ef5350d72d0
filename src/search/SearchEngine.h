#pragma once

#include "search/SearchPattern.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

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
class SearchEngine
{
public:
    enum class Mode { Multiple, Single };

    // root: a folder path in the file system's encoding.
    SearchEngine(std::string root, const SearchPattern &pattern, Mode mode);
    ~SearchEngine();
    SearchEngine(const SearchEngine &) = delete;
    SearchEngine &operator=(const SearchEngine &) = delete;

    // Lists the root once; the walk needs this first.
    RootInfo inspectRoot();
    // Walks the tree, reporting to sink. In Single mode it ends after the first match.
    void walk(SearchSink &sink);

    // Asks a running walk to stop at its next entry; safe from any thread.
    void cancel() { cancel_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancel_.load(std::memory_order_relaxed); }

private:
    std::string root_;
    SearchPattern pattern_;
    Mode mode_;
    std::atomic<bool> cancel_ {false};
    bool stop_ = false; // cancelled, or Single mode found its file
    bool inspected_ = false;
    RootInfo info_;
    int rootFd_ = -1;
    std::uint64_t rootMount_ = 0; // mount id, or device when the kernel has no ids
    bool mountIds_ = false;
    // Mount points below the root, relative to it; looked up by a view into the walk's path.
    struct ViewHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view> {}(s); }
    };
    std::unordered_set<std::string, ViewHash, std::equal_to<>> mountPoints_;

    void loadMountPoints();
    bool isMountPoint(const std::string &path) const;
    bool onRootMount(int fd) const;
    int openFolder(int parentFd, const std::string &name, const std::string &path) const;
    void walkFolder(int fd, std::string &path, int depth, SearchSink &sink);
    bool stopping();
};

} // namespace corvanta
