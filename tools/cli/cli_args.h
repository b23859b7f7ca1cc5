// Option parsing shared by every command: "--name VALUE", "--name=VALUE",
// short aliases ("-o FILE"), flags, "--" to end the options, and --help.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace kolt::cli {

struct OptionSpec {
    const char* name;   // "--model"
    const char* alias;  // "-o", or nullptr
    bool takesValue;
};

struct ParsedArgs {
    std::map<std::string, std::string> values;  // by the option's long name
    std::set<std::string> flags;
    std::vector<std::string> positionals;
    bool help = false;

    bool Has(const std::string& name) const { return flags.count(name) != 0 || values.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// False with `error` set for an unknown option or a missing value. `specs`
// may be several tables (a command's own and the shared ones).
bool ParseArgs(const std::vector<std::string>& args, std::span<const std::span<const OptionSpec>> specs,
               ParsedArgs& out, std::string& error);

// A whole decimal integer (optional sign); nothing else may follow.
std::optional<int> ParseInt(const std::string& text);

}  // namespace kolt::cli
