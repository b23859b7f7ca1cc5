#include "monitor/station_range.h"

#include "link/station_list.h"

#include <algorithm>
#include <bitset>

namespace kolt {

namespace {

constexpr long long kNumberCap = 1000000;  // saturate long digit runs

// A number and the separator right after it ('\0' at the end of the text).
struct Token {
    long long number;
    char after;
};

std::vector<Token> Tokens(std::string_view text) {
    std::vector<Token> out;
    bool inNumber = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (!inNumber) out.push_back({0, '\0'});
            inNumber = true;
            out.back().number = std::min(out.back().number * 10 + (c - '0'), kNumberCap);
        } else if (c == ',' || c == '-') {
            // Only a separator right after a digit counts.
            if (inNumber) out.back().after = c;
            inNumber = false;
        }
    }
    return out;
}

}  // namespace

std::vector<int> ParseStationRange(std::string_view text) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',' || c == '-') kept.push_back(c);
    if (kept.empty()) return AllStations();

    std::bitset<kLastStation + 1> sel;
    int open = 0;  // first station of a range waiting for its end, 0 for none
    for (const Token& t : Tokens(kept)) {
        int n = ClampStation(t.number);
        if (open != 0) {
            // The range ends here whatever follows: ",", "-" or the end.
            for (int s = std::min(open, n); s <= std::max(open, n); ++s) sel.set(s);
            open = 0;
        } else if (t.after == '-') {
            open = n;
        } else {
            sel.set(n);
        }
    }
    if (open != 0) sel.set(open);  // "5-" at the end names 5 alone

    std::vector<int> out;
    for (int s = kFirstStation; s <= kLastStation; ++s)
        if (sel.test(s)) out.push_back(s);
    return out;
}

}  // namespace kolt
