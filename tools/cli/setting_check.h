// A setting typed on the command line, checked as the grid's setting cell
// checks it: read-only parameters, the editor's digit rules, the range.
#pragma once

#include <cstdint>
#include <string>

namespace kolt::cli {

// "F07=60" split at the first '=', the code in upper case. False when there is
// no '=' or nothing before it.
bool SplitAssignment(const std::string& arg, std::string& code, std::string& text);

// The message that refuses `text` as the setting of parameter `number`, or ""
// when it is taken; then `value` is its stored form. Limits both 0 are not
// checked; F52 takes only 0, 10 and 20.
std::string SettingRefusal(int number, const std::string& text, std::int32_t min, std::int32_t max,
                           std::int32_t& value);

}  // namespace kolt::cli
