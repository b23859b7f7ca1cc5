#include "link/station_list.h"

#include <algorithm>
#include <bitset>

namespace kolt {

namespace {

// Long digit runs saturate here instead of overflowing; anything this large
// clamps to the last station anyway.
constexpr long long kNumberCap = 1000000;

long long AppendDigit(long long n, char c) {
    return std::min(n * 10 + (c - '0'), kNumberCap);
}

class Selection {
public:
    void Select(long long a) { set_.set(ClampStation(a)); }
    void SelectRange(long long a, long long b) {
        int lo = ClampStation(a), hi = ClampStation(b);
        if (lo > hi) std::swap(lo, hi);
        for (int s = lo; s <= hi; ++s) set_.set(s);
    }
    std::vector<int> List() const {
        std::vector<int> out;
        for (int s = kFirstStation; s <= kLastStation; ++s)
            if (set_.test(s)) out.push_back(s);
        return out;
    }

private:
    std::bitset<kLastStation + 1> set_;
};

bool IsListChar(char c) { return (c >= '0' && c <= '9') || c == ',' || c == '-'; }

}  // namespace

std::vector<int> ParseStationList(std::string_view text) {
    std::string kept;
    for (char c : text)
        if (IsListChar(c)) kept.push_back(c);
    if (kept.empty()) return {kFirstStation};

    Selection sel;
    long long a = 0, b = 0;
    bool digitJustRead = false, inSecond = false;
    for (char c : kept) {
        if (c >= '0' && c <= '9') {
            digitJustRead = true;
            if (inSecond)
                b = AppendDigit(b, c);
            else
                a = AppendDigit(a, c);
            continue;
        }
        if (!digitJustRead) continue;  // separator without a number before it
        if (c == ',') {
            if (inSecond)
                sel.SelectRange(a, b);
            else
                sel.Select(a);
            a = b = 0;
            digitJustRead = inSecond = false;
        } else {  // '-'
            digitJustRead = false;
            if (!inSecond) {
                inSecond = true;
            } else {
                sel.SelectRange(a, b);
                a = b = 0;
                inSecond = false;
            }
        }
    }
    if (digitJustRead) {
        a = ClampStation(a);
        sel.Select(a);
    }
    if (inSecond && (a != 0 || b != 0)) {
        if (a != 0 && b != 0)
            sel.SelectRange(a, b);
        else
            sel.Select(a != 0 ? a : b);  // "5-" and "5-0" name station 5 alone
    }
    return sel.List();
}

std::vector<int> AllStations() {
    std::vector<int> out;
    for (int s = kFirstStation; s <= kLastStation; ++s) out.push_back(s);
    return out;
}

}  // namespace kolt
