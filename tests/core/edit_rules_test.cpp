#include "view/edit_rules.h"

#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

namespace kolt {
namespace {

constexpr std::uint8_t kOneDecimal = 2 << 2;
constexpr std::uint8_t kTwoDecimals = 3 << 2;

TEST(EditRules, OverRangeMessageTexts) {
    EXPECT_EQ(OverRangeMessage(NumberFromCode("F07")), "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00");
    EXPECT_EQ(OverRangeMessage(NumberFromCode("F01")), "Over Range !!\n\nCode: F01\nRange Value: 0.1~999.0");
    EXPECT_EQ(OverRangeMessage(NumberFromCode("C02")), "Over Range !!\n\nCode: C02\nRange Value: 50~200");
    EXPECT_EQ(OverRangeMessage(52), "Over Range !!\n\nCode: F52\nRange Value: 0, 10, 20");
}

TEST(EditRules, RangeCheck) {
    EXPECT_TRUE(RangeAccepts(7, 100));
    EXPECT_TRUE(RangeAccepts(7, 20000));
    EXPECT_FALSE(RangeAccepts(7, 99));
    EXPECT_FALSE(RangeAccepts(7, 20001));
    // F52: only the three reset codes, although 15 lies between its limits.
    EXPECT_TRUE(RangeAccepts(52, 0));
    EXPECT_TRUE(RangeAccepts(52, 10));
    EXPECT_TRUE(RangeAccepts(52, 20));
    EXPECT_FALSE(RangeAccepts(52, 15));
    // Limits both 0: not checked at all.
    EXPECT_TRUE(RangeAccepts(53, 12345));
    EXPECT_TRUE(RangeAccepts(7, -5, 0, 0));
}

TEST(EditRules, TypingRuleByFormatAndWidth) {
    EXPECT_TRUE(TypingRuleAccepts("12.", kOneDecimal, 4));
    EXPECT_FALSE(TypingRuleAccepts("123", kOneDecimal, 4));
    EXPECT_FALSE(TypingRuleAccepts("1.23", kOneDecimal, 5));
    EXPECT_TRUE(TypingRuleAccepts("1.23", kTwoDecimals, 4));
    EXPECT_FALSE(TypingRuleAccepts("12", kTwoDecimals, 4));
    EXPECT_TRUE(TypingRuleAccepts("123", kTwoDecimals, 6));
    // Widths outside the checked ones are bounded by the width alone.
    EXPECT_TRUE(TypingRuleAccepts("12345", kTwoDecimals, 7));
    // Integer formats take no point.
    EXPECT_FALSE(TypingRuleAccepts("1.", 0, 3));
    EXPECT_TRUE(TypingRuleAccepts("123", 0, 3));
}

TEST(EditRules, WholeTextCheck) {
    EXPECT_EQ(CheckEditText("200.00", 7), EditTextFault::None);
    EXPECT_EQ(CheckEditText("", 7), EditTextFault::None);
    EXPECT_EQ(CheckEditText("-5", 7), EditTextFault::BadCharacter);
    EXPECT_EQ(CheckEditText("1,5", 7), EditTextFault::BadCharacter);
    EXPECT_EQ(CheckEditText("1.2.3", 7), EditTextFault::BadCharacter);
    EXPECT_EQ(CheckEditText("200.001", 7), EditTextFault::TooLong);
    EXPECT_EQ(CheckEditText("12.345", 7), EditTextFault::BadFormat);
    EXPECT_EQ(CheckEditText("1234", 7), EditTextFault::BadFormat);
    EXPECT_EQ(CheckEditText("1.", 17), EditTextFault::BadFormat);
}

TEST(EditRules, CommittedValueIsTheStoredForm) {
    EXPECT_EQ(CommittedValue("50", 7), 5000);
    EXPECT_EQ(CommittedValue("1.5", 7), 150);
    EXPECT_EQ(CommittedValue("12.", 1), 120);
    EXPECT_EQ(CommittedValue("", 1), 0);
    EXPECT_EQ(CommittedValue("17", 11), 17);
}

}  // namespace
}  // namespace kolt
