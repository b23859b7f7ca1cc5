#include "cli_args.h"

#include <cerrno>
#include <cstdlib>

namespace kolt::cli {

std::optional<std::string> ParsedArgs::Value(const std::string& name) const {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

namespace {

const OptionSpec* Find(std::span<const std::span<const OptionSpec>> specs, const std::string& name) {
    for (auto table : specs)
        for (const auto& s : table)
            if (name == s.name || (s.alias != nullptr && name == s.alias)) return &s;
    return nullptr;
}

}  // namespace

bool ParseArgs(const std::vector<std::string>& args, std::span<const std::span<const OptionSpec>> specs,
               ParsedArgs& out, std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            out.positionals.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            out.help = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> inlineValue;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            inlineValue = a.substr(eq + 1);
        }
        const OptionSpec* spec = Find(specs, name);
        if (spec == nullptr) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!spec->takesValue) {
            if (inlineValue) {
                error = "option '" + std::string(spec->name) + "' takes no value";
                return false;
            }
            out.flags.insert(spec->name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = "option '" + std::string(spec->name) + "' needs a value";
                return false;
            }
            inlineValue = args[++i];
        }
        out.values[spec->name] = *inlineValue;
    }
    return true;
}

std::optional<int> ParseInt(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L)
        return std::nullopt;
    // strtol takes leading blanks; an option value should not.
    if (text[0] == ' ' || text[0] == '\t') return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace kolt::cli
