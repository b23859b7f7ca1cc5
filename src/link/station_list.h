// The station text of the Link and Write dialogs ("1,3,5-12") turned into the
// ascending list of stations to talk to.
#pragma once

#include <string_view>
#include <vector>

namespace kolt {

inline constexpr int kFirstStation = 1;
inline constexpr int kLastStation = 254;

// Stations named by the text, ascending and without repeats. Characters other
// than digits, ',' and '-' are dropped first; nothing left selects station 1.
// A text of separators only (a lone comma) selects no station at all.
std::vector<int> ParseStationList(std::string_view text);

// Stations 1..254 ("All of the Inverter", "All Station").
std::vector<int> AllStations();

// A station number forced into 1..254.
constexpr int ClampStation(long long n) {
    return n < kFirstStation ? kFirstStation : n > kLastStation ? kLastStation : static_cast<int>(n);
}

}  // namespace kolt
