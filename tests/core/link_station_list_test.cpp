// The station texts of the Link/Write dialogs and of the Monitor start dialog.
#include "link/station_list.h"
#include "monitor/station_range.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace kolt;

namespace {

// Ranges and single stations, in order: {{5, 12}} is 5..12, {{3}} is 3.
std::vector<int> S(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts)
        for (int s = p.front(); s <= p.back(); ++s) v.push_back(s);
    return v;
}

using Cases = std::vector<std::pair<std::string, std::vector<int>>>;

}  // namespace

TEST(LinkStationList, Grammar) {
    const Cases cases = {
        {"1,3,5-12", S({{1}, {3}, {5, 12}})}, {"12-5", S({{5, 12}})}, {"3,1", {1, 3}}, {"0", {1}}, {"", {1}},
        {"300", {254}}, {"1-5-9", S({{1, 5}, {9}})}, {"5-", {5}}, {"5-0", {5}}, {",", {}}, {",-,", {}}, {"abc", {1}},
        // Blanks and other characters dropped; a comma after a dash ignored; clamped to 1..254.
        {"1 2", {12}}, {"st 7;", {7}}, {"-5", {5}}, {"5,,-6", {5, 6}}, {"5-,7", S({{5, 7}})}, {"3,3,2-4", S({{2, 4}})},
        {"250-300", S({{250, 254}})}, {"0-3", S({{1, 3}})}, {"300-", {254}}, {"99999999999999999999999", {254}}};
    for (const auto& [text, stations] : cases) EXPECT_EQ(ParseStationList(text), stations) << '"' << text << '"';
    EXPECT_EQ(AllStations(), S({{1, 254}}));
}

TEST(MonitorStationRange, Grammar) {
    const std::vector<int> all = S({{1, 254}});  // also what an empty text means
    const Cases cases = {
        {"1,3,5-12", S({{1}, {3}, {5, 12}})}, {"12-5", S({{5, 12}})}, {"0,300", {1, 254}}, {"5-,7", S({{5, 7}})},
        {"1-3-7", S({{1, 3}, {7}})}, {"abc", all}, {"", all}, {",,", {}}, {"1-254", all}, {"1 2", {12}}, {"5-", {5}},
        {"5-,", {5}}, {"1-3-7-9", S({{1, 3}, {7, 9}})}, {"5,-7", {5, 7}}, {"0", {1}}, {"240-999", S({{240, 254}})},
        {"2,2,1-2", {1, 2}}};
    for (const auto& [text, stations] : cases) EXPECT_EQ(ParseStationRange(text), stations) << '"' << text << '"';
}
