#include "doc_table.h"

#include "base/texts.h"
#include "catalogue/models.h"
#include "view/grid_texts.h"

namespace kolt::cli {

// The grid's own texts, so that a file shows here as it does in the window.
TextTable DocumentTable(const CMarbenDoc& doc) {
    GridTexts g = DocumentGridTexts(doc);
    return TextTable{std::move(g.header), std::move(g.rows)};
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
