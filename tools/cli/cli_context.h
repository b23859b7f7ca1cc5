// What every command runs with: the application state (settings read from
// koltinf.ini), the prompts, the output streams, and the ways a command ends.
#pragma once

#include "base/marben_app.h"
#include "cli_args.h"
#include "cli_command.h"
#include "cli_prompts.h"

#include <iostream>
#include <optional>
#include <string>

namespace kolt::cli {

struct CliContext {
    CliContext(std::ostream& out, std::ostream& err) : out(out), err(err), prompts(out, err) {}

    std::ostream& out;
    std::ostream& err;
    CliPrompts prompts;
    CMarbenApp app;
};

// The install directory, decided as the window program decides it (so a
// build tree's kolt-cli reads the koltinf.ini of the kolt beside it). Reads
// koltinf.ini from it into the application; a missing file leaves the start values.
void LoadInstallSettings(CliContext& ctx);

// Parses a command's arguments with its own options (plus --help). On --help
// prints the command's help and returns kExitOk; on a wrong option prints the
// reason and returns kExitUsage; otherwise returns nothing and fills `parsed`.
std::optional<int> ParseCommandArgs(CliContext& ctx, const CliCommand& cmd, const Args& args,
                                    std::span<const std::span<const OptionSpec>> specs, ParsedArgs& parsed);

// Prints "kolt-cli CMD: reason" and the hint to --help; returns kExitUsage.
int UsageError(CliContext& ctx, const CliCommand& cmd, const std::string& reason);

// Tells the user why the input is refused; returns kExitRefused.
int Refuse(CliContext& ctx, const std::string& message);

// A model given as index 0..10 or as its name (any case).
std::optional<int> ParseModel(const std::string& text);

}  // namespace kolt::cli
