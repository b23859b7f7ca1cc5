// Station titles (paging, OK marking the document modified) and the
// definite-parameter list (eligibility, the Add/Remove rules, the settings).
#include "base/settings.h"
#include "document/marben_doc.h"
#include "view/definite_list.h"
#include "view/station_titles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolt {
namespace {

StationTitles Numbered() {
    StationTitles t;
    for (int i = 0; i < kStationMax; ++i) t[static_cast<std::size_t>(i)] = "pump " + std::to_string(i + 1);
    return t;
}

TEST(StationTitlePager, MovesClampToTheTopIndexRangeAndTheWheelTakesWholeNotches) {
    StationTitlePager p(Numbered());
    struct Step { char op; int arg; bool moved; int top; };  // l/L line up/down, p/P page, s set top, w wheel
    const Step steps[] = {
        {'l', 0, false, 0}, {'P', 0, true, 10}, {'L', 0, true, 11}, {'p', 0, true, 1}, {'p', 0, true, 0},
        {'s', 100, true, 100}, {'w', -120, true, 103}, {'w', 240, true, 97}, {'w', 60, false, 97}, {'w', 60, true, 94},
        {'s', 1, true, 1}, {'w', 120, true, 0}, {'s', 1000, true, 244}, {'P', 0, false, 244}, {'L', 0, false, 244},
    };
    for (const Step& s : steps) {
        const bool moved = s.op == 'l' ? p.LineUp() : s.op == 'L' ? p.LineDown() : s.op == 'p' ? p.PageUp()
                         : s.op == 'P' ? p.PageDown() : s.op == 's' ? p.SetTop(s.arg) : p.Wheel(s.arg);
        EXPECT_EQ(std::pair(moved, p.Top()), std::pair(s.moved, s.top)) << s.op << s.arg;
    }
    // Station 254 is reached with the top index 244: rows 245..254.
    EXPECT_EQ(p.RowLabel(0) + "|" + p.RowLabel(9) + "|" + p.RowTitle(9), "245|254|pump 254");
}

TEST(StationTitles, OkMarksTheDocumentModifiedOnlyWhenATitleChanged) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles = Numbered();
    EXPECT_FALSE(ApplyStationTitles(doc, Numbered()) || doc.IsModified());  // every title typed again as it was
}

std::string Codes(const std::vector<DefiniteEntry>& list) {
    std::string out;
    for (const auto& e : list) out += (out.empty() ? "" : ",") + DefiniteListText(e).substr(0, 3);
    return out;
}

TEST(DefiniteList, EligibleParametersAndListText) {
    for (const auto& [entry, eligible] : std::vector<std::pair<DefiniteEntry, bool>>{
             {{1, 0}, false}, {{1, 1}, true}, {{1, 52}, true}, {{1, 53}, false}, {{1, 54}, false},
             {{2, 0}, true}, {{2, 47}, true}, {{2, 48}, false}, {{2, 50}, false}, {{2, 55}, false},
             {{3, 7}, false}, {{1, -1}, false}})
        EXPECT_EQ(IsEligibleDefinite(entry), eligible) << entry.kind << "/" << entry.number;
    const auto all = AllEligibleDefinite();
    ASSERT_EQ(all.size(), 52u + 48u);
    EXPECT_EQ(DefiniteListText(all.front()) + "|" + DefiniteListText({1, 7}),
              "F01: Acceleration time 1 (s)|F07: Frequency upper limit (Hz)");
    EXPECT_EQ(Codes({all[51], all[52], all.back()}), "F52,C00,C47");
    EXPECT_EQ(std::pair(DefiniteEntry{2, 25}.ParamNumber(), DefiniteEntry{1, 60}.ParamNumber()), std::pair(125, -1));
}

// The editor's state: the "Definite" list, the entry selected in "All" and the
// index selected in "Definite", how many "All" holds, and the buttons
// Add, Remove, Up, Down, Add All, Remove All (1 enabled).
std::string State(const DefiniteEditor& ed) {
    std::string s = Codes(ed.Definite()) + " all:";
    s += ed.SelectedAll() < 0 ? "-" : Codes({ed.All()[static_cast<std::size_t>(ed.SelectedAll())]});
    s += " def:" + std::to_string(ed.SelectedDefinite()) + " n:" + std::to_string(ed.All().size()) + " ";
    for (bool b : {ed.CanAdd(), ed.CanRemove(), ed.CanMoveUp(), ed.CanMoveDown(), ed.CanAddAll(), ed.CanRemoveAll()})
        s += b ? '1' : '0';
    return s;
}

