// kolt-cli print: a parameter or compare file as the printed parameter list,
// into a PDF file.
#include "bus_session.h"
#include "cli_context.h"
#include "print_render.h"

#include "base/texts.h"
#include "document/doc_commands.h"

#include <array>

namespace kolt::cli {

namespace {
constexpr std::array<OptionSpec, 5> kOptions{{
    {"--output", "-o", true},
    {"--landscape", nullptr, false},
    {"--title", nullptr, false},
    {"--no-title", nullptr, false},
    {"--groups", nullptr, true},
}};
}  // namespace

#ifndef KOLT_CLI_HAS_QT
bool CanRenderPdf() { return false; }
bool RenderPdf(const PrintJob&, const std::string&, bool) { return false; }
#endif

int RunPrint(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("print");
    ParsedArgs p;
    const std::span<const OptionSpec> tables[] = {kOptions};
    if (auto done = ParseCommandArgs(ctx, cmd, args, tables, p)) return *done;
    if (!CanRenderPdf()) {
        ctx.err << "kolt-cli print: this kolt-cli was built without Qt, which the print command needs;\n"
                   "rebuild with Qt 6 (KOLT_BUILD_GUI=ON) to print.\n";
        return kExitUsage;
    }
    if (p.positionals.size() != 1) return UsageError(ctx, cmd, "give exactly one file");
    if (p.Has("--title") && p.Has("--no-title")) return UsageError(ctx, cmd, "give --title or --no-title, not both");

    PrintSelection sel = SelectionOfSettings(ctx.app.settings);
    if (p.Has("--title")) sel.title = true;
    if (p.Has("--no-title")) sel.title = false;
    if (p.Has("--groups")) {
        std::string error;
        if (!ParseGroups(p, sel.basic, sel.advanced, error)) return UsageError(ctx, cmd, error);
    }
    // koltinf.ini may hold neither group; the dialogs would not let that stand.
    if (!HasGroup(sel)) sel.basic = sel.advanced = true;

    const std::string& path = p.positionals[0];
    auto doc = OpenDocumentFile(ctx.app, path, ctx.prompts);
    if (!doc) return kExitRefused;
    const std::string out = p.Value("--output").value_or(PdfPathBeside(path));
    if (out == path) return Refuse(ctx, "The PDF would replace " + path + ": give another name with -o.");

    const bool landscape = p.Has("--landscape");
    const PrintJob job = MakePrintJob(*doc, sel);
    if (!RenderPdf(job, out, landscape)) return Refuse(ctx, std::string(text::kPdfNotWritten) + out);
    const int pages = JobPageCount(job, landscape);
    ctx.out << out << ": " << pages << (pages == 1 ? " page, " : " pages, ") << job.lines.size()
            << (job.lines.size() == 1 ? " parameter\n" : " parameters\n");
    return kExitOk;
}

}  // namespace kolt::cli
