// The catalogue's registers and every model's factory defaults at 50 and 60 Hz
// against catalogue_pinned.txt, written out as the drive's documentation lists
// them: the virtual drive maps registers through the same catalogue, so only a
// table kept apart from the program's own can catch a typo in it.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace kolt;

namespace {

// "F07" -> 7, "C25" -> 125, worked out here rather than by the catalogue.
int NumberOf(const std::string& code) { return (code[0] == 'C' ? 100 : 0) + std::stoi(code.substr(1)); }

}  // namespace

TEST(CataloguePinned, EveryParameterHasItsDocumentedRegisterAndDefaults) {
    std::ifstream in(std::string(KOLT_TEST_SOURCE_DIR) + "/tests/core/catalogue_pinned.txt");
    ASSERT_TRUE(in.good());
    std::map<std::string, std::pair<int, int>> fixed;  // code -> default at 50 Hz, at 60 Hz
    std::vector<std::vector<int>> models;
    int codes = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream row(line);
        std::string code, reg, at50, at60;
        row >> code;
        if (code == "model") {
            models.emplace_back();
            for (int v; row >> v;) models.back().push_back(v);
            continue;
        }
        if (code.empty() || code[0] == '#') continue;
        row >> reg >> at50 >> at60;
        ++codes;
        EXPECT_EQ(Register(NumberOf(code)), std::stoi(reg, nullptr, 16)) << code;
        EXPECT_EQ(CodeText(NumberOf(code)), code);
        if (at50 != "model") fixed[code] = {std::stoi(at50), std::stoi(at60)};
    }
    ASSERT_EQ(codes, 111);
    ASSERT_EQ(AllParams().size(), 111u);
    ASSERT_EQ(fixed.size() + 9, 111u);  // nine parameters depend on the model
    ASSERT_EQ(models.size(), 11u);
    for (const std::vector<int>& m : models) {
        ASSERT_EQ(m.size(), 11u);
        for (bool hz50 : {true, false}) {
            SCOPED_TRACE("model " + std::to_string(m[0]) + (hz50 ? " at 50 Hz" : " at 60 Hz"));
            for (const auto& [code, value] : fixed)
                EXPECT_EQ(DefaultValue(NumberOf(code), m[0], hz50), hz50 ? value.first : value.second) << code;
            const std::pair<const char*, int> byModel[] = {
                {"F00", m[1]}, {"F43", m[2]}, {"F44", m[3]}, {"F46", m[4]}, {"F48", m[hz50 ? 5 : 6]},
                {"F49", m[hz50 ? 5 : 6]}, {"F50", m[hz50 ? 7 : 8]}, {"C16", m[9]}, {"C25", m[10]}};
            for (const auto& [code, value] : byModel) EXPECT_EQ(DefaultValue(NumberOf(code), m[0], hz50), value) << code;
        }
    }
    // Numbers without a parameter map to register 0 (F55 is no code, and C56 neither).
    for (int number : {55, 99, 156}) EXPECT_EQ(Register(number), 0) << number;
    for (const char* notACode : {"F55", "F99", "C56", "F7", "G07", "f07x"}) EXPECT_EQ(NumberFromCode(notACode), -1) << notACode;
}
