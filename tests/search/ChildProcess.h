#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace corvanta::test {

// Runs body in a forked child, where it may change what a test must not change in its own
// process (the user, the mount namespace, a seccomp filter), and returns the text body gave
// back; empty when the child died first.
inline std::string outputOfChild(const std::function<std::string()> &body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::string();
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = body();
        const ssize_t written = ::write(fds[1], out.data(), out.size());
        _exit(written == ssize_t(out.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    ::close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return text;
}

} // namespace corvanta::test
