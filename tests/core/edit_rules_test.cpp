#include "view/edit_rules.h"

#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kolt {
namespace {

TEST(EditRules, RangeCheckAndOverRangeMessage) {
    // F07's and C02's texts are pinned through kolt-cli set.
    EXPECT_EQ(OverRangeMessage(1), "Over Range !!\n\nCode: F01\nRange Value: 0.1~999.0");
    EXPECT_EQ(OverRangeMessage(52), "Over Range !!\n\nCode: F52\nRange Value: 0, 10, 20");
    // F52: only the three reset codes, although 15 lies between its limits; F53's limits are both 0: not checked.
    for (const auto& [number, v, ok] : std::vector<std::tuple<int, std::int32_t, bool>>{
             {7, 100, true}, {7, 20000, true}, {7, 99, false}, {7, 20001, false}, {52, 0, true}, {52, 10, true},
             {52, 20, true}, {52, 5, false}, {52, 15, false}, {52, 30, false}, {52, -10, false}, {53, 12345, true}})
        EXPECT_EQ(RangeAccepts(number, v), ok) << number << " " << v;
    EXPECT_TRUE(RangeAccepts(7, -5, 0, 0));
}

TEST(EditRules, WholeTextCheckAndCommittedValue) {
    const std::pair<const char*, EditTextFault> checks[] = {
        {"200.00", EditTextFault::None},        {"", EditTextFault::None},
        {"-5", EditTextFault::BadCharacter},    {"1,5", EditTextFault::BadCharacter},
        {"1.2.3", EditTextFault::BadCharacter}, {"200.001", EditTextFault::TooLong},
        {"12.345", EditTextFault::BadFormat},   {"1234", EditTextFault::BadFormat},
    };
    for (const auto& [text, fault] : checks) EXPECT_EQ(CheckEditText(text, 7), fault) << text;
    EXPECT_EQ(CheckEditText("1.", 17), EditTextFault::BadFormat);  // an integer parameter

    const std::tuple<const char*, int, std::int32_t> values[] = {
        {"50", 7, 5000}, {"1.5", 7, 150}, {"12.", 1, 120}, {"", 1, 0}, {"17", 11, 17}};
    for (const auto& [text, number, value] : values) EXPECT_EQ(CommittedValue(text, number), value) << text;
}

TEST(EditRules, WhichSettingsMayBeEdited) {
    for (int n : {0, 53, 54, 148, 155, 60}) EXPECT_FALSE(SettingEditable(n)) << n;
    for (int n : {1, 52, 100, 147}) EXPECT_TRUE(SettingEditable(n)) << n;
    // F52 resets the drive: edited only online and linked.
    EXPECT_EQ((std::vector{MayBeginEdit(52, true, false), MayBeginEdit(52, false, true), MayBeginEdit(52, true, true),
                           MayBeginEdit(7, false, false), MayBeginEdit(0, true, true)}),
              (std::vector{false, false, true, true, false}));
}

TEST(EditRules, EndEditDecisions) {
    struct Case { const char* name; EndEditInput in; bool rejected, commit, rememberOnline, postOnline; std::int32_t value; };
    // A change in range and one out of range, ended in the real editor: the view tests.
    const Case cases[] = {
        {"C25", {"C25", "2.5", "0.5", false, 1, 100, false, 0}, false, true, false, false, 25},
        {"unchanged offline", {"C25", "0.5", "0.5", false, 1, 100, false, 0}, false, false, false, false, 0},
        {"cancelled", {"F07", "0.50", "50.00", true, 100, 20000, true, 0}, false, false, false, false, 0},
        {"no parameter", {"Code", "5", "4", false, 0, 9, true, 0}, false, false, false, false, 0},
        {"F52 between codes", {"F52", "15", "0", false, 0, 20, true, 0}, true, false, false, false, 0},
        {"F52 reset", {"F52", "10", "0", false, 0, 20, true, 0}, false, true, true, true, 10},
        {"F52 back to 0", {"F52", "0", "10", false, 0, 20, true, 0}, false, true, true, false, 0},
        {"unchanged online: sent again", {"F01", "5.0", "5.0", false, 1, 9990, true, 0}, false, false, true, true, 0},
        {"compare never online", {"F01", "6.0", "5.0", false, 1, 9990, true, 2}, false, true, false, false, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EndEditDecision d = DecideEndEdit(c.in);
        EXPECT_EQ(std::tuple(d.rejected, d.commit, d.rememberOnline, d.postOnline, d.commit ? d.value : 0),
                  std::tuple(c.rejected, c.commit, c.rememberOnline, c.postOnline, c.value));  // the value when committed
        EXPECT_EQ(d.message, c.rejected ? OverRangeMessage(NumberFromCode(c.in.code)) : "");
    }
}

}  // namespace
}  // namespace kolt
