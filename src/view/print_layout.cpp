#include "view/print_layout.h"

#include "base/texts.h"
#include "view/grid_layout.h"

#include <algorithm>
#include <cstdio>

namespace kolt {

// ---------------------------------------------------------------- selection

PrintSelection SelectionOfSettings(const KoltSettings& s) {
    return PrintSelection{s.printTitle != 0, s.printF != 0, s.printC != 0};
}

void StoreSelection(KoltSettings& s, PrintSelection sel) {
    if (!HasGroup(sel)) sel.basic = sel.advanced = true;
    s.printTitle = sel.title ? 1 : 0;
    s.printF = sel.basic ? 1 : 0;
    s.printC = sel.advanced ? 1 : 0;
}

PrintSelection ToggleBasic(PrintSelection sel) {
    sel.basic = !sel.basic;
    if (!sel.basic) sel.advanced = true;
    return sel;
}

PrintSelection ToggleAdvanced(PrintSelection sel) {
    sel.advanced = !sel.advanced;
    if (!sel.advanced) sel.basic = true;
    return sel;
}

bool ApplyPrintTitle(CMarbenDoc& doc, KoltSettings& settings, const std::array<std::string, kPrintFieldCount>& fields,
                     PrintSelection sel) {
    StoreSelection(settings, sel);
    const bool changed = doc.printFields != fields;
    if (changed) doc.SetModifiedFlag(true);
    doc.printFields = fields;
    return changed;
}

// ---------------------------------------------------------------- lines and pages

int LinesPerPage(bool landscape, bool title) {
    if (landscape) return title ? 27 : 33;
    return title ? 44 : 50;
}

int PageCount(int lineCount, int linesPerPage) {
    if (linesPerPage <= 0 || lineCount <= 0) return 1;
    return (lineCount + linesPerPage - 1) / linesPerPage;
}

namespace {

const std::string& Cell(const std::vector<std::string>& row, int column) {
    static const std::string empty;
    return column >= 0 && static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)]
                                                                         : empty;
}

PrintRow OrdinaryRow(const std::vector<std::string>& cells) {
    PrintRow r;
    r.description = Cell(cells, kColDescription);
    r.code = Cell(cells, kColCode);
    r.range = Cell(cells, kColRange);
    r.deflt = Cell(cells, kColDefault);
    r.setting = Cell(cells, kColSetting);
    return r;
}

PrintRow CompareRow(int mode, const std::vector<std::string>& cells) {
    PrintRow r;
    for (int c = 0; c < static_cast<int>(cells.size()) && c < GridColumnCount(mode); ++c) {
        const std::string& t = Cell(cells, c);
        switch (CompareColumnKind(mode, c)) {
        case CompareColumn::Description: r.description = t; break;
        case CompareColumn::Code: r.code = t; break;
        case CompareColumn::Default: r.deflt = t; break;
        case CompareColumn::Source1: r.sources[0] = t; break;
        case CompareColumn::Source2: r.sources[1] = t; break;
        case CompareColumn::Source3: r.sources[2] = t; break;
        }
    }
    return r;
}

}  // namespace

PrintJob MakePrintJob(int compareMode, const GridTexts& grid, const std::array<std::string, kPrintFieldCount>& fields,
                      const PrintSelection& sel) {
    PrintJob job;
    job.compareMode = IsCompareLayout(compareMode) ? compareMode : 0;
    job.titleFields = fields;
    job.title = sel.title;
    if (job.compareMode == 0) {
        // The F rows first, then the C rows, each when chosen.
        for (const char group : {'F', 'C'}) {
            if ((group == 'F' && !sel.basic) || (group == 'C' && !sel.advanced)) continue;
            for (const auto& cells : grid.rows) {
                const std::string& code = Cell(cells, kColCode);
                if (!code.empty() && code[0] == group) job.lines.push_back(OrdinaryRow(cells));
            }
        }
        return job;
    }
    // The source captions as the header row shows them.
    for (int c = 0; c < GridColumnCount(job.compareMode); ++c) {
        const CompareColumn kind = CompareColumnKind(job.compareMode, c);
        const int k = kind == CompareColumn::Source1 ? 0 : kind == CompareColumn::Source2 ? 1
                    : kind == CompareColumn::Source3 ? 2 : -1;
        if (k >= 0) job.sourceNames[static_cast<std::size_t>(k)] = Cell(grid.header, c);
    }
    for (const auto& cells : grid.rows) job.lines.push_back(CompareRow(job.compareMode, cells));
    return job;
}

PrintJob MakePrintJob(const CMarbenDoc& doc, const PrintSelection& sel) {
    return MakePrintJob(doc.compareMode, DocumentGridTexts(doc), doc.PrintFieldTexts(), sel);
}

