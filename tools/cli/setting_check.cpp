#include "setting_check.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "view/edit_rules.h"

#include <cctype>

namespace kolt::cli {

namespace {

std::string Refusal(int number, const char* reason) {
    return std::string(text::kCodePrefix) + CodeText(number) + "\n" + reason;
}

}  // namespace

bool SplitAssignment(const std::string& arg, std::string& code, std::string& text) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    code = arg.substr(0, eq);
    for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    text = arg.substr(eq + 1);
    return true;
}

std::string SettingRefusal(int number, const std::string& text, std::int32_t min, std::int32_t max,
                           std::int32_t& value) {
    if (IsReadOnly(number)) return Refusal(number, text::kSettingReadOnly);
    if (text.empty()) return Refusal(number, text::kSettingNoValue);
    switch (CheckEditText(text, number)) {
    case EditTextFault::None: break;
    case EditTextFault::BadCharacter: return Refusal(number, text::kSettingBadCharacters);
    case EditTextFault::TooLong:
    case EditTextFault::BadFormat:
        return Refusal(number, text::kSettingBadFormat) + "\n" + text::kRangeValue + RangeText(number);
    }
    value = CommittedValue(text, number);
    if (!RangeAccepts(number, value, min, max)) return OverRangeMessage(number, min, max);
    return {};
}

}  // namespace kolt::cli
