#include "cli_context.h"

#include "base/install_dir.h"
#include "base/settings.h"
#include "base/texts.h"
#include "catalogue/models.h"

#include <cctype>

namespace kolt::cli {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

void LoadInstallSettings(CliContext& ctx) {
    // Decided as the window program decides it, but never created here: this
    // tool only reads the settings, and a missing per-user folder just means
    // none yet. A $KOLT_HOME naming no folder is most likely a typing slip:
    // the command still runs, but not without saying that koltinf.ini's port
    // and line settings are not the ones in use.
    const InstallDirResult found = ResolveInstallDir(CurrentInstallDirInputs(), false);
    ctx.app.installDir = found.choice.dir;
    if (!found.ok && found.choice.source == InstallDirSource::KoltHome)
        ctx.err << "kolt-cli: KOLT_HOME names no folder: " << found.choice.dir
                << "; the start settings are used\n";
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
