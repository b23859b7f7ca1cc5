// What the monitors show and check, as pure functions: the fault names, the
// monitor's own number texts, station captions, the "Fun. no." list, the two
// range checks with their messages and the typing rule of the two input
// fields ("Set data" and the frequency). Both monitor windows and kolt-cli use
// them, so a panel and a shell line always agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolt {

// The fault name of the drive's fault code register: " OH" for 1 .. " OCL"
// for 35, with the leading blank; empty for 0, 12 and anything else.
std::string FaultName(std::int32_t code);
// Whether the drive reports a trip: its fault code names a fault (the monitor
// panels mark it, the trend draws it). Code 12 and unknown codes do not.
bool DriveTripped(std::int32_t code);

// The monitor's number texts, taken character by character from "%05d" of
// the value: two decimals "050.00" (5000), one decimal "230.0" (2300; the
// first digit is dropped). Values outside 0..99999 keep the same character
// positions of their longer text.
std::string TwoDecimalMonitorText(std::int64_t value);
std::string OneDecimalMonitorText(std::int64_t value);
// "Output power": volts (tenths) times amperes (tenths) as a two-decimal
// monitor text of the product's first five digits: 2300 x 100 -> "230.00".
std::string PowerMonitorText(std::int32_t outVolt, std::int32_t outAmp);

// "RUN" / "STOP", "<< REV" / "FWD >>".
std::string RunStateText(std::int32_t running);
std::string DirectionText(std::int32_t reverse);

// "Station: 007-" followed by the station title when a document is open
// (title given), "Station: 007" when none is: the single-station window's
// title and the all-station panels' labels. The title is plain text.
std::string StationCaption(int station, const std::string* title);
// The monitor error dialog's text: "Communication error!!" and a line feed,
// then "Station: 005".
std::string MonitorErrorText(int station);

// The "Fun. no." list: 111 positions, "F00".."F54" then "C00".."C55".
inline constexpr int kFunctionListSize = 111;
// Parameter number at a list position (position, or position + 45 from 55 on);
// -1 outside 0..110. And back: the position of a number, -1 without one.
int ParameterOfPosition(int position);
int PositionOfParameter(int number);
std::string FunctionCodeAt(int position);

// What the "Set data" field of a parameter takes: its attribute, limits,
// width, and the digits before and after the point (the typing rule's limits).
struct SetDataLimits {
    std::uint8_t attribute = 0;
    std::int32_t min = 0;
    std::int32_t max = 0;
    int width = 0;
    int integerDigits = 0;
    int decimals = 0;
};
SetDataLimits SetDataLimitsOf(int number);

// The frequency field's typing limits: three digits before the point, two after.
inline constexpr int kFreqIntegerDigits = 3;
inline constexpr int kFreqDecimals = 2;
inline constexpr int kInputFieldLimit = 6;  // characters in either input field

// The frequency "Set": the text parsed as a two-decimal value (as F07 is).
std::int32_t ParseFrequencyText(std::string_view text);
// Empty when lower <= value <= upper; else the "Error Message" text:
// "Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 5.00 Hz".
std::optional<std::string> FrequencyRefusal(std::int32_t value, std::int32_t lower, std::int32_t upper);

// The "Set data" "Set": the text parsed with the parameter's attribute.
std::int32_t ParseSetDataText(std::string_view text, int number);
// Empty when the value passes: every value when minimum and maximum are equal
// (F53, F54); otherwise minimum..maximum, and F52 only 0, 10 or 20. Else the
// "Error Message" text, e.g. "Over Range !!\n\nCode: F07\n\nRange Value: 1.00~200.00"
// (F52: "...Range Value: 0, 10, 20").
std::optional<std::string> SetDataRefusal(int number, std::int32_t value);

// The typing rule of the two input fields, applied when a field's text
// changes to `now` from its last accepted text `before`. What changed is the
// stretch between the common start and the common end: one character
// replaced by another stands unchecked; a deletion keeps a point the integer
// digits need; anything typed or pasted (over a selection or not) goes in character
// by character, each checked as if typed alone, the caret after the last.
// "12" typed over a selected "030.00" gives "12", not "21".
struct InputRuleResult {
    std::string text;  // what the field holds now; also its new last accepted text
    int caret = 0;     // where the caret goes
};
// `caret` is where the field's caret stands after the change (-1: not known);
// it tells "0" typed over a selected "12.50" from "12.5" deleted before it.
InputRuleResult ApplyInputRule(std::string_view before, std::string_view now, int integerDigits, int decimals,
                               int caret = -1);
// Whether `text` could stand in such a field: typed into it character by
// character, nothing would be refused or dropped, and it fits the field's
// six characters (a whole text given on a command line).
bool InputRuleTakes(std::string_view text, int integerDigits, int decimals);

}  // namespace kolt
