#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace kolt;

TEST(Catalogue, TableFollowsItsOwnRules) {
    std::set<std::string> readOnly;  // registers: the pinned catalogue tests
    for (const ParamDef& p : AllParams()) {
        const std::string code = p.code;
        SCOPED_TRACE(code);
        const std::string maxText = FormatParamValue(p.max, p.number);
        if (code != "F00" && code != "F52" && code != "F53" && code != "F54") {
            EXPECT_EQ(p.rangeText, FormatParamValue(p.min, p.number) + "~" + maxText);
        }
        const int width = code == "F53" ? 4 : code == "F54" ? 3 : static_cast<int>(maxText.size());
        EXPECT_EQ(p.width, width);
        if (Attribute(p.number) & kAttrReadOnly) readOnly.insert(code);
    }
    EXPECT_EQ(readOnly, (std::set<std::string>{"F00", "F53", "F54", "C48", "C49", "C50", "C51", "C52", "C53",
                                               "C54", "C55"}));
}

namespace {
constexpr std::uint8_t kInt = 0x00, kThree = 0x04, kOne = 0x08, kTwo = 0x0C;
}  // namespace

TEST(ValueText, FormatAndParse) {
    struct Shown { std::int32_t value; std::uint8_t attr; const char* text; };
    for (const Shown& c : std::vector<Shown>{{0, kInt, "0"},        {0, kThree, "000"},      {0, kOne, "0.0"},
                                             {0, kTwo, "0.00"},     {5, kThree, "005"},      {9990, kOne, "999.0"},
                                             {1, kOne, "0.1"},      {20000, kTwo, "200.00"}, {100, kTwo, "1.00"},
                                             {5, kTwo, "0.05"},     {65535, kOne, "6553.5"}, {65535, kTwo, "655.35"},
                                             {1234, kTwo, "12.34"}, {-5, kTwo, "-5"},        {100000, kOne, "100000"},
                                             {50, 0x02, "0050"}}) {
        EXPECT_EQ(FormatValue(c.value, c.attr), c.text) << c.value << " attr " << int(c.attr);
    }
    for (const Shown& c : std::vector<Shown>{{1200, kTwo, "12"},  {1200, kTwo, "12."}, {150, kTwo, "1.5"},
                                             {50, kTwo, "0.5"},   {155, kTwo, "1.55"}, {50, kOne, "5"},
                                             {50, kOne, "5."},    {125, kOne, "12.5"}, {17, kInt, "17"},
                                             {7, kThree, "007"}}) {
        EXPECT_EQ(ParseValue(c.text, c.attr), c.value) << c.text << " attr " << int(c.attr);
    }
}

TEST(Models, DefaultsFollowModelAndFrequency) {
    // Every model's table is pinned in the catalogue's pinned tests; an index without a model has none.
    for (const char* code : {"F00", "F43", "C25"}) EXPECT_EQ(DefaultValue(NumberFromCode(code), 11, true), 0) << code;
    EXPECT_EQ(FormatParamValue(4400, NumberFromCode("F44")) + FormatParamValue(16, NumberFromCode("F43")) + " " +
                  FormatParamValue(8, NumberFromCode("C25")),
              "440.01.6 0.8");
    for (const auto& [code, model, text] : std::vector<std::tuple<const char*, int, const char*>>{
             {"F07", 0, "50.00/60.00"}, {"C15", 0, "1/4"}, {"F48", 0, "250/300"}, {"F00", 7, "007"}, {"F53", 7, "x.x"},
             {"F54", 7, ""}})
        EXPECT_EQ(DefaultText(NumberFromCode(code), model), text) << code;
}
