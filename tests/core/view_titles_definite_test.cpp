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

TEST(StationTitlePager, MovesClampToTheTopIndexRange) {
    StationTitlePager p(Numbered());
    EXPECT_EQ(p.RowLabel(0), "1");
    EXPECT_FALSE(p.LineUp());
    EXPECT_TRUE(p.PageDown());
    EXPECT_EQ(p.Top(), 10);
    EXPECT_TRUE(p.LineDown());
    EXPECT_EQ(p.Top(), 11);
    EXPECT_TRUE(p.PageUp());
    EXPECT_EQ(p.Top(), 1);
    EXPECT_TRUE(p.PageUp());
    EXPECT_EQ(p.Top(), 0);
    EXPECT_TRUE(p.SetTop(1000));
    EXPECT_EQ(p.Top(), 244);
    EXPECT_TRUE(p.AtBottom());
    EXPECT_FALSE(p.PageDown());
    // Station 254 is reached with the top index 244: rows 245..254.
    EXPECT_EQ(p.RowLabel(0), "245");
    EXPECT_EQ(p.RowLabel(9), "254");
    EXPECT_EQ(p.RowTitle(9), "pump 254");
}

TEST(StationTitlePager, WheelGivesThreeLinesPerNotchAndKeepsPartialMotion) {
    StationTitlePager p(Numbered());
    p.SetTop(100);
    EXPECT_TRUE(p.Wheel(-120));  // downwards
    EXPECT_EQ(p.Top(), 103);
    EXPECT_TRUE(p.Wheel(240));
    EXPECT_EQ(p.Top(), 97);
    EXPECT_FALSE(p.Wheel(60));   // half a notch: nothing yet
    EXPECT_TRUE(p.Wheel(60));
    EXPECT_EQ(p.Top(), 94);
    p.SetTop(1);
    p.Wheel(120);
    EXPECT_EQ(p.Top(), 0);
}

TEST(StationTitles, OkMarksTheDocumentModifiedOnlyWhenATitleChanged) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.stationTitles = Numbered();
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(ApplyStationTitles(doc, Numbered()));  // every title typed again as it was
    EXPECT_FALSE(doc.IsModified());
    StationTitles changed = Numbered();
    changed[6] = "conveyor";
    EXPECT_TRUE(ApplyStationTitles(doc, changed));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.stationTitles[6], "conveyor");
}

std::vector<std::string> Codes(const std::vector<DefiniteEntry>& list) {
    std::vector<std::string> out;
    for (const auto& e : list) out.push_back(DefiniteListText(e).substr(0, 3));
    return out;
}

TEST(DefiniteList, EligibleParametersAndListText) {
    for (const auto& [entry, eligible] : std::vector<std::pair<DefiniteEntry, bool>>{
             {{1, 0}, false}, {{1, 1}, true}, {{1, 52}, true}, {{1, 53}, false}, {{1, 54}, false},
             {{2, 0}, true}, {{2, 47}, true}, {{2, 48}, false}, {{2, 50}, false}, {{2, 55}, false},
             {{3, 7}, false}, {{1, -1}, false}}) {
        EXPECT_EQ(IsEligibleDefinite(entry), eligible) << entry.kind << "/" << entry.number;
    }
    const auto all = AllEligibleDefinite();
    ASSERT_EQ(all.size(), 52u + 48u);
    EXPECT_EQ(DefiniteListText(all.front()), "F01: Acceleration time 1 (s)");
    EXPECT_EQ(DefiniteListText({1, 7}), "F07: Frequency upper limit (Hz)");
    EXPECT_EQ(Codes({all[51], all[52], all.back()}), (std::vector<std::string>{"F52", "C00", "C47"}));
    EXPECT_EQ((DefiniteEntry{2, 25}.ParamNumber()), 125);
    EXPECT_EQ((DefiniteEntry{1, 60}.ParamNumber()), -1);
}

TEST(DefiniteEditor, OpeningDropsIneligibleEntriesAndFillsAllInCatalogueOrder) {
    DefiniteEditor ed({{1, 7}, {1, 53}, {2, 25}, {2, 50}, {1, 7}});
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"F07", "C25"}));
    EXPECT_EQ(ed.All().size(), 98u);
    EXPECT_EQ(Codes({ed.All()[5], ed.All()[6]}), (std::vector<std::string>{"F06", "F08"}));
    // Nothing is selected: only the two "all" buttons may be used.
    EXPECT_FALSE(ed.CanAdd() || ed.CanRemove() || ed.CanMoveUp() || ed.CanMoveDown());
    EXPECT_TRUE(ed.CanAddAll());
    EXPECT_TRUE(ed.CanRemoveAll());
}

