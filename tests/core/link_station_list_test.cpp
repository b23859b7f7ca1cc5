#include "link/station_list.h"
#include "monitor/station_range.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace kolt;

namespace {

std::vector<int> Range(int lo, int hi) {
    std::vector<int> v;
    for (int s = lo; s <= hi; ++s) v.push_back(s);
    return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

}  // namespace

TEST(LinkStationList, DialogExamples) {
    EXPECT_EQ(ParseStationList("1,3,5-12"), Join({{1, 3}, Range(5, 12)}));
    EXPECT_EQ(ParseStationList("12-5"), Range(5, 12));
    EXPECT_EQ(ParseStationList("3,1"), (std::vector<int>{1, 3}));
    EXPECT_EQ(ParseStationList("0"), std::vector<int>{1});
    EXPECT_EQ(ParseStationList(""), std::vector<int>{1});
    EXPECT_EQ(ParseStationList("300"), std::vector<int>{254});
    EXPECT_EQ(ParseStationList("1-5-9"), Join({Range(1, 5), {9}}));
    EXPECT_EQ(ParseStationList("5-"), std::vector<int>{5});
    EXPECT_EQ(ParseStationList("5-0"), std::vector<int>{5});
    EXPECT_TRUE(ParseStationList(",").empty());
    EXPECT_EQ(ParseStationList("abc"), std::vector<int>{1});
}

TEST(LinkStationList, FilteringSeparatorsAndClamping) {
    EXPECT_EQ(ParseStationList("1 2"), std::vector<int>{12});       // blanks dropped
    EXPECT_EQ(ParseStationList("st 7;"), std::vector<int>{7});
    EXPECT_EQ(ParseStationList("-5"), std::vector<int>{5});          // leading dash ignored
    EXPECT_EQ(ParseStationList("5,,-6"), (std::vector<int>{5, 6}));
    EXPECT_EQ(ParseStationList("5-,7"), Range(5, 7));                // comma after dash ignored
    EXPECT_EQ(ParseStationList("250-300"), Range(250, 254));
    EXPECT_EQ(ParseStationList("0-3"), Range(1, 3));
    EXPECT_EQ(ParseStationList("3,3,2-4"), Range(2, 4));
    EXPECT_TRUE(ParseStationList(",-,").empty());
    // A dangling range end never reaches past the last station.
    EXPECT_EQ(ParseStationList("300-"), std::vector<int>{254});
    // Absurdly long numbers clamp instead of overflowing.
    EXPECT_EQ(ParseStationList("99999999999999999999999"), std::vector<int>{254});
    EXPECT_EQ(AllStations(), Range(1, 254));
}

TEST(MonitorStationRange, StartDialogExamples) {
    EXPECT_EQ(ParseStationRange("1,3,5-12"), Join({{1, 3}, Range(5, 12)}));
    EXPECT_EQ(ParseStationRange("1,3,5-12").size(), 10u);
    EXPECT_EQ(ParseStationRange("12-5"), Range(5, 12));
    EXPECT_EQ(ParseStationRange("0,300"), (std::vector<int>{1, 254}));
    EXPECT_EQ(ParseStationRange("5-,7"), Range(5, 7));
    EXPECT_EQ(ParseStationRange("1-3-7"), Join({Range(1, 3), {7}}));
    EXPECT_EQ(ParseStationRange("abc"), Range(1, 254));
    EXPECT_EQ(ParseStationRange(""), Range(1, 254));
    EXPECT_TRUE(ParseStationRange(",,").empty());
    EXPECT_EQ(ParseStationRange("1-254"), Range(1, 254));  // the dialog's initial text
}

TEST(MonitorStationRange, RangesOpenAndCloseAsTheTextSays) {
    EXPECT_EQ(ParseStationRange("1 2"), std::vector<int>{12});
    EXPECT_EQ(ParseStationRange("5-"), std::vector<int>{5});
    EXPECT_EQ(ParseStationRange("5-,"), std::vector<int>{5});
    EXPECT_EQ(ParseStationRange("1-3-7-9"), Join({Range(1, 3), Range(7, 9)}));
    EXPECT_EQ(ParseStationRange("5,-7"), (std::vector<int>{5, 7}));
    EXPECT_EQ(ParseStationRange("0"), std::vector<int>{1});
    EXPECT_EQ(ParseStationRange("240-999"), Range(240, 254));
    EXPECT_EQ(ParseStationRange("2,2,1-2"), (std::vector<int>{1, 2}));
}
