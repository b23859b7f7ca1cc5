// kolt-cli compare: File with File and Files with Default without the dialogs.
#include "cli_context.h"
#include "table_print.h"

#include "document/compare.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace kolt::cli {

namespace {

constexpr std::array<OptionSpec, 5> kOptions{{
    {"--defaults", nullptr, false},
    {"--model", nullptr, true},
    {"--60hz", nullptr, false},
    {"--output", "-o", true},
    {"--csv", nullptr, false},
}};

// Prints the new compare document, or saves it when -o names a file.
int Finish(CliContext& ctx, const ParsedArgs& p) {
    auto doc = CreateNewDocument(ctx.app);
    if (auto out = p.Value("--output")) return WriteDocFile(*doc, *out, ctx.prompts) ? kExitOk : kExitRefused;
    PrintDocument(ctx.out, *doc, p.Has("--csv"));
    return kExitOk;
}

// True when -o names one of the files being compared: saving would destroy a source.
bool OutputIsASource(const ParsedArgs& p) {
    const auto out = p.Value("--output");
    if (!out) return false;
    for (const auto& source : p.positionals) {
        std::error_code ec;
        if (std::filesystem::equivalent(*out, source, ec)) return true;
    }
    return false;
}

}  // namespace

int RunCompare(CliContext& ctx, const Args& args) {
    // With a station or a port, a drive is compared with its defaults.
    if (IsBusSet(args)) return RunCompareBus(ctx, args);
    const CliCommand& cmd = *FindCommand("compare");
    ParsedArgs p;
    const std::span<const OptionSpec> tables[] = {kOptions};
    if (auto done = ParseCommandArgs(ctx, cmd, args, tables, p)) return *done;
    if (auto out = p.Value("--output"); out && out->empty()) return UsageError(ctx, cmd, "-o needs a file name");
    if (p.Has("--output") && p.Has("--csv")) return UsageError(ctx, cmd, "--csv prints; it cannot go with -o");
    if (OutputIsASource(p)) return UsageError(ctx, cmd, "-o names one of the files being compared");

    if (!p.Has("--defaults")) {
        if (p.Has("--model") || p.Has("--60hz")) return UsageError(ctx, cmd, "--model and --60hz go with --defaults");
        if (p.positionals.size() != 2) return UsageError(ctx, cmd, "give two parameter files");
        FileWithFileData data;
        for (int k = 0; k < 2; ++k)
            if (!data.Load(k, p.positionals[k], ctx.prompts)) return kExitRefused;
        StageFileWithFile(ctx.app, data.files[0], data.files[1], FileWithFileDiffers(data.files[0], data.files[1]));
        return Finish(ctx, p);
    }

    if (p.positionals.empty() || p.positionals.size() > 3) return UsageError(ctx, cmd, "give one to three parameter files");
    const auto modelText = p.Value("--model");
    if (!modelText) return UsageError(ctx, cmd, "--model is required with --defaults");
    const auto model = ParseModel(*modelText);
    if (!model) return UsageError(ctx, cmd, "unknown model '" + *modelText + "'");

    FilesWithDefaultData data;
    data.Preset(ctx.app);
    data.model = *model;
    data.frequency = p.Has("--60hz") ? 1 : 0;
    for (std::size_t k = 0; k < p.positionals.size(); ++k)
        if (!data.Load(static_cast<int>(k), p.positionals[k], ctx.prompts)) return kExitRefused;
    StageFilesWithDefault(ctx.app, data);
    return Finish(ctx, p);
}

}  // namespace kolt::cli
