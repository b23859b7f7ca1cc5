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

InputRuleResult ApplyInputRule(std::string_view before, std::string_view now, int integerDigits, int decimals) {
    std::string text(now);
    int caret = static_cast<int>(now.size());
    auto firstDifference = [&] {
        std::size_t p = 0;
        while (p < before.size() && p < now.size() && before[p] == now[p]) ++p;
        return p;
    };
    if (now.size() > before.size()) {
        const std::size_t p = firstDifference();
        const char typed = now[p];
        const std::size_t point = now.find('.');
        const std::size_t intPart = point == std::string_view::npos ? now.size() : point;
        const std::size_t decPart = point == std::string_view::npos ? 0 : now.size() - point - 1;
        const bool refused = (typed == '.' && before.find('.') != std::string_view::npos) ||
                             intPart > static_cast<std::size_t>(integerDigits) ||
                             decPart > static_cast<std::size_t>(decimals);
        caret = static_cast<int>(p);
        if (refused) text.erase(p, 1);
        else if (IsDigit(typed) || typed == '.') caret = static_cast<int>(p) + 1;
    } else if (now.size() < before.size()) {
        const std::size_t p = firstDifference();
        caret = static_cast<int>(p);
        if (before[p] == '.' && now.size() > static_cast<std::size_t>(integerDigits)) text.insert(p, 1, '.');
    }
    // Only digits and the first point stay; the caret keeps its place among them.
    std::string kept;
    int keptCaret = 0;
    bool sawPoint = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool keep = IsDigit(c) || (c == '.' && !sawPoint);
        if (c == '.') sawPoint = true;
        if (!keep) continue;
        kept.push_back(c);
        if (static_cast<int>(i) < caret) ++keptCaret;
    }
    return {kept, keptCaret};
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