int JobLinesPerPage(const PrintJob& job, bool landscape) { return LinesPerPage(landscape, job.title); }

int JobPageCount(const PrintJob& job, bool landscape) {
    return PageCount(static_cast<int>(job.lines.size()), JobLinesPerPage(job, landscape));
}

// ---------------------------------------------------------------- page layout

std::string PdfPathBeside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string::npos && dot > nameStart) return path.substr(0, dot) + ".pdf";
    return path + ".pdf";
}

std::string FirstChars(const std::string& text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; i < text.size() && n < count; ++n) {
        ++i;  // past the lead byte, then past its continuation bytes
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(0, i);
}

namespace {

// Advance widths of the printable ASCII characters (32..126) in 1/2048 em.
constexpr std::array<std::uint16_t, 95> kSerifAdvance{
    512,  682,  836,  1024, 1024, 1706, 1593, 369,  682,  682,  1024, 1155, 512,  682,  512,  569,
    1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 569,  569,  1155, 1155, 1155, 909,
    1886, 1479, 1366, 1366, 1479, 1251, 1139, 1479, 1479, 682,  797,  1479, 1251, 1821, 1479, 1479,
    1139, 1479, 1366, 1139, 1251, 1479, 1479, 1933, 1479, 1479, 1251, 682,  569,  682,  961,  1024,
    682,  909,  1024, 909,  1024, 909,  682,  1024, 1024, 569,  569,  1024, 569,  1593, 1024, 1024,
    1024, 1024, 682,  797,  569,  1024, 1024, 1479, 1024, 1024, 909,  983,  410,  983,  1108};
constexpr std::array<std::uint16_t, 95> kSansBoldAdvance{
    569,  682,  971,  1139, 1139, 1821, 1479, 487,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 682,  682,  1196, 1196, 1196, 1251,
    1997, 1479, 1479, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1139, 1479, 1251, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 682,  569,  682,  1196, 1139,
    682,  1139, 1251, 1139, 1251, 1139, 682,  1251, 1251, 569,  569,  1139, 569,  1821, 1251, 1251,
    1251, 1251, 797,  1139, 682,  1251, 1139, 1593, 1139, 1139, 1024, 797,  573,  797,  1196};
constexpr int kMonoAdvance = 1229;      // every character of the fixed font
constexpr int kWideAdvance = 2048;      // CJK ideographs, kana, hangul, full-width forms
constexpr int kUnknownAdvance = 2458;   // anything else, the replacement mark among them

struct FontMetrics {
    const std::array<std::uint16_t, 95>* ascii;  // nullptr: fixed pitch
    int height;                                  // character height, 0.01 inch
};
FontMetrics MetricsOf(PrintFont font) {
    switch (font) {
    case PrintFont::Heading: return {&kSansBoldAdvance, 16};
    case PrintFont::Description: return {&kSerifAdvance, 14};
    case PrintFont::Fixed: break;
    }
    return {nullptr, 14};
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The code point at `i` (advanced past it); a byte that starts no valid UTF-8
// sequence stands for itself as U+FFFD.
char32_t NextCodePoint(const std::string& s, std::size_t& i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    const int len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = len == 1 ? lead : lead & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (b(i + k) & 0x3F);
    }
    i += static_cast<std::size_t>(len);
    return c;
}

int Advance(const FontMetrics& m, char32_t c) {
    if (c >= 32 && c < 127) return m.ascii ? (*m.ascii)[c - 32] : kMonoAdvance;
    if (IsWide(c)) return kWideAdvance;
    // Latin, Greek and Cyrillic keep the fixed font's pitch; other fonts and
    // scripts may fall back to a wider face.
    if (!m.ascii && c < 0x0530) return kMonoAdvance;
    return kUnknownAdvance;
}

}  // namespace

double PrintTextWidth(const std::string& text, PrintFont font) {
    const FontMetrics m = MetricsOf(font);
    long units = 0;
    for (std::size_t i = 0; i < text.size();) units += Advance(m, NextCodePoint(text, i));
    return static_cast<double>(units) * m.height / 2048.0;
}

std::string FitPrintText(const std::string& text, PrintFont font, double room) {
    if (PrintTextWidth(text, font) <= room) return text;
    const std::string mark = text::kPrintCutMark;
    std::string kept = text;
    if (kept.size() >= mark.size() && kept.compare(kept.size() - mark.size(), mark.size(), mark) == 0)
        kept.resize(kept.size() - mark.size());
    // Start positions of the characters, so that the cut never splits one.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < kept.size();) {
        starts.push_back(i);
        NextCodePoint(kept, i);
    }
    for (std::size_t n = starts.size(); n-- > 0;) {
        std::string head = kept.substr(0, starts[n]);
        while (!head.empty() && head.back() == ' ') head.pop_back();
        if (PrintTextWidth(head + mark, font) <= room) return head + mark;
    }
    return {};
}

