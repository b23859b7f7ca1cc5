#include "catalogue/value_text.h"

#include "catalogue/catalogue.h"

#include <cstdio>

namespace kolt {

namespace {
DisplayFormat FormatOf(std::uint8_t attribute) {
    return static_cast<DisplayFormat>((attribute >> 2) & 0x03);
}
}  // namespace

int DecimalsOf(std::uint8_t attribute) {
    switch (FormatOf(attribute)) {
        case DisplayFormat::OneDecimal: return 1;
        case DisplayFormat::TwoDecimals: return 2;
        default: return 0;
    }
}

std::string FormatValue(std::int32_t value, std::uint8_t attribute) {
    char buf[32];
    if (attribute & kAttrFourDigits) {
        std::snprintf(buf, sizeof buf, "%04d", value);
        return buf;
    }
    const DisplayFormat format = FormatOf(attribute);
    if (format == DisplayFormat::Integer) {
        std::snprintf(buf, sizeof buf, "%d", value);
        return buf;
    }
    if (format == DisplayFormat::ThreeDigits) {
        std::snprintf(buf, sizeof buf, "%03d", value);
        return buf;
    }
    // The decimal forms pick characters out of the five-digit text. That only
    // means something for 0..99999; anything else (a damaged file) is shown plain.
    if (value < 0 || value > 99999) {
        std::snprintf(buf, sizeof buf, "%d", value);
        return buf;
    }
    char d[8];
    std::snprintf(d, sizeof d, "%05d", value);
    if (format == DisplayFormat::OneDecimal) {
        if (value >= 10000) std::snprintf(buf, sizeof buf, "%c%c%c%c.%c", d[0], d[1], d[2], d[3], d[4]);
        else if (value >= 1000) std::snprintf(buf, sizeof buf, "%c%c%c.%c", d[1], d[2], d[3], d[4]);
        else if (value >= 100) std::snprintf(buf, sizeof buf, "%c%c.%c", d[2], d[3], d[4]);
        else std::snprintf(buf, sizeof buf, "%c.%c", d[3], d[4]);
        return buf;
    }
    if (value >= 10000) std::snprintf(buf, sizeof buf, "%c%c%c.%c%c", d[0], d[1], d[2], d[3], d[4]);
    else if (value >= 1000) std::snprintf(buf, sizeof buf, "%c%c.%c%c", d[1], d[2], d[3], d[4]);
    else std::snprintf(buf, sizeof buf, "%c.%c%c", d[2], d[3], d[4]);
    return buf;
}

std::string FormatParamValue(std::int32_t value, int number) {
    return FormatValue(value, Attribute(number));
}

std::int32_t ParseValue(std::string_view text, std::uint8_t attribute) {
    const DisplayFormat format = FormatOf(attribute);
    const bool fourDigits = (attribute & kAttrFourDigits) != 0;
    const bool oneDecimal = !fourDigits && format == DisplayFormat::OneDecimal;
    const bool twoDecimals = !fourDigits && format == DisplayFormat::TwoDecimals;
    // Wide enough that no text the editor can produce overflows; clamp at the end.
    std::int64_t v = 0;
    bool sawPoint = false;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        const bool last = i + 1 == n;
        if (c >= '0' && c <= '9') {
            const int digit = c - '0';
            if (twoDecimals && last && i > 0 && text[i - 1] == '.')
                v = (v + digit) * 10;  // one digit after the point counts as tenths
            else
                v = v * 10 + digit;
        } else if (c == '.') {
            sawPoint = true;
            if (oneDecimal && last) v *= 10;
            if (twoDecimals) {
                if (last) v *= 100;
                else if (i + 2 == n) v *= 10;
            }
        }
        if (v > 0x7fffffffLL) v = 0x7fffffffLL;
    }
    if (!sawPoint) {
        if (oneDecimal) v *= 10;
        if (twoDecimals) v *= 100;
    }
    if (v > 0x7fffffffLL) v = 0x7fffffffLL;
    return static_cast<std::int32_t>(v);
}

}  // namespace kolt
