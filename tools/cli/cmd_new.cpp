// kolt-cli new: File New without the window.
#include "cli_context.h"

#include "document/doc_commands.h"
#include "document/doc_file.h"

#include <array>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 3> kOptions{{
    {"--model", nullptr, true},
    {"--60hz", nullptr, false},
    {"--output", "-o", true},
}};
}  // namespace

int RunNew(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("new");
    ParsedArgs p;
    const std::span<const OptionSpec> tables[] = {kOptions};
    if (auto done = ParseCommandArgs(ctx, cmd, args, tables, p)) return *done;

    if (!p.positionals.empty()) return UsageError(ctx, cmd, "unexpected argument '" + p.positionals[0] + "'");
    const auto modelText = p.Value("--model");
    if (!modelText) return UsageError(ctx, cmd, "--model is required");
    const auto model = ParseModel(*modelText);
    if (!model) return UsageError(ctx, cmd, "unknown model '" + *modelText + "'");
    const auto output = p.Value("--output");
    if (!output || output->empty()) return UsageError(ctx, cmd, "-o FILE is required");

    PrepareFileNew(ctx.app, *model, !p.Has("--60hz"));
    auto doc = CreateNewDocument(ctx.app);
    return WriteDocFile(*doc, *output, ctx.prompts) ? kExitOk : kExitRefused;
}

}  // namespace kolt::cli
