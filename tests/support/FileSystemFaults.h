#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanta::test {

// While alive, this thread's permission checks hold for root as for anyone: a file without read
// permission cannot be read. Tests run as root in CI, where every file would be readable.
class WithoutRootOverride {
public:
    WithoutRootOverride()
    {
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutRootOverride()
    {
        if (active_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutRootOverride(const WithoutRootOverride &) = delete;
    WithoutRootOverride &operator=(const WithoutRootOverride &) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool active_ = false;
};

// A folder on a file system that is really full, made in one of two ways: a small tmpfs mounted
// over the folder and filled up (where this process may mount, as root in CI), or else a child
// process whose files may not grow at all (RLIMIT_FSIZE). CORVANTA_FULL_DISK=fsize picks the
// second even where mounting works.
//
// Use: make it before laying down the folder's files; then run the step with onFullDisk, which
// returns what the step returned (in the child's case, through its exit status).
class FullDisk {
public:
    enum class Mode { Tmpfs, FileSizeLimit };

    explicit FullDisk(const QString &folder) : folder_(QFile::encodeName(folder))
    {
        if (qgetenv("CORVANTA_FULL_DISK") != "fsize")
            mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                               "size=512k,mode=0700") == 0;
        mode_ = mounted_ ? Mode::Tmpfs : Mode::FileSizeLimit;
    }
    ~FullDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    Mode mode() const { return mode_; }

    bool onFullDisk(const std::function<bool()> &step)
    {
        if (mode_ == Mode::Tmpfs) {
            fill();
            return step();
        }
        const pid_t child = ::fork();
        if (child < 0)
            return false;
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &none);
            ::_exit(step() ? 0 : 1);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
    Mode mode_ = Mode::FileSizeLimit;

    void fill() const
    {
        const QByteArray path = folder_ + "/.filler";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        static const char block[4096] = {};
        for (size_t size : {sizeof block, size_t(1)}) {
            while (::write(fd, block, size) > 0) { }
        }
        ::close(fd);
    }
};

} // namespace corvanta::test
