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
    return MakePrintJob(doc.compareMode, DocumentGridTexts(doc), doc.printFields, sel);
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

constexpr int L = kPrintFrameLeft;
constexpr int R = kPrintFrameRight;
constexpr int X = 40;         // left text position
constexpr int kRowStep = 18;  // a text row, then its rule
constexpr int kThin = 1;
constexpr int kThick = 2;
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
};

// Headings and cells after "Code", by layout mode.
enum Field { kRange, kDefault, kSetting, kSource1, kSource2, kSource3 };
const std::vector<Column>& ColumnsOf(int mode) {
    static const std::array<std::vector<Column>, 4> columns{{
        {{420, kRange}, {540, kDefault}, {660, kSetting}},
        {{420, kDefault}, {600, kSource1}},
        {{420, kSource1}, {600, kSource2}},
        {{420, kDefault}, {540, kSource1}, {620, kSource2}, {700, kSource3}},
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
    void Text(std::string text, PrintFont font, int x, int y, PrintColour colour = kPrintBlack,
              PrintAlign align = PrintAlign::Left) {
        page_.texts.push_back(PrintText{std::move(text), font, colour, x, y, align});
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
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) b.Text(row[c], PrintFont::Fixed, kCellX[c], y);
        y -= kRowStep;
        b.HLine(L, R, y, kThin);
        y -= 2;
    }
    const int rowsBottom = y + 2;
    for (int x : {150, 580, 660}) b.VLine(x, blockTop, rowsBottom, kThin);

    const std::array<std::string, 3> remarks{f[kPrintRemark1], f[kPrintRemark2], f[kPrintRemark3]};
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        if (i == 1) b.Text(text::kPrintLabelRemark, PrintFont::Fixed, X, y);
        b.Text(remarks[i], PrintFont::Fixed, 110, y);
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
    b.Text(std::string(text::kPrintHeadingPrefix) + text::kPrintHeading, PrintFont::Heading, 50, top - 30);
    b.HLine(L, right, top - 30 - 16, kThin);
    int y = top - 62;

    // 2. Title block, or the page field alone
    if (job.title) {
        y = LayoutTitleBlock(b, job, page, pages, y);
    } else {
        b.Text(std::string(text::kPrintLabelPage) + PageField(page, pages), PrintFont::Fixed, right, top - 30,
               kPrintBlack, PrintAlign::Right);
        b.HLine(L, right, top - 30 - 14, kThin);
    }

    // 3. Compare title
    if (mode != 0) b.Text(text::kCompareTitles[mode - 1], PrintFont::Fixed, X, y);
    y -= 20;

    // 4. Column headings
    const int tableTop = y;
    b.HLine(L, R, y, kThick);
    y -= 2;
    b.Text(text::kColDescription, PrintFont::Fixed, X, y);
    b.Text(text::kColCode, PrintFont::Fixed, 370, y);
    for (const Column& c : ColumnsOf(mode)) b.Text(HeadingOf(job, c.field), PrintFont::Fixed, c.x, y);
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
        b.Text(std::move(description), PrintFont::Description, X, y);
        b.Text(row.code, PrintFont::Fixed, 370, y);
        for (const Column& c : ColumnsOf(mode)) b.Text(CellOf(row, c.field), PrintFont::Fixed, c.x, y, ColourOf(c.field));
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
