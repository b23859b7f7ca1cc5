// A document as the parameter grid lays it out: the header row and the data
// rows of an ordinary document (111 rows) or of a comparison (differing
// parameters only).
#pragma once

#include "document/marben_doc.h"

#include <string>
#include <vector>

namespace kolt::cli {

struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

TextTable DocumentTable(const CMarbenDoc& doc);

// The lines above the table in plain output: what the document is.
std::string DocumentHeading(const CMarbenDoc& doc);

}  // namespace kolt::cli