namespace {

constexpr int L = kPrintFrameLeft;
constexpr int R = kPrintFrameRight;
constexpr int X = 40;         // left text position
constexpr int kRowStep = 18;  // a text row, then its rule
constexpr int kThin = 1;
constexpr int kThick = 2;
// Clearance between the end of a text and the rule that closes its box.
constexpr double kTextGap = 1.5;
// A description this long no longer fits before the "Code" column.
constexpr std::size_t kDescriptionCutFrom = 55;
constexpr std::size_t kDescriptionKept = 51;

std::size_t CharCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string PageField(int page, int pages) {
    char buf[32];
    std::snprintf(buf, sizeof buf, text::kPrintPageFormat, page, pages);
    return buf;
}

struct Column {
    int x;
    int field;  // what it shows, below
    int end;    // the rule that closes it on the right
};

// Headings and cells after "Code", by layout mode.
enum Field { kRange, kDefault, kSetting, kSource1, kSource2, kSource3 };
const std::vector<Column>& ColumnsOf(int mode) {
    static const std::array<std::vector<Column>, 4> columns{{
        {{420, kRange, 530}, {540, kDefault, 650}, {660, kSetting, R}},
        {{420, kDefault, 590}, {600, kSource1, R}},
        {{420, kSource1, 590}, {600, kSource2, R}},
        {{420, kDefault, 530}, {540, kSource1, 610}, {620, kSource2, 690}, {700, kSource3, R}},
    }};
    return columns[static_cast<std::size_t>(mode)];
}

// Inner vertical lines of the table, by layout mode.
const std::vector<int>& InnerVerticals(int mode) {
    static const std::array<std::vector<int>, 4> lines{{
        {360, 410, 530, 650},
        {360, 410, 590},
        {360, 410, 590},
        {360, 410, 530, 610, 690},
    }};
    return lines[static_cast<std::size_t>(mode)];
}

class PageBuilder {
public:
    explicit PageBuilder(PrintPage& page) : page_(page) {}
    // A text from x to at most the rule at `end`, cut to fit.
    void Text(const std::string& text, PrintFont font, int x, int y, int end, PrintColour colour = kPrintBlack) {
        const double room = end - x - kTextGap;
        page_.texts.push_back(PrintText{FitPrintText(text, font, room), font, colour, x, y, PrintAlign::Left, room});
    }
    void RightText(const std::string& text, PrintFont font, int x, int y, int start) {
        const double room = x - start;
        page_.texts.push_back(PrintText{FitPrintText(text, font, room), font, kPrintBlack, x, y, PrintAlign::Right, room});
    }
    void HLine(int x1, int x2, int y, int width) { page_.rules.push_back(PrintRule{x1, y, x2, y, width}); }
    void VLine(int x, int y1, int y2, int width) { page_.rules.push_back(PrintRule{x, y1, x, y2, width}); }

private:
    PrintPage& page_;
};

std::string HeadingOf(const PrintJob& job, int field) {
    switch (field) {
    case kRange: return text::kColRange;
    case kDefault: return text::kColDefault;
    case kSetting: return text::kColSetting;
    default: break;
    }
    const std::string& name = job.sourceNames[static_cast<std::size_t>(field - kSource1)];
    // Side by side the captions get little room: 21 characters in two columns, 8 in three.
    if (job.compareMode == 2) return FirstChars(name, 21);
    if (job.compareMode == 3) return FirstChars(name, 8);
    return name;
}

const std::string& CellOf(const PrintRow& row, int field) {
    switch (field) {
    case kRange: return row.range;
    case kDefault: return row.deflt;
    case kSetting: return row.setting;
    default: return row.sources[static_cast<std::size_t>(field - kSource1)];
    }
}

PrintColour ColourOf(int field) {
    if (field == kDefault) return kPrintRed;
    if (field == kSetting) return kPrintBlue;
    return kPrintBlack;
}

// The title block from the current y; returns the y below it.
int LayoutTitleBlock(PageBuilder& b, const PrintJob& job, int page, int pages, int y) {
    const auto& f = job.titleFields;
    const int blockTop = y;
    b.HLine(L, R, y, kThick);
    y -= 2;
    const std::array<std::array<std::string, 4>, 3> rows{{
        {text::kPrintLabelTitle, f[kPrintTitle], text::kPrintLabelVersion, f[kPrintVersion]},
        {text::kPrintLabelCompany, f[kPrintCompany], text::kPrintLabelDate, f[kPrintDate]},
        {text::kPrintLabelProgrammer, f[kPrintProgrammer], text::kPrintLabelPage, PageField(page, pages)},
    }};
    constexpr std::array<int, 4> kCellX{X, 160, 590, 670};
    constexpr std::array<int, 4> kCellEnd{150, 580, 660, R};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) b.Text(row[c], PrintFont::Fixed, kCellX[c], y, kCellEnd[c]);
        y -= kRowStep;
        b.HLine(L, R, y, kThin);
        y -= 2;
    }
    const int rowsBottom = y + 2;
    for (int x : {150, 580, 660}) b.VLine(x, blockTop, rowsBottom, kThin);

    const std::array<std::string, 3> remarks{f[kPrintRemark1], f[kPrintRemark2], f[kPrintRemark3]};
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        if (i == 1) b.Text(text::kPrintLabelRemark, PrintFont::Fixed, X, y, 100);
        b.Text(remarks[i], PrintFont::Fixed, 110, y, R);
        y -= kRowStep;
        if (i + 1 < remarks.size()) {
            b.HLine(100, R, y, kThin);
            y -= 2;
        }
    }
    b.VLine(100, rowsBottom, y, kThin);
    b.HLine(L, R, y, kThick);
    b.VLine(L, blockTop, y, kThick);
    b.VLine(R, blockTop, y, kThick);
    return y - (2 + (14 / 2 + 4));
}

}  // namespace

