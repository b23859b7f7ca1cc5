#include "doc_table.h"

#include "app/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"

namespace kolt::cli {

namespace {

constexpr int kSoftwareVersion = 53;
constexpr int kFaultRecords = 54;

std::vector<std::string> ParameterRow(const CMarbenDoc& doc, int slot) {
    const int n = NumberOfSlot(slot);
    std::string setting = FormatParamValue(doc.values[0][slot], n);
    // A document made without a link has no version or fault records to show.
    if (!doc.linked && (n == kSoftwareVersion || n == kFaultRecords)) setting.clear();
    return {Description(n), CodeText(n), RangeText(n), DefaultText(n, doc.model), setting};
}

std::vector<std::string> CompareRow(const CMarbenDoc& doc, int slot) {
    const int n = NumberOfSlot(slot);
    std::vector<std::string> row{Description(n), CodeText(n)};
    if (doc.compareMode != 2) row.push_back(DefaultText(n, doc.model));
    const int sources = doc.compareMode == 1 ? 1 : doc.compareMode == 2 ? 2 : 3;
    for (int k = 0; k < sources; ++k)
        row.push_back(doc.present[k] ? FormatParamValue(doc.values[k][slot], n) : std::string());
    return row;
}

}  // namespace

TextTable DocumentTable(const CMarbenDoc& doc) {
    TextTable t;
    switch (doc.compareMode) {
    case 0:
        t.header = {text::kColDescription, text::kColCode, text::kColRange, text::kColDefault, text::kColSetting};
        for (int slot = 0; slot < kParamCount; ++slot) t.rows.push_back(ParameterRow(doc, slot));
        return t;
    case 1:
        t.header = {text::kColDescription, text::kColCode, text::kColDefault, doc.names[0]};
        break;
    case 2:
        t.header = {text::kColDescription, text::kColCode, doc.names[0], doc.names[1]};
        break;
    default:
        t.header = {text::kColDescription, text::kColCode, text::kColDefault, doc.names[0], doc.names[1],
                    doc.names[2]};
        break;
    }
    // Only slots that hold a parameter can make a row, whatever a damaged file's
    // flags say about the others.
    for (int slot = 0; slot < kParamCount; ++slot)
        if (doc.differs[slot]) t.rows.push_back(CompareRow(doc, slot));
    return t;
}

std::string DocumentHeading(const CMarbenDoc& doc) {
    std::string h;
    if (!doc.PathName().empty()) h += "File: " + doc.PathName() + "\n";
    if (doc.compareMode >= 1 && doc.compareMode <= 3) h += std::string(text::kCompareTitles[doc.compareMode - 1]) + "\n";
    // File with file compares settings only; a model would mean nothing there.
    if (doc.compareMode != 2) {
        const std::string name = ModelName(doc.model);
        h += "Model: " + (name.empty() ? std::to_string(doc.model) : name) + ", " +
             kFrequencyTexts[doc.hz50 ? 0 : 1] + "\n";
    }
    return h;
}

}  // namespace kolt::cli
