// kolt-cli set: edits settings the way the grid's setting cells do.
#include "cli_context.h"
#include "setting_check.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"

#include <utility>
#include <vector>

namespace kolt::cli {

namespace {

struct Assignment {
    std::string code;
    std::string text;
};

}  // namespace

int RunSet(CliContext& ctx, const Args& args) {
    // With a station or a port, the setting goes to a drive instead of a file.
    if (IsBusSet(args)) return RunSetBus(ctx, args);
    const CliCommand& cmd = *FindCommand("set");
    ParsedArgs p;
    if (auto done = ParseCommandArgs(ctx, cmd, args, {}, p)) return *done;
    if (p.positionals.size() < 2) return UsageError(ctx, cmd, "give a file and at least one CODE=VALUE");

    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < p.positionals.size(); ++i) {
        Assignment a;
        if (!SplitAssignment(p.positionals[i], a.code, a.text))
            return UsageError(ctx, cmd, "expected CODE=VALUE, not '" + p.positionals[i] + "'");
        assignments.push_back(a);
    }

    const std::string& path = p.positionals[0];
    auto doc = OpenDocumentFile(ctx.app, path, ctx.prompts);
    if (!doc) return kExitRefused;
    if (doc->IsCompare()) return Refuse(ctx, text::kCompareNotEditable);

    // Every value is checked before anything is stored: one refusal leaves the file as it was.
    std::vector<std::pair<int, std::int32_t>> accepted;
    for (const auto& a : assignments) {
        const int number = NumberFromCode(a.code);
        if (number < 0) return Refuse(ctx, text::kUnknownCode + a.code);
        std::int32_t value = 0;
        const std::string refusal =
            SettingRefusal(number, a.text, doc->minByNumber[number], doc->maxByNumber[number], value);
        if (!refusal.empty()) return Refuse(ctx, refusal);
        accepted.emplace_back(number, value);
    }

    std::string report;
    for (const auto& [number, value] : accepted) {
        auto& setting = doc->values[0][SlotOfNumber(number)];
        if (setting == value) continue;
        report += CodeText(number) + ": " + FormatParamValue(setting, number) + " -> " +
                  FormatParamValue(value, number) + "\n";
        setting = value;
    }
    if (report.empty()) return kExitOk;  // nothing changed: the file is not rewritten
    doc->SetModifiedFlag(true);
    if (!WriteDocFile(*doc, path, ctx.prompts)) return kExitRefused;
    ctx.out << report;
    return kExitOk;
}

}  // namespace kolt::cli
