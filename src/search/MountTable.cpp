#include "search/MountTable.h"

#include <sys/vfs.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace corvanta {

namespace {

// Mount points escape space, tab, newline and backslash as three octal digits.
std::string unescapeMountField(const std::string &field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3'
            && field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0'
            && field[i + 3] <= '7') {
            out.push_back(
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

} // namespace

std::vector<MountEntry> parseMountInfo(const std::string &text)
{
    std::vector<MountEntry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint, options, field;
        if (!(fields >> id >> parent >> device >> root >> mountPoint >> options))
            continue;
        while (fields >> field && field != "-") { }
        std::string type;
        if (field != "-" || !(fields >> type))
            continue;
        mounts.push_back({unescapeMountField(mountPoint), type});
    }
    return mounts;
}

std::vector<MountEntry> readMountTable()
{
    std::ifstream in("/proc/self/mountinfo");
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return parseMountInfo(text.str());
}

bool isPseudoFileSystemType(const std::string &type)
{
    static const std::array<const char *, 21> pseudo = {
        "proc",
        "sysfs",
        "cgroup",
        "cgroup2",
        "devpts",
        "debugfs",
        "tracefs",
        "securityfs",
        "bpf",
        "pstore",
        "configfs",
        "fusectl",
        "hugetlbfs",
        "mqueue",
        "binfmt_misc",
        "autofs",
        "selinuxfs",
        "efivarfs",
        "nsfs",
        "devtmpfs",
        "rpc_pipefs",
    };
    for (const char *name : pseudo) {
        if (type == name)
            return true;
    }
    return false;
}

bool isOnPseudoFileSystem(int fd)
{
    struct statfs fs
    { };
    if (fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9fa0: // proc
    case 0x62656572: // sysfs
    case 0x27e0eb: // cgroup
    case 0x63677270: // cgroup2
    case 0x1cd1: // devpts
    case 0x64626720: // debugfs
    case 0x74726163: // tracefs
    case 0x73636673: // securityfs
    case 0xcafe4a11: // bpf
    case 0x6165676c: // pstore
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x958458f6: // hugetlbfs
    case 0x19800202: // mqueue
    case 0x42494e4d: // binfmt_misc
    case 0x0187: // autofs
    case 0xf97cff8c: // selinuxfs
    case 0xde5e81e4: // efivarfs
    case 0x6e736673: // nsfs
        return true;
    default:
        return false;
    }
}

} // namespace corvanta

namespace corvanta {

bool fillsEachListingCall(int fd)
{
    struct statfs fs
    { };
    if (fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xef53: // ext2, ext3, ext4
    case 0x01021994: // tmpfs
    case 0x58465342: // xfs
    case 0x9123683e: // btrfs
        return true;
    default:
        return false;
    }
}

} // namespace corvanta