TEST(DefiniteEditor, AddInsertsBeforeTheSelectedEntryOrAppends) {
    DefiniteEditor ed({{1, 7}, {2, 25}});
    ed.SelectAll(0);  // F01
    ASSERT_TRUE(ed.Add());
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"F07", "C25", "F01"}));
    EXPECT_EQ(Codes({ed.All()[static_cast<std::size_t>(ed.SelectedAll())]}), std::vector<std::string>{"F02"});
    ed.SelectDefinite(1);  // C25
    ASSERT_TRUE(ed.Add());  // F02 goes before C25, which stays selected
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"F07", "F02", "C25", "F01"}));
    EXPECT_EQ(ed.SelectedDefinite(), 2);
    // The last "all" entry: the selection falls back to the new last one.
    ed.SelectAll(static_cast<int>(ed.All().size()) - 1);
    ASSERT_TRUE(ed.Add());
    EXPECT_EQ(Codes({ed.All()[static_cast<std::size_t>(ed.SelectedAll())]}), std::vector<std::string>{"C46"});
}

TEST(DefiniteEditor, RemoveSelectsTheSuccessorAndTheEntryBackInAll) {
    DefiniteEditor ed({{1, 7}, {2, 25}, {1, 3}});
    ed.SelectDefinite(1);
    ASSERT_TRUE(ed.Remove());
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"F07", "F03"}));
    EXPECT_EQ(ed.SelectedDefinite(), 1);
    EXPECT_EQ(Codes({ed.All()[static_cast<std::size_t>(ed.SelectedAll())]}), std::vector<std::string>{"C25"});
    ASSERT_TRUE(ed.Remove());  // the last one: the new last is selected
    EXPECT_EQ(ed.SelectedDefinite(), 0);
    ASSERT_TRUE(ed.Remove());
    EXPECT_TRUE(ed.Definite().empty());
    EXPECT_FALSE(ed.CanRemove() || ed.CanRemoveAll());
    EXPECT_TRUE(ed.CanAdd() && ed.CanAddAll());
    EXPECT_EQ(ed.All().size(), 100u);
}

TEST(DefiniteEditor, MovesAndAddAllRestoringCatalogueOrder) {
    DefiniteEditor ed({{2, 0}, {1, 52}, {1, 1}});
    ed.SelectDefinite(2);
    EXPECT_FALSE(ed.CanMoveDown());
    ASSERT_TRUE(ed.MoveUp());
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"C00", "F01", "F52"}));
    EXPECT_EQ(ed.SelectedDefinite(), 1);
    ASSERT_TRUE(ed.MoveUp());
    EXPECT_FALSE(ed.CanMoveUp());
    EXPECT_FALSE(ed.MoveUp());
    ASSERT_TRUE(ed.MoveDown());
    EXPECT_EQ(Codes(ed.Definite()), (std::vector<std::string>{"C00", "F01", "F52"}));

    ed.AddAll();  // the user's order is lost
    EXPECT_EQ(ed.Definite(), AllEligibleDefinite());
    EXPECT_TRUE(ed.All().empty());
    EXPECT_FALSE(ed.CanAdd() || ed.CanRemove() || ed.CanAddAll() || ed.CanMoveUp() || ed.CanMoveDown());
    EXPECT_TRUE(ed.CanRemoveAll());
    ed.RemoveAll();
    EXPECT_TRUE(ed.Definite().empty());
    EXPECT_EQ(ed.All(), AllEligibleDefinite());
    EXPECT_FALSE(ed.CanAdd() || ed.CanRemove() || ed.CanRemoveAll());
    EXPECT_TRUE(ed.CanAddAll());
}

TEST(DefiniteList, SettingsKeepWhatTheFileSaysAndTakeTheEditedList) {
    KoltSettings s;
    s.definiteCount = 3;
    s.definiteKinds[0] = 1, s.definiteNumbers[0] = 53;
    s.definiteKinds[1] = 2, s.definiteNumbers[1] = 25;
    s.definiteKinds[2] = 1, s.definiteNumbers[2] = 7;
    const auto list = DefiniteListOf(s);
    EXPECT_EQ(list, (std::vector<DefiniteEntry>{{1, 53}, {2, 25}, {1, 7}}));
    StoreDefiniteList(s, DefiniteEditor(list).Definite());
    EXPECT_EQ(s.definiteCount, 2);
    EXPECT_EQ(s.definiteKinds[2], 0);
    EXPECT_EQ(s.definiteNumbers[2], 0);
    // Written after the "[Definite Parameter]" line as count, then kind and number per entry.
    const std::string file = SettingsFileText(s);
    EXPECT_NE(file.find("[Definite Parameter]\r\n2\r\n2\r\n25\r\n1\r\n07\r\n"), std::string::npos) << file;
}

}  // namespace
}  // namespace kolt
