#include "search/SearchEngine.h"

#include "search/MountTable.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace corvanta {

namespace {

// Deeper than this, a folder's descriptor is closed once it has been read and its subfolders
// are opened by path, so a very deep tree cannot run out of descriptors.
constexpr int HeldFolderDepth = 128;

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

constexpr unsigned char lowerByte(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Name order ignoring ASCII case, ties broken by the bytes, so the order is stable.
bool nameLess(const std::string &a, const std::string &b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = lowerByte(static_cast<unsigned char>(a[i]));
        const unsigned char y = lowerByte(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The entry type for a file system that leaves it out of the listing; symbolic links stay links.
unsigned char typeByStat(int dirFd, const char *name)
{
    struct stat st
    { };
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    if (S_ISDIR(st.st_mode))
        return DT_DIR;
    if (S_ISREG(st.st_mode))
        return DT_REG;
    return DT_UNKNOWN;
}

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

SearchEngine::SearchEngine(std::string root, const SearchPattern &pattern, Mode mode)
    : root_(std::move(root)), pattern_(pattern), mode_(mode)
{
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
}

SearchEngine::~SearchEngine()
{
    if (rootFd_ >= 0)
        ::close(rootFd_);
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
    loadMountPoints();

    // A fresh description of the root: a dup() would share its reading position.
    const int fd = ::openat(rootFd_, ".", FolderOpenFlags);
    DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return info_;
    }
    info_.readable = true;
    std::string path = root_;
    const size_t base = path.size();
    while (const dirent *e = readdir(dir)) {
        if (isDotOrDotDot(e->d_name))
            continue;
        ++info_.entries;
        const unsigned char type =
            e->d_type == DT_UNKNOWN ? typeByStat(dirfd(dir), e->d_name) : e->d_type;
        if (type != DT_DIR)
            continue;
        if (path.back() != '/')
            path.push_back('/');
        path += e->d_name;
        if (!isMountPoint(path))
            ++info_.topFolders;
        path.resize(base);
    }
    closedir(dir);
    return info_;
}

void SearchEngine::loadMountPoints()
{
    mountPoints_.clear();
    char resolved[PATH_MAX];
    if (!realpath(root_.c_str(), resolved))
        return;
    std::string canonical = resolved;
    if (canonical.back() != '/')
        canonical.push_back('/');
    for (const MountEntry &m : readMountTable()) {
        if (m.mountPoint.size() > canonical.size()
            && m.mountPoint.compare(0, canonical.size(), canonical) == 0)
            mountPoints_.insert(m.mountPoint.substr(canonical.size()));
    }
}

bool SearchEngine::isMountPoint(const std::string &path) const
{
    if (mountPoints_.empty())
        return false;
    const size_t relativeStart = root_ == "/" ? 1 : root_.size() + 1;
    return mountPoints_.find(std::string_view(path).substr(relativeStart)) != mountPoints_.end();
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

int SearchEngine::openFolder(int parentFd, const std::string &name, const std::string &path) const
{
    return parentFd >= 0 ? ::openat(parentFd, name.c_str(), FolderOpenFlags)
                         : ::open(path.c_str(), FolderOpenFlags);
}

bool SearchEngine::stopping()
{
    if (!stop_ && cancelled())
        stop_ = true;
    return stop_;
}

void SearchEngine::walk(SearchSink &sink)
{
    if (!inspected_)
        inspectRoot();
    if (!info_.readable)
        return;
    const int fd = ::openat(rootFd_, ".", FolderOpenFlags);
    if (fd < 0)
        return;
    std::string path = root_;
    path.reserve(PATH_MAX);
    walkFolder(fd, path, 0, sink);
}

void SearchEngine::walkFolder(int fd, std::string &path, int depth, SearchSink &sink)
{
    DIR *dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    std::vector<std::string> folders;
    std::vector<std::string> files;
    // A listing that fails part way yields what was read.
    while (const dirent *e = readdir(dir)) {
        if (stopping())
            break;
        const char *name = e->d_name;
        if (isDotOrDotDot(name))
            continue;
        const unsigned char type =
            e->d_type == DT_UNKNOWN ? typeByStat(dirfd(dir), name) : e->d_type;
        if (type == DT_DIR)
            folders.emplace_back(name);
        else if (type == DT_REG && name[0] != '.' && pattern_.matches(name))
            files.emplace_back(name);
    }
    std::sort(folders.begin(), folders.end(), nameLess);
    std::sort(files.begin(), files.end(), nameLess);

    int parentFd = dirfd(dir);
    if (depth >= HeldFolderDepth) {
        closedir(dir);
        dir = nullptr;
        parentFd = -1;
    }
    const size_t base = path.size();
    const bool slash = path.back() == '/';
    for (const std::string &name : folders) {
        if (stopping())
            break;
        if (!slash)
            path.push_back('/');
        path += name;
        if (!isMountPoint(path)) {
            sink.folderEntered();
            const int child = openFolder(parentFd, name, path);
            if (child >= 0) {
                if (onRootMount(child))
                    walkFolder(child, path, depth + 1, sink);
                else
                    ::close(child);
            }
            if (depth == 0 && !stopping())
                sink.topFolderDone();
        }
        path.resize(base);
    }
    for (const std::string &name : files) {
        if (stopping())
            break;
        if (!slash)
            path.push_back('/');
        path += name;
        sink.fileFound(path);
        path.resize(base);
        if (mode_ == Mode::Single)
            stop_ = true;
    }
    if (dir)
        closedir(dir);
}

} // namespace corvanta
