// Find and Go to: the code list's typed-prefix rule, the code a list entry
// names, and where find-next lands and how far it scrolls.
#include "view/find_goto.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace kolt {
namespace {

TEST(FindGotoCodeList, TypedPrefixSelectsTheFirstEntryAfterEntryZeroAndNamesItsCode) {
    const auto f = CodeListEntries(kCodeF);
    const auto c = CodeListEntries(kCodeC);
    // "5": not 50; "0": only entry 0 begins with 0, and it comes last; "05": no leading zeros; F stops at 54.
    for (const auto& [typed, inF, inC] : std::vector<std::tuple<std::string, int, int>>{
             {"5", 5, 5}, {"0", 0, 0}, {"05", -1, -1}, {"1", 1, 1}, {"12", 12, 12}, {"55", -1, 55}, {"6", 6, 6},
             {"x", -1, -1}, {"", -1, -1}})
        EXPECT_EQ(std::pair(MatchCodeEntry(f, typed), MatchCodeEntry(c, typed)), std::pair(inF, inC)) << typed;
    // The search is case-insensitive and comes back to entry 0 last.
    EXPECT_EQ(std::pair(MatchCodeEntry({"Ab", "x", "aB"}, "ab"), MatchCodeEntry({"Ab", "x", "y"}, "AB")), std::pair(2, 0));
    const std::string codes = GoToCode(kCodeC, 7) + GoToCode(kCodeF, 0) + GoToCode(kCodeF, 54) + GoToCode(kCodeC, 55);
    EXPECT_EQ(codes, "C07F00F54C55");
}

// Rows 1..6 of a small grid; "time" is in rows 2, 3 and 5.
const std::vector<std::string> kRows{"Alpha", "Accel time", "Decel TIME", "Beta", "Timer", "Gamma"};

TEST(FindNext, DownAndUpWithoutWrapAround) {
    struct Case { int focus, direction; const char* text; int row; FindScroll start; int lines; };
    for (const Case& c : std::vector<Case>{
             {-1, kFindDown, "time", 2, FindScroll::ToTop, 1},     // rows 1, 2 examined, less one
             {2, kFindDown, "time", 3, FindScroll::None, 1},       // continues after the match
             {3, kFindDown, "TIME", 5, FindScroll::None, 2},
             {5, kFindDown, "time", -1, FindScroll::None, 0},      // no wrap to row 2
             {6, kFindDown, "alpha", -1, FindScroll::None, 0},     // from the last row: nothing below
             {-1, kFindUp, "time", 5, FindScroll::ToBottom, 1},    // rows 6, 5 examined, less one
             {5, kFindUp, "time", 3, FindScroll::None, 2},
             {2, kFindUp, "time", -1, FindScroll::None, 0},
             {1, kFindUp, "alpha", -1, FindScroll::None, 0},
         }) {
        const FindResult r = FindNextRow(kRows, c.focus, c.direction, c.text);
        EXPECT_EQ(std::tuple(r.row, r.start, r.scrollLines), std::tuple(c.row, c.start, c.lines)) << c.focus << c.text;
    }
}

// Over the real descriptions, and the not-found texts: the view commands tests.

}  // namespace
}  // namespace kolt
