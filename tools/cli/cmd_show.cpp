// kolt-cli show: a parameter or compare file as the grid shows it.
#include "cli_context.h"
#include "table_print.h"

#include "document/doc_commands.h"

#include <array>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 1> kOptions{{
    {"--csv", nullptr, false},
}};
}  // namespace

int RunShow(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("show");
    ParsedArgs p;
    const std::span<const OptionSpec> tables[] = {kOptions};
    if (auto done = ParseCommandArgs(ctx, cmd, args, tables, p)) return *done;
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one file");

    // A file named on the command line is opened without the extension test.
    auto doc = OpenDocumentFile(ctx.app, p.positionals[0], ctx.prompts);
    if (!doc) return kExitRefused;
    PrintDocument(ctx.out, *doc, p.Has("--csv"));
    return kExitOk;
}

}  // namespace kolt::cli
