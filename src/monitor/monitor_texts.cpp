#include "monitor/monitor_texts.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"

#include <cinttypes>
#include <cstdio>
#include <iterator>

namespace kolt {

namespace {

constexpr int kFactoryDefault = 52;   // F52: 0, 10 or 20 only
constexpr int kUpperLimitParam = 7;   // F07: its attribute is the frequency's
constexpr int kPositionsOfF = 55;     // F00..F54; C00 follows at position 55
constexpr int kCodeGap = 45;          // C00 is number 100 at position 55

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "%05d" of the value, at least five characters.
std::string Digits(std::int64_t value) {
    char d[32];
    std::snprintf(d, sizeof d, "%05" PRId64, value);
    return d;
}

std::string TwoDecimalFormat(std::int32_t value) { return FormatValue(value, Attribute(kUpperLimitParam)); }

}  // namespace

std::string FaultName(std::int32_t code) {
    if (code < 1 || code >= static_cast<std::int32_t>(std::size(text::kFaultNames))) return {};
    return text::kFaultNames[code];
}

bool DriveTripped(std::int32_t code) { return !FaultName(code).empty(); }

std::string TwoDecimalMonitorText(std::int64_t value) {
    const std::string d = Digits(value);
    return {d[0], d[1], d[2], '.', d[3], d[4]};
}

std::string OneDecimalMonitorText(std::int64_t value) {
    const std::string d = Digits(value);
    return {d[1], d[2], d[3], '.', d[4]};
}

std::string PowerMonitorText(std::int32_t outVolt, std::int32_t outAmp) {
    // Two 16-bit registers: the product needs more than 32 bits.
    return TwoDecimalMonitorText(static_cast<std::int64_t>(outVolt) * outAmp);
}

std::string RunStateText(std::int32_t running) { return running == 1 ? text::kRunText : text::kStopText; }

std::string DirectionText(std::int32_t reverse) { return reverse == 1 ? text::kRevText : text::kFwdText; }

std::string StationCaption(int station, const std::string* title) {
    char buf[32];
    std::snprintf(buf, sizeof buf, title ? text::kStationTitled : text::kStationNumber, station);
    std::string caption = std::string(text::kStation) + buf;
    if (title) caption += *title;
    return caption;
}

std::string MonitorErrorText(int station) {
    return std::string(text::kCommError) + "\n" + StationCaption(station, nullptr);
}

int ParameterOfPosition(int position) {
    if (position < 0 || position >= kFunctionListSize) return -1;
    return position < kPositionsOfF ? position : position + kCodeGap;
}

int PositionOfParameter(int number) {
    if (number >= 0 && number < kPositionsOfF) return number;
    if (number >= kCFirstNumber && number < kCFirstNumber + kCCount) return number - kCodeGap;
    return -1;
}

std::string FunctionCodeAt(int position) { return CodeText(ParameterOfPosition(position)); }

SetDataLimits SetDataLimitsOf(int number) {
    SetDataLimits l;
    l.attribute = Attribute(number);
    l.min = MinValue(number);
    l.max = MaxValue(number);
    l.width = Width(number);
    l.decimals = DecimalsOf(l.attribute);
    l.integerDigits = l.decimals > 0 ? l.width - l.decimals - 1 : l.width;
    return l;
}

std::int32_t ParseFrequencyText(std::string_view text) { return ParseValue(text, Attribute(kUpperLimitParam)); }

std::optional<std::string> FrequencyRefusal(std::int32_t value, std::int32_t lower, std::int32_t upper) {
    if (value >= lower && value <= upper) return std::nullopt;
    char range[96];
    std::snprintf(range, sizeof range, text::kFreqRange, TwoDecimalFormat(lower).c_str(),
                  TwoDecimalFormat(upper).c_str());
    return std::string(text::kOverRange) + text::kRangeValue + range;
}

std::int32_t ParseSetDataText(std::string_view text, int number) { return ParseValue(text, Attribute(number)); }

std::optional<std::string> SetDataRefusal(int number, std::int32_t value) {
    const std::int32_t min = MinValue(number);
    const std::int32_t max = MaxValue(number);
    if (min == max) return std::nullopt;
    const bool inRange = value >= min && value <= max;
    if (inRange && (number != kFactoryDefault || value == 0 || value == 10 || value == 20)) return std::nullopt;
    char range[128];
    std::snprintf(range, sizeof range, number == kFactoryDefault ? text::kSetDataRangeF52 : text::kSetDataRange,
                  text::kRangeValue, FormatParamValue(min, number).c_str(), FormatParamValue(max, number).c_str());
    return std::string(text::kOverRange) + text::kCodePrefix + CodeText(number) + range;
}

namespace {

// Only digits and the first point stay; the caret keeps its place among them.
InputRuleResult Kept(std::string_view text, std::size_t caret) {
    InputRuleResult out;
    bool sawPoint = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool keep = IsDigit(c) || (c == '.' && !sawPoint);
        if (c == '.') sawPoint = true;
        if (!keep) continue;
        out.text.push_back(c);
        if (i < caret) ++out.caret;
    }
    return out;
}

// One character typed at `at` into an accepted text: refused when it is a
// second point or makes either part longer than allowed.
InputRuleResult TypeOne(std::string_view before, std::size_t at, char typed, int integerDigits, int decimals) {
    std::string text(before);
    text.insert(at, 1, typed);
    const std::size_t point = text.find('.');
    const std::size_t intPart = point == std::string::npos ? text.size() : point;
    const std::size_t decPart = point == std::string::npos ? 0 : text.size() - point - 1;
    const bool refused = (typed == '.' && before.find('.') != std::string_view::npos) ||
                         intPart > static_cast<std::size_t>(integerDigits) ||
                         decPart > static_cast<std::size_t>(decimals);
    if (refused) return Kept(before, at);
    return Kept(text, IsDigit(typed) || typed == '.' ? at + 1 : at);
}

}  // namespace

