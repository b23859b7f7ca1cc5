#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"

#include <gtest/gtest.h>

#include <set>

using namespace kolt;

TEST(Catalogue, SlotsAndNumbersMapBothWays) {
    EXPECT_EQ(NumberOfSlot(55), 100);
    EXPECT_EQ(NumberOfSlot(110), 155);
    EXPECT_EQ(NumberOfSlot(111), -1);
    EXPECT_EQ(CodeText(NumberOfSlot(55)), "C00");
    EXPECT_EQ(SlotOfNumber(155), 110);
    EXPECT_EQ(SlotOfNumber(55), -1);
    EXPECT_EQ(CodeText(156), "");
    for (int slot = 0; slot < kParamCount; ++slot) {
        const ParamDef& p = AllParams()[static_cast<std::size_t>(slot)];
        EXPECT_EQ(SlotOfNumber(p.number), slot);
        EXPECT_EQ(CodeText(p.number), p.code);
        EXPECT_EQ(NumberFromCode(p.code), p.number);
    }
}

TEST(Catalogue, RangeTextMatchesLimitsExceptTheSpecialFour) {
    for (const ParamDef& p : AllParams()) {
        const std::string code = p.code;
        if (code == "F00" || code == "F52" || code == "F53" || code == "F54") continue;
        const std::string expected = FormatParamValue(p.min, p.number) + "~" + FormatParamValue(p.max, p.number);
        EXPECT_EQ(p.rangeText, expected) << code;
    }
}

TEST(Catalogue, WidthIsTheLengthOfTheMaximumText) {
    for (const ParamDef& p : AllParams()) {
        const std::string code = p.code;
        if (code == "F53") { EXPECT_EQ(p.width, 4); continue; }
        if (code == "F54") { EXPECT_EQ(p.width, 3); continue; }
        EXPECT_EQ(static_cast<std::size_t>(p.width), FormatParamValue(p.max, p.number).size()) << code;
    }
}

TEST(Catalogue, RegistersAreUniqueAndC15SitsBetweenF06AndF07) {
    std::set<int> seen;
    for (const ParamDef& p : AllParams()) EXPECT_TRUE(seen.insert(p.reg).second) << p.code;
    EXPECT_EQ(Register(115), 0x0007);
    EXPECT_EQ(Register(0), 0x0000);
    EXPECT_EQ(Register(55), 0);
    EXPECT_EQ(Register(99), 0);
    EXPECT_EQ(Register(130), 138);
    EXPECT_EQ(Register(131), 139);
}

TEST(Catalogue, AttributeCarriesFormatAndReadOnlyBit) {
    EXPECT_EQ(Attribute(0), 0x04 | kAttrReadOnly);
    EXPECT_EQ(Attribute(1), 0x08);
    EXPECT_EQ(Attribute(7), 0x0C);
    EXPECT_EQ(Attribute(3), 0x00);
    EXPECT_EQ(Attribute(60), 0x00);
    std::set<std::string> readOnly;
    for (const ParamDef& p : AllParams())
        if (Attribute(p.number) & kAttrReadOnly) readOnly.insert(p.code);
    EXPECT_EQ(readOnly, (std::set<std::string>{"F00", "F53", "F54", "C48", "C49", "C50", "C51", "C52", "C53",
                                               "C54", "C55"}));
    EXPECT_EQ(Description(100), "Reverse run instruction");
    EXPECT_EQ(DescriptionStringId(100), 2300);
}