PrintPage LayoutPrintPage(const PrintJob& job, int page, int right, bool landscape) {
    PrintPage out;
    PageBuilder b(out);
    const int mode = IsCompareLayout(job.compareMode) ? job.compareMode : 0;
    const int perPage = JobLinesPerPage(job, landscape);
    const int pages = JobPageCount(job, landscape);
    const int lineCount = static_cast<int>(job.lines.size());
    constexpr int top = 0;

    // 1. Heading
    b.Text(std::string(text::kPrintHeadingPrefix) + text::kPrintHeading, PrintFont::Heading, 50, top - 30, right);
    b.HLine(L, right, top - 30 - 16, kThin);
    int y = top - 62;

    // 2. Title block, or the page field alone. The field's own rule would lie
    // 2 above the heading's and print as a double line: the heading's rule
    // underlines both.
    if (job.title) {
        y = LayoutTitleBlock(b, job, page, pages, y);
    } else {
        b.RightText(std::string(text::kPrintLabelPage) + PageField(page, pages), PrintFont::Fixed, right, top - 30, L);
    }

    // 3. Compare title
    if (mode != 0) b.Text(text::kCompareTitles[mode - 1], PrintFont::Fixed, X, y, R);
    y -= 20;

    // 4. Column headings
    const int tableTop = y;
    b.HLine(L, R, y, kThick);
    y -= 2;
    b.Text(text::kColDescription, PrintFont::Fixed, X, y, 360);
    b.Text(text::kColCode, PrintFont::Fixed, 370, y, 410);
    for (const Column& c : ColumnsOf(mode)) b.Text(HeadingOf(job, c.field), PrintFont::Fixed, c.x, y, c.end);
    y -= kRowStep;
    b.HLine(L, R, y, kThick);
    int tableBottom = y;
    y -= 2;

    // 5. Lines
    for (int j = 0; j < perPage; ++j) {
        const int i = (page - 1) * perPage + j;
        if (i < 0 || i >= lineCount) break;
        const PrintRow& row = job.lines[static_cast<std::size_t>(i)];
        std::string description = row.description;
        if (CharCount(description) >= kDescriptionCutFrom)
            description = FirstChars(description, kDescriptionKept) + text::kPrintCutMark;
        b.Text(description, PrintFont::Description, X, y, 360);
        b.Text(row.code, PrintFont::Fixed, 370, y, 410);
        for (const Column& c : ColumnsOf(mode))
            b.Text(CellOf(row, c.field), PrintFont::Fixed, c.x, y, c.end, ColourOf(c.field));
        y -= kRowStep;
        b.HLine(L, R, y, i == lineCount - 1 ? kThick : kThin);
        tableBottom = y;
        y -= 2;
    }

    // 6. Vertical lines of the table
    b.VLine(L, tableTop, tableBottom, kThick);
    b.VLine(R, tableTop, tableBottom, kThick);
    for (int x : InnerVerticals(mode)) b.VLine(x, tableTop, tableBottom, kThin);
    return out;
}

int PageDepth(const PrintPage& page) {
    int depth = 0;
    // A rule is as deep as half its pen below its line; a text as its character cell.
    for (const PrintRule& r : page.rules) depth = std::max(depth, -std::min(r.y1, r.y2) + (r.width + 1) / 2);
    for (const PrintText& t : page.texts) depth = std::max(depth, -t.y + kRowStep);
    return depth;
}

}  // namespace kolt
