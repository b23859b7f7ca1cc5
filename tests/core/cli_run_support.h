// Running the built kolt-cli program from a test, in a scratch home folder: its
// exit status and what it printed on stdout and stderr.
#pragma once

#include "document_test_support.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kolt::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// Runs kolt-cli with `args`; stdout and stderr pass through the two files.
inline CliRun RunCli(std::vector<std::string> args, const std::string& outPath, const std::string& errPath) {
    const std::string bin = std::string(KOLT_TEST_BIN_DIR) + "/tools/kolt-cli";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    args.insert(args.begin(), bin);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    CliRun r;
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, bin.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    EXPECT_EQ(rc, 0) << "cannot start " << bin;
    if (rc != 0) return r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadBytes(outPath);
    r.err = ReadBytes(errPath);
    return r;
}

// kolt-cli runs with the scratch folder as its home, so no settings file leaks in.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("KOLT_HOME", dir_.Path().c_str(), 1); }
    void TearDown() override { ::unsetenv("KOLT_HOME"); }

    std::string P(const std::string& name) const { return dir_.File(name); }
    CliRun Cli(std::vector<std::string> args) { return RunCli(std::move(args), P(".stdout"), P(".stderr")); }

    TempDir dir_;
};

// kolt-cli against virtual drives of model 5 on a pseudo-terminal; the
// stations in `silent` never answer.
class CliDriveFixture : public CliFixture {
protected:
    void StartDrive(std::vector<int> stations, std::set<int> silent) {
        auto o = QuickDrive(std::move(stations), 5);
        o.silent = std::move(silent);
        drive = std::make_unique<sim::VirtualDrive>(o);
        ASSERT_TRUE(drive->Start()) << drive->Error();
    }
    void TearDown() override {
        if (drive) drive->Stop();
        CliFixture::TearDown();
    }
    // kolt-cli with the drive's device as its port.
    CliRun Bus(std::vector<std::string> args) {
        args.insert(args.end(), {"--port", drive->SlavePath()});
        return Cli(std::move(args));
    }

    std::unique_ptr<sim::VirtualDrive> drive;
};

}  // namespace kolt::testing
