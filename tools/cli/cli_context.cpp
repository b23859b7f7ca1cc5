#include "cli_context.h"

#include "base/settings.h"
#include "base/texts.h"
#include "catalogue/models.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace kolt::cli {

namespace {

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<std::size_t>(n));
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos || cut == 0 ? std::string("/") : path.substr(0, cut);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

void LoadInstallSettings(CliContext& ctx) {
    const char* home = std::getenv("KOLT_HOME");
    ctx.app.installDir = home != nullptr && *home != '\0' ? std::string(home) : ExecutableFolder();
    while (ctx.app.installDir.size() > 1 && ctx.app.installDir.back() == '/') ctx.app.installDir.pop_back();
    ReadSettingsFile(ctx.app.SettingsPath(), ctx.app.settings);
}

std::optional<int> ParseCommandArgs(CliContext& ctx, const CliCommand& cmd, const Args& args,
                                    std::span<const std::span<const OptionSpec>> specs, ParsedArgs& parsed) {
    std::string error;
    if (!ParseArgs(args, specs, parsed, error)) return UsageError(ctx, cmd, error);
    if (parsed.help) {
        ctx.out << cmd.help;
        return kExitOk;
    }
    return std::nullopt;
}

int UsageError(CliContext& ctx, const CliCommand& cmd, const std::string& reason) {
    ctx.err << "kolt-cli " << cmd.name << ": " << reason << "\n"
            << "Try 'kolt-cli " << cmd.name << " --help'.\n";
    return kExitUsage;
}

int Refuse(CliContext& ctx, const std::string& message) {
    ctx.prompts.Message(message, text::kErrorCaption, Icon::Information);
    return kExitRefused;
}

std::optional<int> ParseModel(const std::string& text) {
    if (auto index = ParseInt(text)) {
        if (*index >= 0 && *index < kModelCount) return index;
        return std::nullopt;
    }
    for (int m = 0; m < kModelCount; ++m)
        if (SameIgnoringCase(text, ModelName(m))) return m;
    return std::nullopt;
}

}  // namespace kolt::cli
