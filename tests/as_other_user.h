// Running one test of this very test program as an ordinary user. Tests run as
// root here, and root may write anywhere, so a case that needs a folder the
// user cannot write runs its inner part (a DISABLED_ test, so it never runs on
// its own) under setpriv as "nobody", with an environment of its own.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kolt::testing {

inline constexpr uid_t kNobodyId = 65534;
inline constexpr const char* kSetpriv = "/usr/bin/setpriv";

// Why the case cannot run here; empty when it can.
inline std::string CannotRunAsOtherUser() {
    if (::geteuid() != 0) return "needs root, to run its inner part as another user";
    if (::access(kSetpriv, X_OK) != 0) return "needs setpriv (util-linux)";
    return {};
}

struct OtherUserRun {
    int status = -1;     // exit status of the inner test program
    std::string output;  // its stdout and stderr, for the failure message
};

// Runs this program as nobody with only `filter` selected and `env` as its
// whole environment; `outputFile` (in a folder root may write) takes its output.
inline OtherUserRun RunSelfAsNobody(const std::string& filter, std::vector<std::string> env,
                                    const std::string& outputFile) {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    OtherUserRun run;
    if (n <= 0) return run;
    self[n] = '\0';
    std::vector<std::string> args = {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups", self,
                                     "--gtest_also_run_disabled_tests", "--gtest_filter=" + filter};
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, kSetpriv, &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return run;
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(outputFile);
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

// A scratch layout for such a run, made by root: `programFolder` that only
// root may write (as <prefix>/bin of an installed copy), and `userHome` that
// belongs to nobody. Everything is world-readable so nobody can look in.
struct OtherUserFolders {
    OtherUserFolders() {
        std::string tmpl = "/tmp/kolt-user-XXXXXX";
        if (::mkdtemp(tmpl.data()) == nullptr) return;
        root = tmpl;
        programFolder = root + "/bin";
        userHome = root + "/home";
        ok = ::chmod(root.c_str(), 0755) == 0 && ::mkdir(programFolder.c_str(), 0755) == 0 &&
             ::mkdir(userHome.c_str(), 0755) == 0 && ::chown(userHome.c_str(), kNobodyId, kNobodyId) == 0;
    }
    ~OtherUserFolders() {
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
    bool ok = false;
    std::string root, programFolder, userHome;
};

}  // namespace kolt::testing
