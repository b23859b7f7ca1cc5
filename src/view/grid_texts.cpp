#include "view/grid_texts.h"

#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "view/grid_layout.h"

namespace kolt {

namespace {

constexpr int kSoftwareVersion = 53;
constexpr int kFaultRecords = 54;

std::vector<std::string> ParameterRow(const CMarbenDoc& doc, int slot) {
    const int n = NumberOfSlot(slot);
    std::string setting = FormatParamValue(doc.values[0][static_cast<std::size_t>(slot)], n);
    // A document made without a link has no version or fault records to show.
    if (!doc.linked && (n == kSoftwareVersion || n == kFaultRecords)) setting.clear();
    return {Description(n), CodeText(n), RangeText(n), DefaultText(n, doc.model), setting};
}

std::vector<std::string> CompareRow(const CMarbenDoc& doc, int slot) {
    const int n = NumberOfSlot(slot);
    std::vector<std::string> row;
    for (int c = 0; c < GridColumnCount(doc.compareMode); ++c) {
        switch (const CompareColumn kind = CompareColumnKind(doc.compareMode, c)) {
        case CompareColumn::Description: row.push_back(Description(n)); break;
        case CompareColumn::Code: row.push_back(CodeText(n)); break;
        case CompareColumn::Default: row.push_back(DefaultText(n, doc.model)); break;
        default: {
            const std::size_t k = kind == CompareColumn::Source1 ? 0 : kind == CompareColumn::Source2 ? 1 : 2;
            row.push_back(doc.present[k] ? FormatParamValue(doc.values[k][static_cast<std::size_t>(slot)], n)
                                         : std::string());
            break;
        }
        }
    }
    return row;
}

}  // namespace

// A compare mode a damaged file made up is shown, read-only, as an ordinary document.
GridTexts DocumentGridTexts(const CMarbenDoc& doc) {
    GridTexts t;
    t.header = GridHeaderTexts(doc.compareMode, doc.NameTexts());
    const bool compare = IsCompareLayout(doc.compareMode);
    for (int slot : GridRowSlots(doc.compareMode, doc.differs))
        t.rows.push_back(compare ? CompareRow(doc, slot) : ParameterRow(doc, slot));
    return t;
}

}  // namespace kolt
