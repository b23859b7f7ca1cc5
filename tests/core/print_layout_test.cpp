// The printed parameter list: lines, pages and where everything is drawn.
#include "document/doc_commands.h"
#include "view/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kolt {
namespace {

// A job with `n` ordinary lines coded F00.. and described "Line k".
PrintJob OrdinaryJob(int n, bool title) {
    GridTexts g;
    for (int i = 0; i < n; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "F%02d", i % 55);
        g.rows.push_back({"Line " + std::to_string(i), code, "0~100", "10", "20"});
    }
    return MakePrintJob(0, g, {}, PrintSelection{title, true, true});
}

// The texts drawn at (x, y) or, with y unset, anywhere at x.
std::vector<const PrintText*> TextsAt(const PrintPage& page, int x) {
    std::vector<const PrintText*> out;
    for (const auto& t : page.texts)
        if (t.x == x) out.push_back(&t);
    return out;
}

const PrintText* Find(const PrintPage& page, const std::string& text) {
    for (const auto& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

// Codes printed on a page, in order (the "Code" heading left out).
std::vector<std::string> CodesOn(const PrintPage& page) {
    std::vector<std::string> out;
    for (const PrintText* t : TextsAt(page, 370))
        if (t->text != "Code") out.push_back(t->text);
    return out;
}

// A new document of every parameter: the lines each page carries.
TEST(PrintLayout, PagesOfANewDocument) {
    struct Case {
        bool landscape, title, basic, advanced;
        std::vector<std::size_t> perPage;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {false, true, true, true, {44, 44, 23}, "F00", "C55"},
        {false, false, true, true, {50, 50, 11}, "F00", "C55"},
        {true, false, false, true, {33, 23}, "C00", "C55"},
        {true, true, true, false, {27, 27, 1}, "F00", "F54"},
    };
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    ASSERT_TRUE(doc);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "landscape " << c.landscape << " title " << c.title);
        const PrintJob job = MakePrintJob(*doc, PrintSelection{c.title, c.basic, c.advanced});
        ASSERT_EQ(JobPageCount(job, c.landscape), static_cast<int>(c.perPage.size()));
        std::vector<std::string> all;
        for (int p = 1; p <= JobPageCount(job, c.landscape); ++p) {
            const auto codes = CodesOn(LayoutPrintPage(job, p, 777, c.landscape));
            EXPECT_EQ(codes.size(), c.perPage[static_cast<std::size_t>(p - 1)]) << "page " << p;
            all.insert(all.end(), codes.begin(), codes.end());
        }
        EXPECT_EQ(all.front(), c.first);
        EXPECT_EQ(all.back(), c.last);
    }
}

TEST(PrintLayout, HeadingAndTitleBlockAtTheirPlaces) {
    PrintJob job = OrdinaryJob(111, true);
    job.titleFields = {"Pump line 3", "Acme Mills", "J. Doe", "V1.0", "2026-12-06", "first", "second", "third"};
    const PrintPage page = LayoutPrintPage(job, 2, 777, false);

    const PrintText* heading = Find(page, "KOLT -- Parameters List");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->font, PrintFont::Heading);
    EXPECT_EQ(std::make_pair(heading->x, heading->y), std::make_pair(50, -30));

    struct Where {
        const char* text;
        int x, y;
    };
    // Rows of the block at -64, -84, -104; remarks at -124, -144, -164.
    const Where where[] = {
        {"Title", 40, -64},        {"Pump line 3", 160, -64}, {"Version:", 590, -64}, {"V1.0", 670, -64},
        {"Company name", 40, -84}, {"Acme Mills", 160, -84},  {"Date:", 590, -84},    {"2026-12-06", 670, -84},
        {"Programer", 40, -104},   {"J. Doe", 160, -104},     {"Page:", 590, -104},   {"2/3", 670, -104},
        {"first", 110, -124},      {"Remark", 40, -144},      {"second", 110, -144},  {"third", 110, -164},
        // Column headings under the block, then the first line of page 2 (line 44).
        {"Description", 40, -217}, {"Code", 370, -217},       {"Range", 420, -217},   {"Default", 540, -217},
        {"Setting", 660, -217},    {"Line 44", 40, -237},
    };
    for (const Where& w : where) {
        const PrintText* t = Find(page, w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_EQ(std::make_pair(t->x, t->y), std::make_pair(w.x, w.y)) << w.text;
        EXPECT_EQ(t->font, std::string(w.text) == "Line 44" ? PrintFont::Description : PrintFont::Fixed) << w.text;
    }
}

