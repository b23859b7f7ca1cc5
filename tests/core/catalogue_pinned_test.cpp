// The catalogue's registers and every model's factory defaults at 50 and 60 Hz,
// written out here as the drive's documentation lists them. The virtual drive
// maps registers through the same catalogue, so only a table kept apart from
// the program's own can catch a typo in it.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace kolt;

namespace {

struct Fixed {
    const char* code;
    int at50, at60;
};

// Model index, then F00, F43, F44, F46, F48/F49 at 50 and 60 Hz, F50 at 50 and 60 Hz, C16, C25.
struct ByModel {
    int model, f00, f43, f44, f46, f48at50, f48at60, f50at50, f50at60, c16, c25;
};

// code, register
constexpr std::pair<const char*, int> kRegisters[] = {
    {"F00", 0x0000}, {"F01", 0x0001}, {"F02", 0x0002}, {"F03", 0x0003}, {"F04", 0x0004}, {"F05", 0x0005},
    {"F06", 0x0006}, {"F07", 0x0008}, {"F08", 0x0009}, {"F09", 0x000A}, {"F10", 0x000B}, {"F11", 0x000E},
    {"F12", 0x000F}, {"F13", 0x0010}, {"F14", 0x0011}, {"F15", 0x0012}, {"F16", 0x0092}, {"F17", 0x0013},
    {"F18", 0x0014}, {"F19", 0x0076}, {"F20", 0x0077}, {"F21", 0x0015}, {"F22", 0x0016}, {"F23", 0x0017},
    {"F24", 0x009F}, {"F25", 0x00A0}, {"F26", 0x0018}, {"F27", 0x0019}, {"F28", 0x001A}, {"F29", 0x001B},
    {"F30", 0x001C}, {"F31", 0x001D}, {"F32", 0x001E}, {"F33", 0x001F}, {"F34", 0x0020}, {"F35", 0x0021},
    {"F36", 0x0022}, {"F37", 0x0023}, {"F38", 0x0024}, {"F39", 0x0025}, {"F40", 0x0026}, {"F41", 0x0027},
    {"F42", 0x0028}, {"F43", 0x0095}, {"F44", 0x0096}, {"F45", 0x0099}, {"F46", 0x0097}, {"F47", 0x0098},
    {"F48", 0x00DC}, {"F49", 0x00DD}, {"F50", 0x00DF}, {"F51", 0x002A}, {"F52", 0x002B}, {"F53", 0x002C},
    {"F54", 0x002D}, {"C00", 0x0064}, {"C01", 0x0065}, {"C02", 0x0066}, {"C03", 0x0067}, {"C04", 0x0068},
    {"C05", 0x0069}, {"C06", 0x006A}, {"C07", 0x006B}, {"C08", 0x006C}, {"C09", 0x006D}, {"C10", 0x006E},
    {"C11", 0x006F}, {"C12", 0x0070}, {"C13", 0x0071}, {"C14", 0x009A}, {"C15", 0x0007}, {"C16", 0x009E},
    {"C17", 0x007A}, {"C18", 0x007B}, {"C19", 0x007C}, {"C20", 0x007D}, {"C21", 0x007E}, {"C22", 0x007F},
    {"C23", 0x000C}, {"C24", 0x000D}, {"C25", 0x0029}, {"C26", 0x0080}, {"C27", 0x0081}, {"C28", 0x0082},
    {"C29", 0x0083}, {"C30", 0x008A}, {"C31", 0x008B}, {"C32", 0x008C}, {"C33", 0x008D}, {"C34", 0x008E},
    {"C35", 0x008F}, {"C36", 0x0090}, {"C37", 0x0091}, {"C38", 0x0093}, {"C39", 0x0094}, {"C40", 0x0072},
    {"C41", 0x009D}, {"C42", 0x0073}, {"C43", 0x0074}, {"C44", 0x0075}, {"C45", 0x0078}, {"C46", 0x0079},
    {"C47", 0x0030}, {"C48", 0x0084}, {"C49", 0x0085}, {"C50", 0x0086}, {"C51", 0x0087}, {"C52", 0x0088},
    {"C53", 0x0089}, {"C54", 0x009B}, {"C55", 0x009C},
};

constexpr Fixed kFixedDefaults[] = {
    {"F01", 50, 50}, {"F02", 50, 50}, {"F03", 0, 0}, {"F04", 0, 0}, {"F05", 0, 0},
    {"F06", 0, 0}, {"F07", 5000, 6000}, {"F08", 0, 0}, {"F09", 0, 0}, {"F10", 0, 0},
    {"F11", 0, 0}, {"F12", 1, 1}, {"F13", 5, 5}, {"F14", 6, 6}, {"F15", 17, 17},
    {"F16", 0, 0}, {"F17", 100, 100}, {"F18", 0, 0}, {"F19", 0, 0}, {"F20", 0, 0},
    {"F21", 0, 0}, {"F22", 0, 0}, {"F23", 0, 0}, {"F24", 0, 0}, {"F25", 0, 0},
    {"F26", 0, 0}, {"F27", 100, 100}, {"F28", 500, 500}, {"F29", 500, 500}, {"F30", 1000, 1000},
    {"F31", 2000, 2000}, {"F32", 3000, 3000}, {"F33", 4000, 4000}, {"F34", 5000, 5000}, {"F35", 6000, 6000},
    {"F36", 500, 500}, {"F37", 5, 5}, {"F38", 150, 150}, {"F39", 5, 5}, {"F40", 10, 10},
    {"F41", 0, 0}, {"F42", 0, 0}, {"F45", 500, 600}, {"F47", 1400, 1700}, {"F51", 0, 0},
    {"F52", 0, 0}, {"F53", 0, 0}, {"F54", 0, 0}, {"C00", 0, 0}, {"C01", 0, 0},
    {"C02", 200, 200}, {"C03", 0, 0}, {"C04", 200, 200}, {"C05", 0, 0}, {"C06", 200, 200},
    {"C07", 0, 0}, {"C08", 30, 30}, {"C09", 1, 1}, {"C10", 0, 0}, {"C11", 50, 50},
    {"C12", 50, 50}, {"C13", 1, 1}, {"C14", 0, 0}, {"C15", 1, 4}, {"C17", 5000, 6000},
    {"C18", 1000, 1000}, {"C19", 2500, 3000}, {"C20", 500, 500}, {"C21", 50, 60}, {"C22", 10, 10},
    {"C23", 0, 0}, {"C24", 0, 0}, {"C26", 0, 0}, {"C27", 0, 0}, {"C28", 0, 0},
    {"C29", 0, 0}, {"C30", 0, 0}, {"C31", 100, 100}, {"C32", 10, 10}, {"C33", 100, 100},
    {"C34", 0, 0}, {"C35", 0, 0}, {"C36", 0, 0}, {"C37", 0, 0}, {"C38", 0, 0},
    {"C39", 0, 0}, {"C40", 0, 0}, {"C41", 0, 0}, {"C42", 7, 7}, {"C43", 9, 9},
    {"C44", 10, 10}, {"C45", 50, 50}, {"C46", 5, 5}, {"C47", 0, 0}, {"C48", 0, 0},
    {"C49", 1, 1}, {"C50", 3, 3}, {"C51", 0, 0}, {"C52", 0, 0}, {"C53", 0, 0},
    {"C54", 0, 0}, {"C55", 0, 0},
};

constexpr ByModel kModelDefaults[] = {
    {0, 0, 10, 2200, 2, 250, 300, 20, 24, 2200, 5},
    {1, 1, 19, 2200, 4, 250, 300, 20, 24, 2200, 9},
    {2, 2, 34, 2200, 8, 250, 300, 20, 24, 2200, 17},
    {3, 3, 10, 2200, 2, 250, 300, 20, 24, 2200, 5},
    {4, 4, 19, 2200, 4, 250, 300, 20, 24, 2200, 9},
    {5, 5, 34, 2200, 8, 250, 300, 20, 24, 2200, 17},
    {6, 6, 57, 2200, 15, 200, 240, 15, 18, 2200, 28},
    {7, 7, 80, 2200, 22, 200, 240, 15, 18, 2200, 40},
    {8, 8, 16, 4400, 8, 250, 300, 20, 24, 4400, 8},
    {9, 9, 30, 4400, 15, 200, 240, 15, 18, 4400, 15},
    {10, 10, 43, 4400, 22, 200, 240, 15, 18, 4400, 22},
};

// "F07" -> 7, "C25" -> 125, worked out here rather than by the catalogue.
int NumberOf(const std::string& code) { return (code[0] == 'C' ? 100 : 0) + std::stoi(code.substr(1)); }

}  // namespace

