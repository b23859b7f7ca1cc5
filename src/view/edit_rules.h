// The rules a setting edit must pass before it reaches the document: the
// editor's typing rule, the range check and the "Over Range" message. The grid
// applies them key by key and on commit; the command line applies them to a
// whole text at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kolt {

// Rule 5 of the typing filter: may the editor hold `text` after a key? With D
// decimals and width W, the integer formats take no point, and one decimal with
// W 3..5 or two decimals with W 4..6 take at most W-D-1 digits before the point
// and D after it. Other widths are not checked beyond the width limit.
bool TypingRuleAccepts(std::string_view text, std::uint8_t attribute, int width);

// Why a whole text could not have been typed into the setting cell of `number`.
enum class EditTextFault {
    None,
    BadCharacter,  // something other than digits and one point
    TooLong,       // longer than the parameter's width
    BadFormat,     // breaks the display format's digit rule
};
EditTextFault CheckEditText(std::string_view text, int number);

// The stored value of a committed text: parsed, shown again in the display
// format (as the editor does when it closes) and parsed once more.
std::int32_t CommittedValue(std::string_view text, int number);

// The range check of a committed value. Limits both 0 mean "not checked"; F52
// accepts only 0, 10 and 20.
bool RangeAccepts(int number, std::int32_t value, std::int32_t min, std::int32_t max);
bool RangeAccepts(int number, std::int32_t value);  // limits from the catalogue

// "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00"; for F52 the range
// line lists "0, 10, 20".
std::string OverRangeMessage(int number, std::int32_t min, std::int32_t max);
std::string OverRangeMessage(int number);  // limits from the catalogue

}  // namespace kolt
