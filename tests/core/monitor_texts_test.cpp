// The monitors' pure rules: fault names, number texts, captions, the
// "Fun. no." list, the two range checks and the input fields' typing rule.
#include "monitor/monitor_texts.h"

#include <gtest/gtest.h>

namespace kolt {
namespace {

TEST(MonitorTexts, FaultNames) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {0, ""},      {1, " OH"},   {2, " OC"},    {5, " B.B."}, {11, " E.S."}, {12, ""},
        {13, " OCC"}, {22, " SP2"}, {23, " ER1"},  {24, " ER2"}, {25, " ER4"},  {29, " ER8"},
        {30, " CPY"}, {34, " OVS"}, {35, " OCL"},  {36, ""},     {-1, ""},      {65535, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FaultName(c.code), c.name) << c.code;
}

TEST(MonitorTexts, NumberTexts) {
    EXPECT_EQ(TwoDecimalMonitorText(5000), "050.00");
    EXPECT_EQ(TwoDecimalMonitorText(0), "000.00");
    EXPECT_EQ(TwoDecimalMonitorText(40000), "400.00");
    EXPECT_EQ(OneDecimalMonitorText(2300), "230.0");
    EXPECT_EQ(OneDecimalMonitorText(0), "000.0");
    EXPECT_EQ(OneDecimalMonitorText(3253), "325.3");
    // 230.0 V x 10.0 A: the product 230000 shows its first five digits.
    EXPECT_EQ(PowerMonitorText(2300, 100), "230.00");
    EXPECT_EQ(PowerMonitorText(0, 100), "000.00");
    // Two full 16-bit registers do not overflow the product.
    EXPECT_EQ(PowerMonitorText(65535, 65535), "429.48");
}

TEST(MonitorTexts, StatesAndCaptions) {
    EXPECT_EQ(RunStateText(1), "RUN");
    EXPECT_EQ(RunStateText(0), "STOP");
    EXPECT_EQ(DirectionText(1), "<< REV");
    EXPECT_EQ(DirectionText(0), "FWD >>");
    EXPECT_EQ(StationCaption(7, nullptr), "Station: 007");
    const std::string title = "Pump 100%d";
    EXPECT_EQ(StationCaption(12, &title), "Station: 012-Pump 100%d");
    const std::string empty;
    EXPECT_EQ(StationCaption(254, &empty), "Station: 254-");
    EXPECT_EQ(MonitorErrorText(5), "Communication error!!\nStation: 005");
}

TEST(MonitorTexts, FunctionList) {
    EXPECT_EQ(FunctionCodeAt(0), "F00");
    EXPECT_EQ(FunctionCodeAt(54), "F54");
    EXPECT_EQ(FunctionCodeAt(55), "C00");
    EXPECT_EQ(FunctionCodeAt(110), "C55");
    EXPECT_EQ(ParameterOfPosition(111), -1);
    EXPECT_EQ(PositionOfParameter(60), -1);
    for (int p = 0; p < kFunctionListSize; ++p) EXPECT_EQ(PositionOfParameter(ParameterOfPosition(p)), p);
}

TEST(MonitorTexts, FrequencyCheck) {
    // The reset limits before any limits poll: 0.00 .. 5.00 Hz.
    EXPECT_FALSE(FrequencyRefusal(ParseFrequencyText("5.00"), 0, 500));
    EXPECT_FALSE(FrequencyRefusal(ParseFrequencyText("0"), 0, 500));
    const auto refusal = FrequencyRefusal(ParseFrequencyText("5.01"), 0, 500);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, "Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 5.00 Hz");
    // Both limits themselves are accepted.
    EXPECT_FALSE(FrequencyRefusal(ParseFrequencyText("50"), 150, 5000));
    EXPECT_FALSE(FrequencyRefusal(ParseFrequencyText("1.5"), 150, 5000));
    EXPECT_EQ(ParseFrequencyText("050.00"), 5000);
    EXPECT_TRUE(FrequencyRefusal(ParseFrequencyText("1.49"), 150, 5000));
}

TEST(MonitorTexts, SetDataCheck) {
    // F52: 0, 10 and 20 only, although 15 lies between the limits.
    for (const char* ok : {"0", "10", "20"}) EXPECT_FALSE(SetDataRefusal(52, ParseSetDataText(ok, 52))) << ok;
    const auto f52 = SetDataRefusal(52, ParseSetDataText("15", 52));
    ASSERT_TRUE(f52);
    EXPECT_EQ(*f52, "Over Range !!\n\nCode: F52\n\nRange Value: 0, 10, 20");
    // F53 and F54 (minimum equals maximum) take anything.
    EXPECT_FALSE(SetDataRefusal(53, 9999));
    EXPECT_FALSE(SetDataRefusal(54, 0));
    // F07: 1.00 .. 200.00 Hz
    EXPECT_FALSE(SetDataRefusal(7, ParseSetDataText("200", 7)));
    EXPECT_FALSE(SetDataRefusal(7, ParseSetDataText("1", 7)));
    const auto f07 = SetDataRefusal(7, ParseSetDataText("200.01", 7));
    ASSERT_TRUE(f07);
    EXPECT_EQ(*f07, "Over Range !!\n\nCode: F07\n\nRange Value: 1.00~200.00");
    EXPECT_TRUE(SetDataRefusal(7, ParseSetDataText("0.99", 7)));
    const auto c02 = SetDataRefusal(102, 201);
    ASSERT_TRUE(c02);
    EXPECT_EQ(*c02, "Over Range !!\n\nCode: C02\n\nRange Value: 50~200");
}

TEST(MonitorTexts, InputRule) {
    const struct {
        const char* before;
        const char* now;
        int intDigits, decimals;
        const char* text;
        int caret;
    } cases[] = {
        {"", "5", 3, 2, "5", 1},            // typed and accepted
        {"50.0", "50.05", 3, 2, "50.05", 5},
        {"50.05", "50.055", 3, 2, "50.05", 5},  // a third decimal is refused
        {"500", "5000", 3, 2, "500", 3},    // a fourth integer digit is refused
        {"50.0", "50..0", 3, 2, "50.0", 3},  // a second point is refused
        {"12", "1a2", 3, 2, "12", 1},       // a letter goes, the caret stays before it
        {"123.45", "12345", 3, 2, "123.45", 3},  // the point comes back: 5 digits > 3
        {"12.5", "125", 3, 2, "125", 2},    // short enough: the point may go
        {"123", "13", 3, 2, "13", 1},
        {"12", "13", 3, 2, "13", 2},        // same length: not checked
        {"5.", "5.1", 3, 0, "5.", 2},       // no decimals allowed: no digit after the point
    };
    for (const auto& c : cases) {
        const InputRuleResult r = ApplyInputRule(c.before, c.now, c.intDigits, c.decimals);
        EXPECT_EQ(r.text, c.text) << c.before << " -> " << c.now;
        EXPECT_EQ(r.caret, c.caret) << c.before << " -> " << c.now;
    }
}

TEST(MonitorTexts, WholeTextsAgainstTheInputRule) {
    for (const char* ok : {"", "0", "50", "050.00", "400.5", ".25"}) EXPECT_TRUE(InputRuleTakes(ok, 3, 2)) << ok;
    for (const char* bad : {"1000", "50.005", "5..0", "5,0", "-5", "50 ", "0050.0"})
        EXPECT_FALSE(InputRuleTakes(bad, 3, 2)) << bad;
}

}  // namespace
}  // namespace kolt
