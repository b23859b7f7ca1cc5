// The printed parameter list: lines, pages, where everything is drawn and how
// texts are fitted between the rules.
#include "document/doc_commands.h"
#include "view/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kolt {
namespace {

using Strings = std::vector<std::string>;

// A job of `n` lines coded F00.. and described "Line k"; every row holds `cells`.
PrintJob Job(int mode, int n, bool title, const Strings& header = {}, const Strings& cells = {"0~100", "10", "20"}) {
    GridTexts g;
    g.header = header;
    for (int i = 0; i < n; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "F%02d", i % 55);
        g.rows.push_back({"Line " + std::to_string(i), code});
        g.rows.back().insert(g.rows.back().end(), cells.begin(), cells.end());
    }
    return MakePrintJob(mode, g, {"Pump line 3", "Acme Mills", "J. Doe", "V1.0", "2026-12-06", "first", "second", "third"},
                        PrintSelection{title, true, true});
}

const PrintText* Find(const PrintPage& page, const std::string& text) {
    for (const auto& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

Strings CodesOn(const PrintPage& page) {
    Strings out;
    for (const auto& t : page.texts)
        if (t.x == 370 && t.text != "Code") out.push_back(t.text);
    return out;
}

TEST(PrintLayout, PagesOfANewDocument) {
    struct Case { bool landscape, title, basic, advanced; std::vector<std::size_t> perPage; const char *first, *last; };
    const Case cases[] = {
        {false, true, true, true, {44, 44, 23}, "F00", "C55"},
        {false, false, true, true, {50, 50, 11}, "F00", "C55"},
        {true, false, false, true, {33, 23}, "C00", "C55"},
        {true, true, true, false, {27, 27, 1}, "F00", "F54"},
    };
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    for (const Case& c : cases) {
        const PrintJob job = MakePrintJob(*doc, PrintSelection{c.title, c.basic, c.advanced});
        ASSERT_EQ(JobPageCount(job, c.landscape), static_cast<int>(c.perPage.size()));
        Strings all;
        for (int p = 1; p <= JobPageCount(job, c.landscape); ++p) {
            const auto codes = CodesOn(LayoutPrintPage(job, p, 777, c.landscape));
            EXPECT_EQ(codes.size(), c.perPage[static_cast<std::size_t>(p - 1)]) << p;
            all.insert(all.end(), codes.begin(), codes.end());
        }
        EXPECT_EQ(all.front() + all.back(), std::string(c.first) + c.last);
    }
}

TEST(PrintLayout, TextsAtTheirPlaces) {
    struct Where { int mode; bool title; const char* text; int x, y; PrintFont font; PrintColour colour; };
    constexpr PrintFont F = PrintFont::Fixed;
    constexpr PrintColour K = kPrintBlack;
    // Page 2 of 111 lines (3 pages); the block's rows at -64, -84, -104, the remarks at -124, -144, -164.
    const Where where[] = {
        {0, true, "KOLT -- Parameters List", 50, -30, PrintFont::Heading, K}, {0, true, "Title", 40, -64, F, K},
        {0, true, "Pump line 3", 160, -64, F, K}, {0, true, "Version:", 590, -64, F, K}, {0, true, "V1.0", 670, -64, F, K},
        {0, true, "Company name", 40, -84, F, K}, {0, true, "Acme Mills", 160, -84, F, K}, {0, true, "Date:", 590, -84, F, K},
        {0, true, "2026-12-06", 670, -84, F, K}, {0, true, "Programer", 40, -104, F, K}, {0, true, "J. Doe", 160, -104, F, K},
        {0, true, "Page:", 590, -104, F, K}, {0, true, "2/3", 670, -104, F, K}, {0, true, "first", 110, -124, F, K},
        {0, true, "Remark", 40, -144, F, K}, {0, true, "second", 110, -144, F, K}, {0, true, "third", 110, -164, F, K},
        {0, true, "Description", 40, -217, F, K}, {0, true, "Code", 370, -217, F, K}, {0, true, "Range", 420, -217, F, K},
        {0, true, "Default", 540, -217, F, K}, {0, true, "Setting", 660, -217, F, K}, {0, true, "F44", 370, -237, F, K},
        {0, true, "Line 44", 40, -237, PrintFont::Description, K}, {0, true, "0~100", 420, -237, F, K},
        {0, true, "10", 540, -237, F, kPrintRed}, {0, true, "20", 660, -237, F, kPrintBlue},
        // Without the block: the page field at the right edge, the table right under the heading.
        {0, false, "Page:2/3", 777, -30, F, K}, {0, false, "Description", 40, -84, F, K},
        {0, false, "Line 50", 40, -104, PrintFont::Description, K},
        // The compare titles, 20 above the table; source cells in black.
        {1, true, "Compare Inverter with Default", 40, -195, F, K}, {1, true, "0~100", 420, -237, F, kPrintRed},
        {1, true, "10", 600, -237, F, K}, {2, true, "Compare File with File", 40, -195, F, K},
        {2, true, "0~100", 420, -237, F, K}, {3, false, "Compare Files with Default", 40, -62, F, K},
    };
    for (const Where& w : where) {
        const PrintPage page = LayoutPrintPage(Job(w.mode, 111, w.title), 2, 777, false);
        const PrintText* t = Find(page, w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_EQ(std::tuple(t->x, t->y, t->font, t->colour, t->align),
                  std::tuple(w.x, w.y, w.font, w.colour, w.x == 777 ? PrintAlign::Right : PrintAlign::Left))
            << w.mode << " " << w.text;
    }
    // A compare without differences: one page, the headings close the table.
    const PrintJob none = Job(2, 0, true);
    EXPECT_EQ(std::pair(JobPageCount(none, false), LayoutPrintPage(none, 1, 777, false).texts.back().y), std::pair(1, -217));
}

std::vector<std::tuple<int, int, int, int, int>> Rules(const PrintPage& page, bool vertical) {
    std::vector<std::tuple<int, int, int, int, int>> out;
    for (const auto& r : page.rules)
        if ((r.x1 == r.x2) == vertical) out.emplace_back(r.x1, r.y1, r.x2, r.y2, r.width);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(PrintLayout, RulesWithoutTheTitleBlock) {
    // Mode by mode, the table from the rule above the headings (-82) to the one under the last line (-142).
    const std::vector<std::vector<std::pair<int, int>>> inner{
        {{360, 1}, {410, 1}, {530, 1}, {650, 1}}, {{360, 1}, {410, 1}, {590, 1}},
        {{360, 1}, {410, 1}, {590, 1}}, {{360, 1}, {410, 1}, {530, 1}, {610, 1}, {690, 1}}};
    for (int mode = 0; mode < 4; ++mode) {
        const PrintPage page = LayoutPrintPage(Job(mode, 2, false, {"D", "C", "A", "B", "C", "D"}, {"1", "2", "3", "4"}),
                                               1, 777, false);
        std::vector<std::tuple<int, int, int, int, int>> want{{30, -82, 30, -142, 2}, {770, -82, 770, -142, 2}};
        for (const auto& [x, w] : inner[static_cast<std::size_t>(mode)]) want.emplace_back(x, -82, x, -142, w);
        std::sort(want.begin(), want.end());
        EXPECT_EQ(Rules(page, true), want) << mode;
        // One rule under the heading and the page field; the table's, thin under a line, thick under the last.
        EXPECT_EQ(Rules(page, false), (std::vector<std::tuple<int, int, int, int, int>>{
                                          {30, -142, 770, -142, 2}, {30, -122, 770, -122, 1}, {30, -102, 770, -102, 2},
                                          {30, -82, 770, -82, 2}, {30, -46, 777, -46, 1}}))
            << mode;
    }
}

TEST(PrintLayout, TextWidthsOfThePageFonts) {
    struct Case { const char* text; PrintFont font; double width; };
    const Case cases[] = {
        {"WWWWWWWWWWWWWWWWWWWWW", PrintFont::Fixed, 176.43},  // 21 at 1229/2048 of 14
        {"M\xC3\xBC", PrintFont::Fixed, 16.8}, {"\xE4\xB8\xAD", PrintFont::Fixed, 14.0},
        {"W", PrintFont::Description, 13.21}, {"il", PrintFont::Description, 7.78},
        {"\xFF", PrintFont::Description, 16.8},  // a stray byte prints as the replacement mark
        {"KOLT", PrintFont::Heading, 43.55},
    };
    for (const Case& c : cases) EXPECT_NEAR(PrintTextWidth(c.text, c.font), c.width, 0.01) << c.text;
}

// The cut rules (descriptions from 55 characters, captions side by side), and
// where the font's width needs more, "..." within the box.
TEST(PrintLayout, TextsAreCutToTheirBoxes) {
    const std::string w50(50, 'W'), zh10 = "\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD";
    struct Case { int mode; Strings header, cells; std::string description, text; };
    const Case cases[] = {
        {2, {"D", "C", "first_pump_station_settings.kpf", "b"}, {}, "", "first_pump_statio..."},
        {3, {"D", "C", "Default", "first_pump.kpf", "Gr\xC3\xBCn_S\xC3\xBC" "d.kpf", "c"}, {}, "", "Gr\xC3\xBCn_S\xC3\xBC" "d"},
        {3, {"D", "C", "Default", "a", "b", zh10}, {}, "", "\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD..."},
        {1, {"D", "C", "Default", std::string(20, 'S')}, {}, "", std::string(20, 'S')},
        {0, {}, {std::string(13, '9')}, "", std::string(9, '9') + "..."},
        {0, {}, {}, std::string(60, 'l'), std::string(51, 'l') + "..."},
        {0, {}, {}, std::string(55, 'l'), std::string(51, 'l') + "..."},
        {0, {}, {}, std::string(54, 'l'), std::string(54, 'l')},
        {0, {}, {}, std::string(54, 'W'), std::string(23, 'W') + "..."},
        {0, {}, {}, std::string(60, 'W'), std::string(23, 'W') + "..."},
        {0, {}, {}, std::string(22, 'W') + "   xyz", std::string(22, 'W') + "..."},
    };
    for (const Case& c : cases) {
        PrintJob job = Job(c.mode, 1, true, c.header, c.cells);
        if (!c.description.empty()) job.lines[0].description = c.description;
        EXPECT_NE(Find(LayoutPrintPage(job, 1, 777, false), c.text), nullptr) << c.text;
    }
    PrintJob job = Job(0, 1, true);
    job.titleFields = {w50, "Acme", "Doe", std::string(10, 'W'), "", std::string(80, 'r'), zh10 + zh10 + zh10, ""};
    const PrintPage page = LayoutPrintPage(job, 1, 777, false);
    for (const std::string& cut : {std::string(46, 'W') + "...", std::string(10, 'W'), std::string(75, 'r') + "...",
                                   zh10 + zh10 + zh10})
        EXPECT_NE(Find(page, cut), nullptr) << cut;
}

// The widest characters in every text of every layout: nothing reaches the
// rule that closes its box, nor the frame or the edge of the printable area;
// and no two rules run so close that they print as one thick or double line.
TEST(PrintLayout, NoTextCrossesARuleOrTheFrameAndNoRulesDouble) {
    const std::string zh = "\xE4\xB8\xAD";
    std::string zh60;
    for (int i = 0; i < 60; ++i) zh60 += zh;
    for (const std::string& wide : {std::string(90, 'W'), zh60}) {
        for (int mode = 0; mode < 4; ++mode) {
            for (const bool title : {true, false}) {
                PrintJob job = Job(mode, 3, title, Strings(6, wide), Strings(4, wide));
                job.titleFields.fill(wide);
                for (auto& line : job.lines) line.description = line.code = wide;
                const PrintPage page = LayoutPrintPage(job, 1, 777, false);
                const auto rules = Rules(page, false);
                for (const auto& [ax1, ay, ax2, ay2, aw] : rules)
                    for (const auto& [bx1, by, bx2, by2, bw] : rules)
                        EXPECT_FALSE(ax2 >= bx1 && bx2 >= ax1 && ay != by && std::abs(ay - by) < 4) << ay << " and " << by;
                for (const PrintText& t : page.texts) {
                    const double width = PrintTextWidth(t.text, t.font);
                    const double left = t.align == PrintAlign::Right ? t.x - width : t.x;
                    double rule = t.y > -62 ? 1000 : 770;  // the frame, from the title block down
                    for (const PrintRule& r : page.rules)
                        if (r.x1 == r.x2 && r.x1 > left && std::max(r.y1, r.y2) > t.y - 14 && std::min(r.y1, r.y2) < t.y)
                            rule = std::min<double>(rule, r.x1 - r.width / 2.0);
                    EXPECT_LT(left + width, rule) << mode << " " << title << " " << t.text << " at " << t.x;
                    EXPECT_LE(left + width, 777) << t.text;  // the printable width of A4
                    EXPECT_GE(left, 30) << t.text;
                }
            }
        }
    }
}

TEST(PrintSelectionRules, OneGroupAlwaysStaysAndTitleTextsMarkModified) {
    const PrintSelection flipped = ToggleBasic(PrintSelection{true, true, false});
    EXPECT_TRUE(!flipped.basic && flipped.advanced && ToggleAdvanced(flipped).basic);
    KoltSettings s;
    StoreSelection(s, PrintSelection{false, false, false});
    EXPECT_EQ(std::make_tuple(s.printTitle, s.printF, s.printC), std::make_tuple(0, 1, 1));
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    std::array<std::string, kPrintFieldCount> fields{};
    EXPECT_FALSE(ApplyPrintTitle(*doc, app.settings, fields, PrintSelection{true, false, true}));
    EXPECT_EQ(std::make_tuple(doc->IsModified(), app.settings.printF, app.settings.printC), std::make_tuple(false, 0, 1));
}

TEST(PrintLayout, PdfPathBesideTheFile) {
    EXPECT_EQ(PdfPathBeside("/plant/pump.kpf") + " " + PdfPathBeside("/plant.d/pump") + " " + PdfPathBeside("/plant/.hidden"),
              "/plant/pump.pdf /plant.d/pump.pdf /plant/.hidden.pdf");
}

}  // namespace
}  // namespace kolt
