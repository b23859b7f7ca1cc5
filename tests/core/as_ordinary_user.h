// Folder and file rights do not stop root: checks about a user who may not
// write somewhere run as an ordinary user, in a child process when we are root.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kolt::testing {

// Runs `body` as an ordinary user and returns what it returned.
inline std::string AsOrdinaryUser(const std::function<std::string()>& body) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() != 0) return body();
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string out = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 ? body() : "setuid failed";
        [[maybe_unused]] auto n = ::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return out;
}

}  // namespace kolt::testing
