// The monitors' pure rules: fault names, number texts, captions, the
// "Fun. no." list, the two range checks and the input fields' typing rule.
#include "monitor/monitor_texts.h"

#include <gtest/gtest.h>

namespace kolt {
namespace {

TEST(MonitorTexts, FaultNamesAndTrips) {
    const std::pair<int, const char*> cases[] = {
        {0, ""},      {1, " OH"},   {2, " OC"},   {5, " B.B."}, {11, " E.S."}, {12, ""},
        {13, " OCC"}, {22, " SP2"}, {23, " ER1"}, {24, " ER2"}, {25, " ER4"},  {29, " ER8"},
        {30, " CPY"}, {34, " OVS"}, {35, " OCL"}, {36, ""},     {-1, ""},      {65535, ""},
    };
    for (const auto& [code, name] : cases) {
        EXPECT_EQ(FaultName(code), name) << code;
        EXPECT_EQ(DriveTripped(code), *name != '\0') << code;  // a named fault is a trip
    }
}

TEST(MonitorTexts, NumberStateAndCaptionTexts) {
    const std::pair<std::string, std::string> cases[] = {
        {TwoDecimalMonitorText(5000), "050.00"}, {TwoDecimalMonitorText(0), "000.00"},
        {TwoDecimalMonitorText(40000), "400.00"}, {OneDecimalMonitorText(2300), "230.0"},
        {OneDecimalMonitorText(0), "000.0"},     {OneDecimalMonitorText(3253), "325.3"},
        // 230.0 V x 10.0 A: the product 230000 shows its first five digits; two
        // full 16-bit registers do not overflow it.
        {PowerMonitorText(2300, 100), "230.00"}, {PowerMonitorText(65535, 65535), "429.48"},
        {RunStateText(1), "RUN"},                {RunStateText(0), "STOP"},
        {DirectionText(1), "<< REV"},            {DirectionText(0), "FWD >>"},
        {StationCaption(7, nullptr), "Station: 007"},
        {MonitorErrorText(5), "Communication error!!\nStation: 005"},
        {FunctionCodeAt(0), "F00"}, {FunctionCodeAt(54), "F54"}, {FunctionCodeAt(55), "C00"}, {FunctionCodeAt(110), "C55"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
    const std::string title = "Pump 100%d", empty;
    EXPECT_EQ(StationCaption(12, &title), "Station: 012-Pump 100%d");
    EXPECT_EQ(StationCaption(254, &empty), "Station: 254-");
    EXPECT_EQ(ParameterOfPosition(111), -1);
    EXPECT_EQ(PositionOfParameter(60), -1);
    for (int p = 0; p < kFunctionListSize; ++p) EXPECT_EQ(PositionOfParameter(ParameterOfPosition(p)), p);
}

TEST(MonitorTexts, FrequencyAndSetDataChecks) {
    // Frequency: both limits are accepted; the reset limits are 0.00 .. 5.00 Hz.
    EXPECT_EQ(FrequencyRefusal(ParseFrequencyText("5.01"), 0, 500),
              "Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 5.00 Hz");
    for (auto [text, low, high, ok] : {std::tuple{"5.00", 0, 500, true}, {"0", 0, 500, true}, {"50", 150, 5000, true},
                                       {"1.5", 150, 5000, true}, {"050.00", 5000, 5000, true}, {"1.49", 150, 5000, false}})
        EXPECT_EQ(!FrequencyRefusal(ParseFrequencyText(text), low, high), ok) << text;
    // Set data: F52 takes 0, 10 and 20 only; F53 and F54 (minimum equals maximum) anything.
    EXPECT_EQ(SetDataRefusal(52, ParseSetDataText("15", 52)), "Over Range !!\n\nCode: F52\n\nRange Value: 0, 10, 20");
    EXPECT_EQ(SetDataRefusal(7, ParseSetDataText("200.01", 7)), "Over Range !!\n\nCode: F07\n\nRange Value: 1.00~200.00");
    EXPECT_EQ(SetDataRefusal(102, 201), "Over Range !!\n\nCode: C02\n\nRange Value: 50~200");
    for (auto [number, text, ok] : {std::tuple{52, "0", true}, {52, "10", true}, {52, "20", true}, {53, "9999", true},
                                    {54, "0", true}, {7, "200", true}, {7, "1", true}, {7, "0.99", false}})
        EXPECT_EQ(!SetDataRefusal(number, ParseSetDataText(text, number)), ok) << number << " " << text;
}

TEST(MonitorTexts, InputRule) {
    // `at`: the field's caret after the change, -1 when not given.
    const struct {
        const char *before, *now;
        int at, intDigits, decimals;
        const char* text;
        int caret;
    } cases[] = {
        {"", "5", -1, 3, 2, "5", 1},                 // typed and accepted
        {"50.0", "50.05", -1, 3, 2, "50.05", 5},
        {"50.05", "50.055", -1, 3, 2, "50.05", 5},   // a third decimal is refused
        {"500", "5000", -1, 3, 2, "500", 3},         // a fourth integer digit is refused
        {"50.0", "50..0", -1, 3, 2, "50.0", 3},      // a second point is refused
        {"12", "1a2", -1, 3, 2, "12", 1},            // a letter goes, the caret stays before it
        {"123.45", "12345", -1, 3, 2, "123.45", 3},  // the point comes back: 5 digits > 3
        {"12.5", "125", -1, 3, 2, "125", 2},         // short enough: the point may go
        {"123", "13", -1, 3, 2, "13", 1},
        {"12", "13", -1, 3, 2, "13", 2},             // same length: not checked, caret after it
        {"5.", "5.1", -1, 3, 0, "5.", 2},            // no decimals allowed: no digit after the point
        // Typed over the whole selected text: the caret goes after the typed digit.
        {"030.00", "1", -1, 3, 2, "1", 1},
        {"030.00", "7", 1, 3, 2, "7", 1},
        {"030.00", "0", -1, 3, 2, "0", 1},
        {"12.50", "0", 1, 3, 2, "0", 1},             // not "12.5" deleted before the 0
        {"12.5", "3", -1, 2, 1, "3", 1},
        {"1", "12", -1, 3, 2, "12", 2},
        // Over part of it ("30" of "030.00", then the next digit).
        {"030.00", "04.00", 2, 3, 2, "04.00", 2},
        {"04.00", "045.00", -1, 3, 2, "045.00", 3},
        {"030.00", "0.00", 1, 3, 2, "0.00", 1},      // deleted
        {"030.00", "0350", 3, 3, 2, "030", 2},       // "0.0" typed over by 5: a fourth integer digit
        {"11.5", "1.5", 0, 3, 2, "1.5", 0},          // the first 1 deleted
        // Pasted, over a selection or into an empty field: checked character by character.
        {"030.00", "12.5", -1, 3, 2, "12.5", 4},
        {"", "1234", -1, 3, 2, "123", 3},
        {"", "4x5.678", 7, 3, 2, "45.67", 5},
        {"12.5", "9.75", 4, 2, 1, "9.7", 3},         // pasted over it all, as long: still checked
        {"50", "5a0.5", 5, 3, 2, "50.5", 4},         // pasted over the 0
    };
    for (const auto& c : cases) {
        const InputRuleResult r = ApplyInputRule(c.before, c.now, c.intDigits, c.decimals, c.at);
        EXPECT_EQ(r.text, c.text) << c.before << " -> " << c.now;
        EXPECT_EQ(r.caret, c.caret) << c.before << " -> " << c.now;
    }
    for (const char* ok : {"", "0", "50", "050.00", "400.5", ".25"}) EXPECT_TRUE(InputRuleTakes(ok, 3, 2)) << ok;
    for (const char* bad : {"1000", "50.005", "5..0", "5,0", "-5", "50 ", "0050.0"})
        EXPECT_FALSE(InputRuleTakes(bad, 3, 2)) << bad;
}

}  // namespace
}  // namespace kolt
