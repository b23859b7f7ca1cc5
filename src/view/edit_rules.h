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

// Whether a setting cell may be edited at all (read-only parameters may not),
// and whether an edit may begin now: F52 resets the drive, so it is edited in
// place only while online edit is on and a station is linked.
bool SettingEditable(int number);
bool MayBeginEdit(int number, bool onlineEdit, bool linked);

// Keys the typing filter knows besides printable characters.
inline constexpr char kKeyBackspace = '\b';
inline constexpr char kKeyDelete = '\x7f';

struct TypedKeyResult {
    bool accepted = false;  // false: the text is as it was before the key
    std::string text;       // the editor's text after the key
    int caret = 0;          // caret after the key; -1: leave the selection as it was
};

// One key typed into the setting editor. `text` is the editor's text, the
// selection starts at `selStart` and is `selLength` long (0: caret only).
// Only digits, one ".", Backspace and Delete do anything; the result must fit
// `width` characters and pass TypingRuleAccepts. A key that breaks the digit
// rule leaves the text as it was with the caret at its end; any other refused
// key leaves text and selection alone.
TypedKeyResult FilterTypedKey(std::string_view text, int selStart, int selLength, char key,
                              std::uint8_t attribute, int width);

// The editor's text at the end of an edit: parsed and formatted again, so 5 in
// a one-decimal cell becomes 5.0 and an empty text 0.
std::string NormaliseEditText(std::string_view text, std::uint8_t attribute);

// What a finished edit of a setting cell does.
struct EndEditInput {
    std::string code;          // the row's "Code" cell
    std::string text;          // the editor's normalised text
    std::string previousText;  // the cell's text before the edit
    bool cancelled = false;    // ended with Escape
    std::int32_t min = 0;      // the document's limits of the parameter
    std::int32_t max = 0;
    bool onlineEdit = false;   // the application's online edit switch
    int compareMode = 0;       // of the document shown
};

struct EndEditDecision {
    int number = -1;              // -1: the row has no parameter; nothing happens
    int slot = -1;
    std::int32_t value = 0;       // the new stored value
    bool rejected = false;        // out of range: show `message`, keep everything
    std::string message;
    bool commit = false;          // store `value`, mark document and cell modified
    bool rememberOnline = false;  // keep the pre-edit state for a revert
    bool postOnline = false;      // hand the edit on to the online write
};

EndEditDecision DecideEndEdit(const EndEditInput& in);

}  // namespace kolt
