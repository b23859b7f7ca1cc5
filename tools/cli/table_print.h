// Printing a table for people (aligned columns) or for programs (CSV).
#pragma once

#include "doc_table.h"

#include <ostream>

namespace kolt::cli {

// Columns padded to their widest cell, two blanks apart, a rule under the header.
void PrintAligned(std::ostream& out, const TextTable& table);

// RFC 4180 fields: quoted when they hold a comma, quote, line break or edge blank.
void PrintCsv(std::ostream& out, const TextTable& table);
std::string CsvField(const std::string& text);

// A document as `show` prints it: the table alone in CSV; heading, table and,
// for a comparison, the number of differing parameters in plain output.
void PrintDocument(std::ostream& out, const CMarbenDoc& doc, bool csv);

}  // namespace kolt::cli