TEST(DefiniteEditor, AddRemoveMovesAndTheButtonsTheyAllow) {
    struct Step { const char* op; int arg; const char* state; };
    // sa / sd: select in All / Definite (-1: All's last entry); the rest are the buttons.
    const std::vector<std::pair<std::vector<DefiniteEntry>, std::vector<Step>>> scripts{
        // Opening drops ineligible entries and doubles; All in catalogue order.
        {{{1, 7}, {1, 53}, {2, 25}, {2, 50}, {1, 7}}, {{"sa", 6, "F07,C25 all:F08 def:-1 n:98 100011"}}},
        {{{1, 7}, {2, 25}},
         {{"sa", 0, "F07,C25 all:F01 def:-1 n:98 100011"},
          {"add", 0, "F07,C25,F01 all:F02 def:-1 n:97 100011"},  // appended; the next entry takes the selection
          {"sd", 1, "F07,C25,F01 all:F02 def:1 n:97 111111"},
          {"add", 0, "F07,F02,C25,F01 all:F03 def:2 n:96 111111"},  // inserted before the selected one
          {"sa", -1, "F07,F02,C25,F01 all:C47 def:2 n:96 111111"},
          {"add", 0, "F07,F02,C47,C25,F01 all:C46 def:3 n:95 111111"}}},  // before the selected C25
        {{{1, 7}, {2, 25}, {1, 3}},
         {{"sd", 1, "F07,C25,F03 all:- def:1 n:97 011111"},
          {"remove", 0, "F07,F03 all:C25 def:1 n:98 111011"},  // successor selected; back at its place in All
          {"remove", 0, "F07 all:F03 def:0 n:99 110011"},
          {"remove", 0, " all:F07 def:-1 n:100 100010"}}},
        {{{2, 0}, {1, 52}, {1, 1}},
         {{"sd", 2, "C00,F52,F01 all:- def:2 n:97 011011"},
          {"up", 0, "C00,F01,F52 all:- def:1 n:97 011111"}, {"up", 0, "F01,C00,F52 all:- def:0 n:97 010111"},
          {"up", 0, "F01,C00,F52 all:- def:0 n:97 010111"}, {"down", 0, "C00,F01,F52 all:- def:1 n:97 011111"},
          {"addall", 0, "ALL all:- def:-1 n:0 000001"},  // the user's order is lost
          {"removeall", 0, " all:- def:-1 n:100 000010"}}},
    };
    for (const auto& [list, steps] : scripts) {
        DefiniteEditor ed(list);
        for (const Step& s : steps) {
            const std::string op = s.op;
            if (op == "sa") ed.SelectAll(s.arg < 0 ? static_cast<int>(ed.All().size()) - 1 : s.arg);
            else if (op == "sd") ed.SelectDefinite(s.arg);
            else if (op == "add") ed.Add();
            else if (op == "remove") ed.Remove();
            else if (op == "up") ed.MoveUp();
            else if (op == "down") ed.MoveDown();
            else if (op == "addall") ed.AddAll();
            else ed.RemoveAll();
            std::string want = s.state;
            if (want.rfind("ALL", 0) == 0) want.replace(0, 3, Codes(AllEligibleDefinite()));
            EXPECT_EQ(State(ed), want) << op;
        }
    }
}

TEST(DefiniteList, SettingsKeepWhatTheFileSaysAndTakeTheEditedList) {
    KoltSettings s;
    s.definiteCount = 3;
    s.definiteKinds = {1, 2, 1};
    s.definiteNumbers = {53, 25, 7};
    const auto list = DefiniteListOf(s);
    EXPECT_EQ(list, (std::vector<DefiniteEntry>{{1, 53}, {2, 25}, {1, 7}}));
    StoreDefiniteList(s, DefiniteEditor(list).Definite());
    EXPECT_EQ(std::tuple(s.definiteCount, s.definiteKinds[0], s.definiteNumbers[1], s.definiteKinds[2], s.definiteNumbers[2]),
              std::tuple(2, 2, 7, 0, 0));
}

}  // namespace
}  // namespace kolt
