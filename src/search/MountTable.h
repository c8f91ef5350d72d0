#pragma once

#include <string>
#include <vector>

namespace corvanta {

// One line of the kernel's mount table.
struct MountEntry
{
    std::string mountPoint; // absolute, unescaped
    std::string type; // "ext4", "proc", ...
};

// The mount table of this process (from /proc/self/mountinfo); empty when it cannot be read.
std::vector<MountEntry> readMountTable();
// Parses mountinfo text; lines that do not parse are skipped.
std::vector<MountEntry> parseMountInfo(const std::string &text);

// True for kernel and virtual file systems that hold no user files (proc, sysfs, cgroup, ...).
bool isPseudoFileSystemType(const std::string &type);
// The same decided from the file system under an open file or folder (statfs magic numbers).
bool isOnPseudoFileSystem(int fd);
// True for the local file systems known to fill every directory listing call as far as the
// folder goes (ext2/3/4, tmpfs, xfs, btrfs), so a call that leaves room was the last.
bool fillsEachListingCall(int fd);

} // namespace corvanta
