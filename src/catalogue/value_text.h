// Stored form <-> display text. A stored value is the decimal digits of the
// drive's value without the point: 50.00 Hz in a two-decimal parameter is 5000.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kolt {

// Display text of a stored value under an attribute byte.
std::string FormatValue(std::int32_t value, std::uint8_t attribute);
// The same with the attribute looked up from the parameter number.
std::string FormatParamValue(std::int32_t value, int number);

// Stored value of an edited cell's text under an attribute byte.
std::int32_t ParseValue(std::string_view text, std::uint8_t attribute);

// Number of decimals of an attribute's display format (0, 1 or 2).
int DecimalsOf(std::uint8_t attribute);

}  // namespace kolt
