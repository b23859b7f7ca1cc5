// The printed parameter list: which lines are printed, how many fit a page,
// and each page as a list of drawing primitives in 0.01-inch units. A painter
// (printer, preview, PDF) only draws what this lays out.
//
// Coordinates: x grows to the right from the left edge of the printable area;
// y is 0 at its top and grows upward, so everything on the page has y <= 0.
// A text run's y is the top of its character cell.
#pragma once

#include "base/settings.h"
#include "document/marben_doc.h"
#include "view/grid_texts.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kolt {

// The three print flags of koltinf.ini.
struct PrintSelection {
    bool title = true;
    bool basic = true;     // F00..F54
    bool advanced = true;  // C00..C55
};

PrintSelection SelectionOfSettings(const KoltSettings& s);
// Stores the flags; both groups when neither is set.
void StoreSelection(KoltSettings& s, PrintSelection sel);

// The dialogs' check boxes: a click toggles the group; clearing one group sets
// the other, so one of them always stays set.
PrintSelection ToggleBasic(PrintSelection sel);
PrintSelection ToggleAdvanced(PrintSelection sel);
// OK (and Preview) may close the dialog only when a group is chosen.
inline bool HasGroup(const PrintSelection& sel) { return sel.basic || sel.advanced; }

// Print Title & Set confirmed: the flags go to the settings, the eight texts to
// the document, which is marked modified only when a text changed. Returns
// whether one did.
bool ApplyPrintTitle(CMarbenDoc& doc, KoltSettings& settings, const std::array<std::string, kPrintFieldCount>& fields,
                     PrintSelection sel);

// 27, 33, 44 or 50.
int LinesPerPage(bool landscape, bool title);
// Lines over pages, rounded up; at least one page.
int PageCount(int lineCount, int linesPerPage);

// One printed line: the texts of a grid row by what they are.
struct PrintRow {
    std::string description;
    std::string code;
    std::string range;
    std::string deflt;
    std::string setting;
    std::array<std::string, 3> sources;
};

// Everything a printout needs, captured once when printing begins.
struct PrintJob {
    int compareMode = 0;  // 1..3 compare layouts, anything else ordinary
    std::array<std::string, 3> sourceNames;  // column captions of the compare sources
    std::array<std::string, kPrintFieldCount> titleFields;
    bool title = true;
    std::vector<PrintRow> lines;
};

// From the grid as it shows the document (header and data rows): an ordinary
// document prints its F rows and then its C rows as the selection asks, a
// compare document every row it shows.
PrintJob MakePrintJob(int compareMode, const GridTexts& grid, const std::array<std::string, kPrintFieldCount>& fields,
                      const PrintSelection& sel);
PrintJob MakePrintJob(const CMarbenDoc& doc, const PrintSelection& sel);

int JobLinesPerPage(const PrintJob& job, bool landscape);
int JobPageCount(const PrintJob& job, bool landscape);

enum class PrintFont {
    Heading,      // Arial, 16, bold
    Description,  // Times New Roman, 14
    Fixed,        // Courier New, 14
};

struct PrintColour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const PrintColour&, const PrintColour&) = default;
};
inline constexpr PrintColour kPrintBlack{0, 0, 0};
inline constexpr PrintColour kPrintRed{255, 0, 0};
inline constexpr PrintColour kPrintBlue{0, 0, 255};

enum class PrintAlign { Left, Right };  // x is the left or the right end of the text

struct PrintText {
    std::string text;
    PrintFont font = PrintFont::Fixed;
    PrintColour colour = kPrintBlack;
    int x = 0;
    int y = 0;
    PrintAlign align = PrintAlign::Left;
    // Width the text may take before the next rule or the frame; the layout
    // has fitted it already, a painter whose font runs wider cuts it further.
    double room = 0;
};

struct PrintRule {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;  // 1 thin, 2 thick
};

struct PrintPage {
    std::vector<PrintText> texts;
    std::vector<PrintRule> rules;
};

// The frame's left and right lines; the table needs the printable area to
// reach at least to the right one.
inline constexpr int kPrintFrameLeft = 30;
inline constexpr int kPrintFrameRight = 770;

// Page `page` (1-based) of the job; `right` is the printable width.
PrintPage LayoutPrintPage(const PrintJob& job, int page, int right, bool landscape);

// How far down the page reaches (positive, 0.01 inch), so that a painter can
// shrink it onto a smaller sheet.
int PageDepth(const PrintPage& page);

// Where a PDF of `path` goes by default: beside it, its extension replaced by
// ".pdf" (added when it has none).
std::string PdfPathBeside(const std::string& path);

// The first `count` characters (UTF-8 code points) of `text`.
std::string FirstChars(const std::string& text, std::size_t count);

// How wide `text` prints in `font`, in 0.01 inch: the advance widths of the
// page fonts (and of their metric twins, Liberation Sans, Serif and Mono), and
// for characters beyond their tables the widest a fallback font draws them.
double PrintTextWidth(const std::string& text, PrintFont font);
// `text` when it is at most `room` wide; otherwise as many of its characters
// as fit together with "..." (a "..." it already ends with is cut first).
std::string FitPrintText(const std::string& text, PrintFont font, double room);

}  // namespace kolt