TEST(CataloguePinned, EveryParameterHasItsDocumentedRegister) {
    ASSERT_EQ(std::size(kRegisters), 111u);
    ASSERT_EQ(AllParams().size(), 111u);
    for (const auto& [code, reg] : kRegisters) {
        EXPECT_EQ(Register(NumberOf(code)), reg) << code;
        EXPECT_EQ(CodeText(NumberOf(code)), code);
    }
    // Numbers without a parameter map to register 0 (F55 is no code, and C56 neither).
    for (int number : {55, 99, 156}) EXPECT_EQ(Register(number), 0) << number;
    for (const char* notACode : {"F55", "F99", "C56", "F7", "G07", "f07x"}) EXPECT_EQ(NumberFromCode(notACode), -1) << notACode;
}

TEST(CataloguePinned, EveryModelHasItsDocumentedDefaultsAtBothFrequencies) {
    ASSERT_EQ(std::size(kFixedDefaults) + 9, 111u);  // nine parameters depend on the model
    for (const ByModel& m : kModelDefaults) {
        for (bool hz50 : {true, false}) {
            SCOPED_TRACE("model " + std::to_string(m.model) + (hz50 ? " at 50 Hz" : " at 60 Hz"));
            for (const Fixed& f : kFixedDefaults)
                EXPECT_EQ(DefaultValue(NumberOf(f.code), m.model, hz50), hz50 ? f.at50 : f.at60) << f.code;
            const std::pair<const char*, int> byModel[] = {
                {"F00", m.f00}, {"F43", m.f43}, {"F44", m.f44}, {"F46", m.f46},
                {"F48", hz50 ? m.f48at50 : m.f48at60}, {"F49", hz50 ? m.f48at50 : m.f48at60},
                {"F50", hz50 ? m.f50at50 : m.f50at60}, {"C16", m.c16}, {"C25", m.c25}};
            for (const auto& [code, value] : byModel) EXPECT_EQ(DefaultValue(NumberOf(code), m.model, hz50), value) << code;
        }
    }
}
