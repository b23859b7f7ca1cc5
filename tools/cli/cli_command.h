// The command table of kolt-cli. A command is a name, a one-line summary, its
// help text and the function that runs it; adding a command is adding a row.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolt::cli {

// Exit status: done; input refused (the reason on stderr, files untouched);
// the command line itself was wrong.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

struct CliContext;
using Args = std::vector<std::string>;

struct CliCommand {
    const char* name;
    const char* summary;
    const char* help;  // full help: usage lines, then options
    int (*run)(CliContext& ctx, const Args& args);
};

std::span<const CliCommand> Commands();
const CliCommand* FindCommand(std::string_view name);

int RunNew(CliContext& ctx, const Args& args);
int RunShow(CliContext& ctx, const Args& args);
int RunSet(CliContext& ctx, const Args& args);
int RunCompare(CliContext& ctx, const Args& args);
int RunScan(CliContext& ctx, const Args& args);
int RunRead(CliContext& ctx, const Args& args);
int RunWrite(CliContext& ctx, const Args& args);
int RunGet(CliContext& ctx, const Args& args);
int RunSetBus(CliContext& ctx, const Args& args);
int RunCompareBus(CliContext& ctx, const Args& args);
int RunPrint(CliContext& ctx, const Args& args);
int RunMonitor(CliContext& ctx, const Args& args);
int RunControl(CliContext& ctx, const Args& args);
int RunPorts(CliContext& ctx, const Args& args);
int RunBackup(CliContext& ctx, const Args& args);
int RunRestore(CliContext& ctx, const Args& args);
int RunDrift(CliContext& ctx, const Args& args);

// `set` or `compare` with --station or --port: the drive form of the command.
bool IsBusSet(const Args& args);

}  // namespace kolt::cli
