#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace corvanta {

class SearchPattern;

// What the walk keeps of one folder: its subfolders and its matching plain files, each in
// name order. Names sit back to back in one buffer, so a folder of a million entries costs
// its names and four bytes each, not a string object per name.
struct FolderListing
{
    std::string names; // every kept name, each ended by a NUL
    std::vector<std::uint32_t> folders; // offsets into names
    std::vector<std::uint32_t> files;

    const char *name(std::uint32_t offset) const { return names.data() + offset; }
    std::size_t bytes() const
    {
        return names.capacity() + (folders.capacity() + files.capacity()) * sizeof(std::uint32_t);
    }
};

// Mount points below the walk's root, as paths relative to it, and every folder on the way
// to one; only folders on the way need their subfolders looked up.
struct MountPoints
{
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const
        {
            return std::hash<std::string_view> {}(s);
        }
    };
    using Set = std::unordered_set<std::string, Hash, std::equal_to<>>;
    Set points;
    Set onTheWay; // "" for the root itself when any mount lies below it

    void add(const std::string &relative);
    bool empty() const { return points.empty(); }
};

// The requests that end a folder's reading early: the user's cancel, and the walk's own end.
struct StopFlags
{
    const std::atomic<bool> *cancel;
    const std::atomic<bool> *halt;
    bool raised() const
    {
        return cancel->load(std::memory_order_relaxed) || halt->load(std::memory_order_relaxed);
    }
};

// Where a folder lies, for leaving out the mount points among its subfolders, and what its file
// system promises about listings.
struct FolderPlace
{
    const MountPoints *mountPoints = nullptr;
    bool onTheWay = false; // the folder is on the way to a mount point
    std::string_view relative; // its path relative to the root ("" for the root)
    // Each listing call fills the buffer as far as the folder goes, so one that leaves room
    // for another entry was the last: the call that would only say so is saved.
    bool fillsEachCall = false;
};

// A reading thread's working space, kept from folder to folder so that reading one costs few
// allocations.
struct ReadScratch
{
    std::vector<char> buffer;
    std::string names;
    std::vector<std::uint32_t> folders;
    std::vector<std::uint32_t> files;
    std::string relative;
};

// Reads an open folder with getdents64 into listing: its subfolders, less the mount points,
// and the plain files that match pattern and do not begin with a dot. Stops early, keeping
// what was read, when stop is raised or the listing fails.
void readFolder(int fd, const SearchPattern &pattern, const FolderPlace &place,
    const StopFlags &stop, ReadScratch &scratch, FolderListing &listing);

// The entry type of name in the folder dirFd, for file systems that leave it out of the
// listing: DT_DIR, DT_REG, or DT_UNKNOWN for anything else (symbolic links stay links).
unsigned char typeByStat(int dirFd, const char *name);

bool isDotOrDotDot(const char *name);

// Puts both lists in name order (ASCII case ignored, ties broken by the bytes). A long list is
// sorted in pieces so that stop is seen within milliseconds; once stopped the order is undefined.
void sortListing(FolderListing &listing, const StopFlags &stop);

} // namespace corvanta
