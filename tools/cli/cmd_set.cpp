// kolt-cli set: edits settings the way the grid's setting cells do.
#include "cli_context.h"

#include "app/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "view/edit_rules.h"

#include <cctype>
#include <utility>
#include <vector>

namespace kolt::cli {

namespace {

struct Assignment {
    std::string code;
    std::string text;
};

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Refusal(int number, const char* reason) {
    return std::string(text::kCodePrefix) + CodeText(number) + "\n" + reason;
}

// The message that refuses `a`, or "" when the document takes it as `value`.
std::string Check(const CMarbenDoc& doc, const Assignment& a, int number, std::int32_t& value) {
    if (IsReadOnly(number)) return Refusal(number, text::kSettingReadOnly);
    if (a.text.empty()) return Refusal(number, text::kSettingNoValue);
    switch (CheckEditText(a.text, number)) {
    case EditTextFault::None: break;
    case EditTextFault::BadCharacter: return Refusal(number, text::kSettingBadCharacters);
    case EditTextFault::TooLong:
    case EditTextFault::BadFormat:
        return Refusal(number, text::kSettingBadFormat) + "\n" + text::kRangeValue + RangeText(number);
    }
    value = CommittedValue(a.text, number);
    const std::int32_t min = doc.minByNumber[number];
    const std::int32_t max = doc.maxByNumber[number];
    if (!RangeAccepts(number, value, min, max)) return OverRangeMessage(number, min, max);
    return {};
}

}  // namespace

int RunSet(CliContext& ctx, const Args& args) {
    const CliCommand& cmd = *FindCommand("set");
    ParsedArgs p;
    if (auto done = ParseCommandArgs(ctx, cmd, args, {}, p)) return *done;
    if (p.positionals.size() < 2) return UsageError(ctx, cmd, "give a file and at least one CODE=VALUE");

    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < p.positionals.size(); ++i) {
        const std::string& a = p.positionals[i];
        const auto eq = a.find('=');
        if (eq == std::string::npos || eq == 0) return UsageError(ctx, cmd, "expected CODE=VALUE, not '" + a + "'");
        assignments.push_back({Upper(a.substr(0, eq)), a.substr(eq + 1)});
    }

    const std::string& path = p.positionals[0];
    auto doc = OpenDocumentFile(ctx.app, path, ctx.prompts);
    if (!doc) return kExitRefused;
    if (doc->IsCompare()) {
        ctx.prompts.Message(text::kCompareNotEditable, text::kErrorCaption, Icon::Information);
        return kExitRefused;
    }

    // Every value is checked before anything is stored: one refusal leaves the file as it was.
    std::vector<std::pair<int, std::int32_t>> accepted;
    for (const auto& a : assignments) {
        const int number = NumberFromCode(a.code);
        if (number < 0) {
            ctx.prompts.Message(text::kUnknownCode + a.code, text::kErrorCaption, Icon::Information);
            return kExitRefused;
        }
        std::int32_t value = 0;
        const std::string refusal = Check(*doc, a, number, value);
        if (!refusal.empty()) {
            ctx.prompts.Message(refusal, text::kErrorCaption, Icon::Information);
            return kExitRefused;
        }
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