InputRuleResult ApplyInputRule(std::string_view before, std::string_view now, int integerDigits, int decimals,
                               int caret) {
    // The changed stretch: what lies between the common start and the common
    // end. The field's caret stands at the end of what went in, which tells a
    // selection typed over from a deletion where the texts match by chance.
    const auto sameTail = [&](std::size_t n) {
        return n <= before.size() && now.substr(now.size() - n) == before.substr(before.size() - n);
    };
    const auto at = static_cast<std::size_t>(caret);
    const bool caretKnown = caret >= 0 && at <= now.size() && sameTail(now.size() - at);
    std::size_t q = caretKnown ? now.size() - at : 0;
    std::size_t p = 0;
    while (p + q < before.size() && p + q < now.size() && before[p] == now[p]) ++p;
    if (!caretKnown)
        while (p + q < before.size() && p + q < now.size() && before[before.size() - 1 - q] == now[now.size() - 1 - q])
            ++q;
    const std::string_view typed = now.substr(p, now.size() - q - p);
    // One character replaced by another: the limits are not applied.
    if (now.size() == before.size() && typed.size() <= 1) return Kept(now, p + typed.size());
    if (typed.empty()) {
        // Deleted: a point taken out of a text too long without it comes back.
        std::string text(now);
        if (before[p] == '.' && now.size() > static_cast<std::size_t>(integerDigits)) text.insert(p, 1, '.');
        return Kept(text, p);
    }
    // Typed or pasted, over a selection or not: the replaced stretch goes, then
    // each character is typed in turn where the previous one went.
    InputRuleResult r{std::string(before.substr(0, p)) + std::string(before.substr(before.size() - q)),
                      static_cast<int>(p)};
    for (char c : typed) r = TypeOne(r.text, static_cast<std::size_t>(r.caret), c, integerDigits, decimals);
    return r;
}

bool InputRuleTakes(std::string_view text, int integerDigits, int decimals) {
    if (text.size() > static_cast<std::size_t>(kInputFieldLimit)) return false;
    std::string field;
    for (std::size_t i = 0; i < text.size(); ++i) {
        field = ApplyInputRule(field, text.substr(0, i + 1), integerDigits, decimals).text;
        if (field != text.substr(0, i + 1)) return false;
    }
    return true;
}

}  // namespace kolt
