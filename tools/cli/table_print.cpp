#include "table_print.h"

#include <algorithm>

namespace kolt::cli {

namespace {

// Characters on screen: UTF-8 continuation bytes take no column of their own.
std::size_t DisplayWidth(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void PrintLine(std::ostream& out, const std::vector<std::string>& cells, const std::vector<std::size_t>& widths) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += "  ";
        line += cells[i];
        if (i + 1 < cells.size()) line.append(widths[i] - DisplayWidth(cells[i]), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
}

}  // namespace

void PrintAligned(std::ostream& out, const TextTable& table) {
    std::vector<std::size_t> widths(table.header.size(), 0);
    auto measure = [&widths](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
    };
    measure(table.header);
    for (const auto& r : table.rows) measure(r);

    PrintLine(out, table.header, widths);
    std::vector<std::string> rule;
    for (auto w : widths) rule.emplace_back(w, '-');
    PrintLine(out, rule, widths);
    for (const auto& r : table.rows) PrintLine(out, r, widths);
}

std::string CsvField(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return text;
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

void PrintCsv(std::ostream& out, const TextTable& table) {
    auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) out << (i > 0 ? "," : "") << CsvField(cells[i]);
        out << '\n';
    };
    line(table.header);
    for (const auto& r : table.rows) line(r);
}

void PrintDocument(std::ostream& out, const CMarbenDoc& doc, bool csv) {
    const TextTable table = DocumentTable(doc);
    if (csv) {
        PrintCsv(out, table);
        return;
    }
    out << DocumentHeading(doc) << '\n';
    PrintAligned(out, table);
    if (doc.IsCompare()) {
        const std::size_t n = table.rows.size();
        out << '\n'
            << (n == 0 ? std::string("No parameter differs.")
                       : std::to_string(n) + (n == 1 ? " parameter differs." : " parameters differ."))
            << '\n';
    }
}

}  // namespace kolt::cli
