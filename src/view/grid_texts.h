// The texts a document shows in the parameter grid: the header row and every
// data row, cell by cell, by the grid's own rules. The command line shows and
// prints documents from these, so a file reads there as it does in the window.
#pragma once

#include "document/marben_doc.h"

#include <string>
#include <vector>

namespace kolt {

struct GridTexts {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;  // data row r is entry r - 1
};

GridTexts DocumentGridTexts(const CMarbenDoc& doc);

}  // namespace kolt