TEST(PrintLayout, PageFieldAloneWithoutTheTitleBlock) {
    const PrintJob job = OrdinaryJob(111, false);
    const PrintPage page = LayoutPrintPage(job, 2, 777, false);
    const PrintText* field = Find(page, "Page:2/3");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->align, PrintAlign::Right);
    EXPECT_EQ(std::make_pair(field->x, field->y), std::make_pair(777, -30));
    EXPECT_EQ(Find(page, "Title"), nullptr);
    // Headings follow the heading rules at once; the first line 22 below them.
    EXPECT_EQ(Find(page, "Description")->y, -84);
    EXPECT_EQ(Find(page, "Line 50")->y, -104);
    // Thin rules under the heading (16 below it) and under the page field (14).
    std::set<int> fullWidth;
    for (const auto& r : page.rules)
        if (r.x1 == 30 && r.x2 == 777 && r.y1 == r.y2 && r.width == 1) fullWidth.insert(r.y1);
    EXPECT_EQ(fullWidth, (std::set<int>{-46, -44}));
}

TEST(PrintLayout, ColoursAndRulesOfTheLines) {
    const PrintJob job = OrdinaryJob(3, false);
    const PrintPage page = LayoutPrintPage(job, 1, 777, false);
    for (const auto& t : page.texts) {
        if (t.y > -104) continue;  // the heading rows
        const PrintColour want = t.x == 540 ? PrintColour{255, 0, 0} : t.x == 660 ? PrintColour{0, 0, 255}
                                                                                 : PrintColour{0, 0, 0};
        EXPECT_EQ(t.colour, want) << t.text;
    }
    // Under the lines at -122, -142, -162: thin, thin, thick (the document's last).
    std::vector<std::pair<int, int>> under;
    for (const auto& r : page.rules)
        if (r.y1 == r.y2 && r.y1 < -104 && r.x1 == 30 && r.x2 == 770) under.push_back({r.y1, r.width});
    EXPECT_EQ(under, (std::vector<std::pair<int, int>>{{-122, 1}, {-142, 1}, {-162, 2}}));
}

// Vertical lines of the table by mode: x and width, all from the rule above
// the headings to the rule under the last line.
TEST(PrintLayout, VerticalLinesByMode) {
    const std::vector<std::vector<std::pair<int, int>>> expected{
        {{30, 2}, {360, 1}, {410, 1}, {530, 1}, {650, 1}, {770, 2}},
        {{30, 2}, {360, 1}, {410, 1}, {590, 1}, {770, 2}},
        {{30, 2}, {360, 1}, {410, 1}, {590, 1}, {770, 2}},
        {{30, 2}, {360, 1}, {410, 1}, {530, 1}, {610, 1}, {690, 1}, {770, 2}},
    };
    for (int mode = 0; mode < 4; ++mode) {
        GridTexts g;
        g.header = {"Description", "Code", "A", "B", "C", "D"};
        g.rows.push_back({"One", "F01", "1", "2", "3", "4"});
        g.rows.push_back({"Two", "F02", "1", "2", "3", "4"});
        const PrintJob job = MakePrintJob(mode, g, {}, PrintSelection{false, true, true});
        const PrintPage page = LayoutPrintPage(job, 1, 777, false);
        std::vector<std::pair<int, int>> verticals;
        for (const auto& r : page.rules) {
            if (r.x1 != r.x2) continue;
            verticals.push_back({r.x1, r.width});
            // Without the title block the table starts 20 below y = -62, compare title or not.
            EXPECT_EQ(std::max(r.y1, r.y2), -82) << "mode " << mode << " x " << r.x1;
            EXPECT_EQ(std::min(r.y1, r.y2), -142) << "mode " << mode << " x " << r.x1;
        }
        std::sort(verticals.begin(), verticals.end());
        EXPECT_EQ(verticals, expected[static_cast<std::size_t>(mode)]) << "mode " << mode;
    }
}

