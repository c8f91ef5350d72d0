#include "search/SearchEngine.h"

#include "search/MountTable.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace corvanta {

namespace {

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
constexpr int MaxThreads = 64;
constexpr int MaxDefaultThreads = 8;

// The mount a descriptor lies on: the mount id where the kernel gives one (bind mounts of the
// same device differ), else the device.
bool mountOf(int fd, std::uint64_t *id, bool *isMountId)
{
    struct statx stx
    { };
    if (statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_MNT_ID, &stx) == 0
        && (stx.stx_mask & STATX_MNT_ID)) {
        *id = stx.stx_mnt_id;
        *isMountId = true;
        return true;
    }
    struct stat st
    { };
    if (fstat(fd, &st) != 0)
        return false;
    *id = std::uint64_t(st.st_dev);
    *isMountId = false;
    return true;
}

} // namespace

int SearchEngine::defaultThreads()
{
    // The cores this process may run on, which a container or taskset may have narrowed.
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    int cores = sched_getaffinity(0, sizeof cpus, &cpus) == 0 ? CPU_COUNT(&cpus) : 1;
    return std::clamp(cores, 1, MaxDefaultThreads);
}

SearchEngine::SearchEngine(std::string root, const SearchPattern &pattern, Mode mode)
    : root_(std::move(root)), pattern_(pattern), mode_(mode), threads_(defaultThreads())
{
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
}

SearchEngine::~SearchEngine()
{
    if (rootFd_ >= 0)
        ::close(rootFd_);
}

void SearchEngine::setThreads(int threads)
{
    threads_ = std::clamp(threads, 1, MaxThreads);
}

RootInfo SearchEngine::inspectRoot()
{
    inspected_ = true;
    info_ = RootInfo();
    if (root_.empty())
        return info_;
    rootFd_ = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    if (rootFd_ < 0)
        return info_;
    if (isOnPseudoFileSystem(rootFd_) || !mountOf(rootFd_, &rootMount_, &mountIds_))
        return info_;
    fillsEachCall_ = fillsEachListingCall(rootFd_);
    loadMountPoints();

    // A fresh description of the root: a dup() would share its reading position.
    const int fd = ::openat(rootFd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return info_;
    }
    info_.readable = true;
    while (const dirent *e = readdir(dir)) {
        if (isDotOrDotDot(e->d_name))
            continue;
        ++info_.entries;
        const unsigned char type =
            e->d_type == DT_UNKNOWN ? typeByStat(dirfd(dir), e->d_name) : e->d_type;
        if (type == DT_DIR && !isMountPoint(e->d_name))
            ++info_.topFolders;
    }
    closedir(dir);
    return info_;
}

void SearchEngine::loadMountPoints()
{
    mountPoints_ = MountPoints();
    char resolved[PATH_MAX];
    if (!realpath(root_.c_str(), resolved))
        return;
    std::string canonical = resolved;
    if (canonical.back() != '/')
        canonical.push_back('/');
    for (const MountEntry &m : readMountTable()) {
        if (m.mountPoint.size() > canonical.size()
            && m.mountPoint.compare(0, canonical.size(), canonical) == 0)
            mountPoints_.add(m.mountPoint.substr(canonical.size()));
    }
}

bool SearchEngine::isMountPoint(std::string_view relative) const
{
    return mountPoints_.points.find(relative) != mountPoints_.points.end();
}

bool SearchEngine::onRootMount(int fd) const
{
    std::uint64_t id = 0;
    bool isMountId = false;
    // A folder whose mount cannot be told is walked: hiding files is the worse mistake.
    if (!mountOf(fd, &id, &isMountId) || isMountId != mountIds_)
        return true;
    return id == rootMount_;
}

// A fresh description of the root for the walk (a dup() would share the reading position);
// also finds out whether the kernel can refuse mount crossings itself.
int SearchEngine::openWalkRoot()
{
    open_how how {};
    how.flags = FolderOpenFlags;
    how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const int fd = int(syscall(SYS_openat2, rootFd_, ".", &how, sizeof how));
    openat2_ = fd >= 0;
    // An old kernel, or a sandbox that filters the call: each folder's mount is asked instead.
    return fd >= 0 ? fd : ::openat(rootFd_, ".", FolderOpenFlags);
}

// Opens path, a name in the folder parentFd or, when parentFd is -1, a path relative to the
// root; -1 when it cannot be opened or lies on another mount.
int SearchEngine::openFolder(int parentFd, const char *path) const
{
    const int dirFd = parentFd >= 0 ? parentFd : rootFd_;
    if (openat2_) {
        open_how how {};
        how.flags = FolderOpenFlags;
        how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        return int(syscall(SYS_openat2, dirFd, path, &how, sizeof how));
    }
    const int fd = ::openat(dirFd, path, FolderOpenFlags);
    if (fd >= 0 && !onRootMount(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace corvanta
