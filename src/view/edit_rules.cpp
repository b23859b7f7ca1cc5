#include "view/edit_rules.h"

#include "app/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"

namespace kolt {

namespace {
constexpr int kFactoryDefaultNumber = 52;  // F52: 0, 10 or 20 only
}

bool TypingRuleAccepts(std::string_view text, std::uint8_t attribute, int width) {
    const auto point = text.find('.');
    const int decimals = DecimalsOf(attribute);
    if (decimals == 0 || (attribute & kAttrFourDigits)) return point == std::string_view::npos;
    const bool checked = decimals == 1 ? (width >= 3 && width <= 5) : (width >= 4 && width <= 6);
    if (!checked) return true;
    const std::size_t before = point == std::string_view::npos ? text.size() : point;
    const std::size_t after = point == std::string_view::npos ? 0 : text.size() - point - 1;
    return before <= static_cast<std::size_t>(width - decimals - 1) && after <= static_cast<std::size_t>(decimals);
}

EditTextFault CheckEditText(std::string_view text, int number) {
    int points = 0;
    for (char c : text) {
        if (c == '.') ++points;
        else if (c < '0' || c > '9') return EditTextFault::BadCharacter;
    }
    if (points > 1) return EditTextFault::BadCharacter;
    if (text.size() > static_cast<std::size_t>(Width(number))) return EditTextFault::TooLong;
    // Each prefix of a text that passes also passes, so checking the whole text
    // is the same as checking it key by key.
    if (!TypingRuleAccepts(text, Attribute(number), Width(number))) return EditTextFault::BadFormat;
    return EditTextFault::None;
}

std::int32_t CommittedValue(std::string_view text, int number) {
    const std::uint8_t attribute = Attribute(number);
    return ParseValue(FormatValue(ParseValue(text, attribute), attribute), attribute);
}

bool RangeAccepts(int number, std::int32_t value, std::int32_t min, std::int32_t max) {
    if (min == 0 && max == 0) return true;
    if (number == kFactoryDefaultNumber) return value == 0 || value == 10 || value == 20;
    return min <= value && value <= max;
}

bool RangeAccepts(int number, std::int32_t value) {
    return RangeAccepts(number, value, MinValue(number), MaxValue(number));
}

std::string OverRangeMessage(int number, std::int32_t min, std::int32_t max) {
    const std::string separator = number == kFactoryDefaultNumber ? ", 10, " : "~";
    return std::string(text::kOverRange) + text::kCodePrefix + CodeText(number) + "\n" + text::kRangeValue +
           FormatParamValue(min, number) + separator + FormatParamValue(max, number);
}

std::string OverRangeMessage(int number) {
    return OverRangeMessage(number, MinValue(number), MaxValue(number));
}

}  // namespace kolt