TEST(PrintLayout, CompareHeadingsAndSourceNamesCut) {
    const std::string name1 = "first_pump_station_settings.kpf";   // 31 characters
    const std::string name2 = "second_pump_station_settings.kpf";  // 32
    const std::string name3 = "Grün_Süd.kpf";  // cut by characters, not bytes
    struct Case {
        int mode;
        std::vector<std::string> header;
        const char* title;
        std::vector<std::pair<std::string, int>> headings;  // text, x
    };
    const Case cases[] = {
        {1, {"Description", "Code", "Default", name1}, "Compare Inverter with Default",
         {{"Default", 420}, {name1, 600}}},
        {2, {"Description", "Code", name1, name2}, "Compare File with File",
         {{"first_pump_station_se", 420}, {"second_pump_station_s", 600}}},
        {3, {"Description", "Code", "Default", name1, name2, name3}, "Compare Files with Default",
         {{"Default", 420}, {"first_pu", 540}, {"second_p", 620}, {"Grün_Süd", 700}}},
    };
    for (const Case& c : cases) {
        GridTexts g;
        g.header = c.header;
        const PrintJob job = MakePrintJob(c.mode, g, {}, PrintSelection{true, false, true});
        ASSERT_EQ(JobPageCount(job, false), 1);
        const PrintPage page = LayoutPrintPage(job, 1, 777, false);
        const PrintText* title = Find(page, c.title);
        ASSERT_NE(title, nullptr) << c.mode;
        // Under the title block, 20 above the table.
        EXPECT_EQ(std::make_pair(title->x, title->y), std::make_pair(40, -195));
        for (const auto& [text, x] : c.headings) {
            const PrintText* t = Find(page, text);
            ASSERT_NE(t, nullptr) << c.mode << " " << text;
            EXPECT_EQ(std::make_pair(t->x, t->y), std::make_pair(x, -217)) << text;
        }
        // Headings only: the rule under them closes the table.
        EXPECT_EQ(page.texts.back().y, -217);
    }
}

TEST(PrintLayout, LongDescriptionsAreCut) {
    const std::string sixty(60, 'd');
    const std::string fiftyFour(54, 'e');
    const std::string fiftyFive(55, 'f');
    GridTexts g;
    g.rows = {{sixty, "F01"}, {fiftyFour, "F02"}, {fiftyFive, "F03"}};
    const PrintJob job = MakePrintJob(0, g, {}, PrintSelection{false, true, true});
    const PrintPage page = LayoutPrintPage(job, 1, 777, false);
    std::vector<std::string> descriptions;
    for (const auto& t : page.texts)
        if (t.font == PrintFont::Description) descriptions.push_back(t.text);
    EXPECT_EQ(descriptions, (std::vector<std::string>{std::string(51, 'd') + "...", fiftyFour,
                                                      std::string(51, 'f') + "..."}));
}

TEST(PrintSelectionRules, OneGroupAlwaysStays) {
    // Clearing the last group turns the other one on.
    const PrintSelection onlyF{true, true, false};
    const PrintSelection flipped = ToggleBasic(onlyF);
    EXPECT_TRUE(!flipped.basic && flipped.advanced);
    EXPECT_TRUE(ToggleAdvanced(flipped).basic);

    KoltSettings s;
    StoreSelection(s, PrintSelection{false, false, false});
    EXPECT_EQ(std::make_tuple(s.printTitle, s.printF, s.printC), std::make_tuple(0, 1, 1));
    StoreSelection(s, PrintSelection{true, false, true});
    EXPECT_EQ(std::make_tuple(s.printTitle, s.printF, s.printC), std::make_tuple(1, 0, 1));
}

TEST(PrintSelectionRules, PrintTitleMarksModifiedOnlyWhenATextChanged) {
    CMarbenApp app;
    auto doc = CreateNewDocument(app);
    ASSERT_TRUE(doc);
    doc->SetModifiedFlag(false);
    std::array<std::string, kPrintFieldCount> fields{};
    EXPECT_FALSE(ApplyPrintTitle(*doc, app.settings, fields, PrintSelection{false, true, false}));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app.settings.printTitle, 0);
    EXPECT_EQ(app.settings.printC, 0);
    fields[kPrintDate] = "2026-12-06";
    EXPECT_TRUE(ApplyPrintTitle(*doc, app.settings, fields, PrintSelection{}));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->printFields[4], "2026-12-06");
}

TEST(PrintLayout, PdfPathBesideTheFile) {
    EXPECT_EQ(PdfPathBeside("/plant/pump.kpf"), "/plant/pump.pdf");
    EXPECT_EQ(PdfPathBeside("/plant/ab.kcf"), "/plant/ab.pdf");
    EXPECT_EQ(PdfPathBeside("/plant.d/pump"), "/plant.d/pump.pdf");
    EXPECT_EQ(PdfPathBeside("/plant/.hidden"), "/plant/.hidden.pdf");
}

}  // namespace
}  // namespace kolt
