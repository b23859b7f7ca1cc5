#include "view/edit_rules.h"

#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <string>

using namespace kolt;

namespace {

constexpr std::uint8_t kInteger = 0x00;
constexpr std::uint8_t kThreeDigits = 0x04;
constexpr std::uint8_t kOneDecimal = 0x08;
constexpr std::uint8_t kTwoDecimals = 0x0C;

// Types `keys` one by one at the caret into an empty editor, as a user would;
// returns the text and how many keys were refused by the format rule or width.
struct Typed {
    std::string text;
    int refused = 0;
};
Typed TypeKeys(const std::string& keys, std::uint8_t attribute, int width, std::string start = "") {
    Typed t{std::move(start), 0};
    int caret = static_cast<int>(t.text.size());
    for (char k : keys) {
        const TypedKeyResult r = FilterTypedKey(t.text, caret, 0, k, attribute, width);
        if (!r.accepted) ++t.refused;
        t.text = r.text;
        caret = r.caret < 0 ? caret : r.caret;
    }
    return t;
}

}  // namespace

TEST(SettingEdit, OneDecimalWidthFourAllowsTwoDigitsBeforeThePoint) {
    EXPECT_EQ(TypeKeys("12.", kOneDecimal, 4).text, "12.");
    EXPECT_EQ(TypeKeys("12.5", kOneDecimal, 4).text, "12.5");
    const Typed t = TypeKeys("123", kOneDecimal, 4);
    EXPECT_EQ(t.text, "12");
    EXPECT_EQ(t.refused, 1);
    EXPECT_EQ(TypeKeys("1.25", kOneDecimal, 4).text, "1.2");  // one decimal at most
    // Width 5 (F01): three digits before the point.
    EXPECT_EQ(TypeKeys("999.0", kOneDecimal, 5).text, "999.0");
    EXPECT_EQ(TypeKeys("9999", kOneDecimal, 5).text, "999");
}

TEST(SettingEdit, TwoDecimalsWidthFourAllowsOneDigitBeforeThePoint) {
    EXPECT_EQ(TypeKeys("1.23", kTwoDecimals, 4).text, "1.23");
    const Typed t = TypeKeys("12", kTwoDecimals, 4);
    EXPECT_EQ(t.text, "1");
    EXPECT_EQ(t.refused, 1);
    EXPECT_EQ(TypeKeys("1.234", kTwoDecimals, 4).text, "1.23");
    // Width 6 (F07): 200.00 fits, a fourth digit before the point does not.
    EXPECT_EQ(TypeKeys("200.00", kTwoDecimals, 6).text, "200.00");
    EXPECT_EQ(TypeKeys("2000", kTwoDecimals, 6).text, "200");
}

TEST(SettingEdit, FormatRuleRefusalPutsTheCaretAtTheEnd) {
    // Inserting a digit in front of "12" (one decimal, width 4) breaks the rule.
    const TypedKeyResult r = FilterTypedKey("12", 0, 0, '3', kOneDecimal, 4);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.text, "12");
    EXPECT_EQ(r.caret, 2);
}

TEST(SettingEdit, OnlyDigitsOnePointAndDeletionAreTaken) {
    for (char c : std::string("a-+ ,eE")) {
        const TypedKeyResult r = FilterTypedKey("5", 1, 0, c, kOneDecimal, 5);
        EXPECT_FALSE(r.accepted) << c;
        EXPECT_EQ(r.text, "5");
        EXPECT_EQ(r.caret, -1);  // the selection stays as it was
    }
    EXPECT_EQ(TypeKeys("1.2.", kTwoDecimals, 6).text, "1.2");
    // Integer and three-digit cells take no point at all.
    EXPECT_EQ(TypeKeys("1.5", kInteger, 3).text, "15");
    EXPECT_EQ(TypeKeys("1.5", kThreeDigits, 3).text, "15");
    // Widths outside the checked ranges are limited by the width alone.
    EXPECT_EQ(TypeKeys("12.5", kOneDecimal, 6).text, "12.5");
    EXPECT_EQ(TypeKeys("1234567", kOneDecimal, 6).text, "123456");
}

TEST(SettingEdit, TypedKeyReplacesTheSelection) {
    // A point typed over a selection that holds the old point is taken.
    TypedKeyResult r = FilterTypedKey("5.0", 0, 3, '.', kOneDecimal, 5);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.text, ".");
    r = FilterTypedKey("5.0", 0, 3, '7', kOneDecimal, 5);
    EXPECT_EQ(r.text, "7");
    EXPECT_EQ(r.caret, 1);
    // A full-width text selected and replaced is not refused for its old length.
    r = FilterTypedKey("200.00", 0, 6, '3', kTwoDecimals, 6);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.text, "3");
}

TEST(SettingEdit, BackspaceAndDelete) {
    TypedKeyResult r = FilterTypedKey("12.5", 4, 0, kKeyBackspace, kOneDecimal, 4);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.text, "12.");
    EXPECT_EQ(r.caret, 3);
    r = FilterTypedKey("12.5", 0, 0, kKeyBackspace, kOneDecimal, 4);
    EXPECT_EQ(r.text, "12.5");
    EXPECT_EQ(r.caret, 0);
    r = FilterTypedKey("12.5", 1, 2, kKeyBackspace, kOneDecimal, 5);
    EXPECT_EQ(r.text, "15");
    EXPECT_EQ(r.caret, 1);
    // Deleting the point of 12.5 would leave three digits before it in a width-4 cell.
    r = FilterTypedKey("12.5", 2, 0, kKeyDelete, kOneDecimal, 4);
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.text, "12.5");
    r = FilterTypedKey("12.5", 3, 0, kKeyDelete, kOneDecimal, 4);
    EXPECT_EQ(r.text, "12.");
}

