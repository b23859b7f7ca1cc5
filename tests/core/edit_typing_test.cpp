#include "view/edit_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace kolt;

namespace {

constexpr std::uint8_t kInteger = 0x00, kThreeDigits = 0x04, kOneDecimal = 0x08, kTwoDecimals = 0x0C;

// Types `keys` one by one at the caret into an empty editor, as a user would;
// returns the text and how many keys were refused.
std::pair<std::string, int> TypeKeys(const std::string& keys, std::uint8_t attribute, int width) {
    std::string text;
    int caret = 0, refused = 0;
    for (char k : keys) {
        const TypedKeyResult r = FilterTypedKey(text, caret, 0, k, attribute, width);
        refused += r.accepted ? 0 : 1;
        text = r.text;
        caret = r.caret < 0 ? caret : r.caret;
    }
    return {text, refused};
}

}  // namespace

TEST(SettingEdit, TypedTextFollowsFormatAndWidth) {
    struct Case { const char* keys; std::uint8_t attr; int width; const char* text; int refused; };
    // "a-+ ,eE7": digits and one point only; width 6 lies outside the checked ranges: only its limit holds.
    for (const Case& c : std::vector<Case>{
             {"12.5", kOneDecimal, 4, "12.5", 0}, {"123", kOneDecimal, 4, "12", 1}, {"1.25", kOneDecimal, 4, "1.2", 1},
             {"999.0", kOneDecimal, 5, "999.0", 0}, {"9999", kOneDecimal, 5, "999", 1}, {"1.23", kTwoDecimals, 4, "1.23", 0},
             {"12", kTwoDecimals, 4, "1", 1}, {"1.234", kTwoDecimals, 4, "1.23", 1}, {"200.00", kTwoDecimals, 6, "200.00", 0},
             {"1.2.", kTwoDecimals, 6, "1.2", 1}, {"1.5", kInteger, 3, "15", 1}, {"a-+ ,eE7", kOneDecimal, 5, "7", 7},
             {"1234567", kOneDecimal, 6, "123456", 1}})
        EXPECT_EQ(TypeKeys(c.keys, c.attr, c.width), std::make_pair(std::string(c.text), c.refused))
            << c.keys << " attr " << int(c.attr) << " width " << c.width;
}

TEST(SettingEdit, KeysOverSelectionsAndDeletion) {
    struct Case { const char* text; int selStart, selLength; char key; std::uint8_t attr; int width;
                  bool accepted; const char* after; int caret; };
    for (const Case& c : std::vector<Case>{
             {"12", 0, 0, '3', kOneDecimal, 4, false, "12", 2},  // digit rule broken: caret to the end
             {"5", 1, 0, 'x', kOneDecimal, 5, false, "5", -1},   // other refusals keep the selection
             {"5.0", 0, 3, '.', kOneDecimal, 5, true, ".", 1},   // the old point is selected away
             {"200.00", 0, 6, '3', kTwoDecimals, 6, true, "3", 1},
             {"12.5", 4, 0, kKeyBackspace, kOneDecimal, 4, true, "12.", 3},
             {"12.5", 0, 0, kKeyBackspace, kOneDecimal, 4, true, "12.5", 0},
             {"12.5", 1, 2, kKeyBackspace, kOneDecimal, 5, true, "15", 1},
             {"12.5", 2, 0, kKeyDelete, kOneDecimal, 4, false, "12.5", 4},  // "125" breaks the width-4 rule
             {"12.5", 3, 0, kKeyDelete, kOneDecimal, 4, true, "12.", 3},
         }) {
        SCOPED_TRACE(std::string(c.text) + " key " + std::to_string(int(c.key)) + " at " + std::to_string(c.selStart));
        const TypedKeyResult r = FilterTypedKey(c.text, c.selStart, c.selLength, c.key, c.attr, c.width);
        EXPECT_EQ(std::tuple(r.accepted, r.text, r.caret), std::tuple(c.accepted, c.after, c.caret));
    }
}

TEST(SettingEdit, NormalisedTextIsParsedAndFormattedAgain) {
    const std::tuple<const char*, std::uint8_t, const char*> cases[] = {
        {"5", kOneDecimal, "5.0"},        {".5", kOneDecimal, "0.5"}, {"1.5", kTwoDecimals, "1.50"},
        {"12.", kTwoDecimals, "12.00"}, {"", kTwoDecimals, "0.00"}, {"", kInteger, "0"},
        {"7", kThreeDigits, "007"}};
    for (const auto& [text, attr, shown] : cases) EXPECT_EQ(NormaliseEditText(text, attr), shown) << text;
}
