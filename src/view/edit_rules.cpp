#include "view/edit_rules.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"

#include <algorithm>

namespace kolt {

namespace {
constexpr int kFactoryDefaultNumber = 52;  // F52: 0, 10 or 20 only

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
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

bool SettingEditable(int number) { return FindParam(number) != nullptr && !IsReadOnly(number); }

bool MayBeginEdit(int number, bool onlineEdit, bool linked) {
    if (!SettingEditable(number)) return false;
    return number != kFactoryDefaultNumber || (onlineEdit && linked);
}

TypedKeyResult FilterTypedKey(std::string_view text, int selStart, int selLength, char key, std::uint8_t attribute,
                              int width) {
    const int size = static_cast<int>(text.size());
    selStart = std::clamp(selStart, 0, size);
    selLength = std::clamp(selLength, 0, size - selStart);

    TypedKeyResult ignored{false, std::string(text), -1};  // caret -1: leave the selection as it was
    std::string rest(text);
    rest.erase(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength));

    TypedKeyResult out{true, rest, selStart};
    if (key == kKeyBackspace || key == kKeyDelete) {
        if (selLength == 0) {
            const int at = key == kKeyBackspace ? selStart - 1 : selStart;
            if (at < 0 || at >= size) return {true, std::string(text), selStart};
            out.text.erase(static_cast<std::size_t>(at), 1);
            out.caret = at;
        }
    } else if (IsDigit(key) || key == '.') {
        if (key == '.' && rest.find('.') != std::string::npos) return ignored;
        out.text.insert(static_cast<std::size_t>(selStart), 1, key);
        out.caret = selStart + 1;
        // The editor holds at most the parameter's width; a key beyond it does nothing.
        if (width > 0 && static_cast<int>(out.text.size()) > width) return ignored;
    } else {
        return ignored;
    }
    if (!TypingRuleAccepts(out.text, attribute, width)) return {false, std::string(text), size};
    return out;
}

std::string NormaliseEditText(std::string_view text, std::uint8_t attribute) {
    return FormatValue(ParseValue(text, attribute), attribute);
}

EndEditDecision DecideEndEdit(const EndEditInput& in) {
    EndEditDecision d;
    const int number = NumberFromCodeCell(in.code);
    const int slot = number < 0 ? -1 : SlotOfNumber(number);
    if (slot < 0) return d;
    d.number = number;
    d.slot = slot;
    d.value = ParseValue(in.text, Attribute(number));
    // Escape puts the old text back: nothing is checked and nothing changes.
    if (in.cancelled) return d;
    if (!RangeAccepts(number, d.value, in.min, in.max)) {
        d.rejected = true;
        d.message = OverRangeMessage(number, in.min, in.max);
        return d;
    }
    d.commit = in.text != in.previousText;
    if (in.onlineEdit && in.compareMode == 0) {
        d.rememberOnline = true;
        // F52 = 0 resets nothing, so there is nothing to send.
        d.postOnline = !(number == kFactoryDefaultNumber && d.value == 0);
    }
    return d;
}

}  // namespace kolt