TEST(SettingEdit, NormalisedTextIsParsedAndFormattedAgain) {
    EXPECT_EQ(NormaliseEditText("5", kOneDecimal), "5.0");
    EXPECT_EQ(NormaliseEditText("1.5", kTwoDecimals), "1.50");
    EXPECT_EQ(NormaliseEditText("12.", kTwoDecimals), "12.00");
    EXPECT_EQ(NormaliseEditText("", kTwoDecimals), "0.00");
    EXPECT_EQ(NormaliseEditText("", kInteger), "0");
    EXPECT_EQ(NormaliseEditText("7", kThreeDigits), "007");
    EXPECT_EQ(NormaliseEditText(".5", kOneDecimal), "0.5");
}

TEST(SettingEdit, WhichSettingsMayBeEdited) {
    for (int n : {0, 53, 54, 148, 155}) EXPECT_FALSE(SettingEditable(n)) << n;
    for (int n : {1, 52, 100, 147}) EXPECT_TRUE(SettingEditable(n)) << n;
    EXPECT_FALSE(SettingEditable(60));  // no parameter
    EXPECT_FALSE(MayBeginEdit(52, true, false));
    EXPECT_FALSE(MayBeginEdit(52, false, true));
    EXPECT_TRUE(MayBeginEdit(52, true, true));
    EXPECT_TRUE(MayBeginEdit(7, false, false));
    EXPECT_FALSE(MayBeginEdit(0, true, true));
}

TEST(SettingEdit, EndEditCommitsAChangedValueInRange) {
    EndEditInput in{"F07", "55.50", "50.00", false, 100, 20000, false, 0};
    EndEditDecision d = DecideEndEdit(in);
    EXPECT_EQ(d.number, 7);
    EXPECT_EQ(d.slot, 7);
    EXPECT_EQ(d.value, 5550);
    EXPECT_FALSE(d.rejected);
    EXPECT_TRUE(d.commit);
    EXPECT_FALSE(d.rememberOnline);
    EXPECT_FALSE(d.postOnline);

    in = {"C25", "2.5", "0.5", false, 1, 100, false, 0};
    d = DecideEndEdit(in);
    EXPECT_EQ(d.number, 125);
    EXPECT_EQ(d.slot, 80);
    EXPECT_EQ(d.value, 25);
    EXPECT_TRUE(d.commit);

    in.text = in.previousText;  // unchanged: nothing to store
    EXPECT_FALSE(DecideEndEdit(in).commit);
}

TEST(SettingEdit, EndEditRejectsOutOfRangeAndIgnoresCancelled) {
    EndEditInput in{"F07", "0.50", "50.00", false, 100, 20000, true, 0};
    EndEditDecision d = DecideEndEdit(in);
    EXPECT_TRUE(d.rejected);
    EXPECT_EQ(d.message, "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00");
    EXPECT_FALSE(d.commit);
    EXPECT_FALSE(d.rememberOnline);
    EXPECT_FALSE(d.postOnline);

    in.cancelled = true;
    d = DecideEndEdit(in);
    EXPECT_FALSE(d.rejected);
    EXPECT_FALSE(d.commit);
    EXPECT_FALSE(d.postOnline);

    // A row without a parameter code ends the step with nothing changed.
    d = DecideEndEdit({"Code", "5", "4", false, 0, 9, true, 0});
    EXPECT_EQ(d.number, -1);
    EXPECT_FALSE(d.commit);
    EXPECT_FALSE(d.postOnline);
}

TEST(SettingEdit, EndEditOnline) {
    // F52 = 15 is refused with the three-value message.
    EndEditDecision d = DecideEndEdit({"F52", "15", "0", false, 0, 20, true, 0});
    EXPECT_TRUE(d.rejected);
    EXPECT_EQ(d.message, "Over Range !!\n\nCode: F52\nRange Value: 0, 10, 20");
    // F52 = 10 goes on to the drive; F52 = 0 is stored but not sent.
    d = DecideEndEdit({"F52", "10", "0", false, 0, 20, true, 0});
    EXPECT_TRUE(d.commit);
    EXPECT_TRUE(d.rememberOnline);
    EXPECT_TRUE(d.postOnline);
    d = DecideEndEdit({"F52", "0", "10", false, 0, 20, true, 0});
    EXPECT_TRUE(d.commit);
    EXPECT_TRUE(d.rememberOnline);
    EXPECT_FALSE(d.postOnline);
    // An unchanged value ended with Enter is sent again.
    d = DecideEndEdit({"F01", "5.0", "5.0", false, 1, 9990, true, 0});
    EXPECT_FALSE(d.commit);
    EXPECT_TRUE(d.postOnline);
    // Compare documents never go on line.
    d = DecideEndEdit({"F01", "6.0", "5.0", false, 1, 9990, true, 2});
    EXPECT_FALSE(d.postOnline);
}
