// The station range text of the Monitor dialog ("1,3,5-12", empty for all).
// Unlike the Link dialog's text, an empty text here means every station.
#pragma once

#include <string_view>
#include <vector>

namespace kolt {

// Stations named by the text, ascending and without repeats. Characters other
// than digits, ',' and '-' are dropped first; nothing left selects 1..254.
// Separators only (",,") select no station.
std::vector<int> ParseStationRange(std::string_view text);

}  // namespace kolt
