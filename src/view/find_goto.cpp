#include "view/find_goto.h"

#include "base/texts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kolt {

namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Upper(s.substr(0, prefix.size())) == Upper(prefix);
}

// The format's one "%s" replaced by `arg` as it stands (a percent sign in it stays one).
std::string FormatWithText(std::string_view format, std::string_view arg) {
    std::string out(format);
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

constexpr int kFEntries = 55;
constexpr int kCEntries = 56;

}  // namespace

bool FindGotoState::SetCodeType(int type) {
    if (type == codeType) return false;
    codeType = type;
    codeIndex = 0;
    return true;
}

std::vector<std::string> CodeListEntries(int codeType) {
    const int count = codeType == kCodeC ? kCEntries : kFEntries;
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) entries.push_back(std::to_string(i));
    return entries;
}

int MatchCodeEntry(const std::vector<std::string>& entries, std::string_view typed) {
    if (typed.empty() || entries.empty()) return -1;
    const int n = static_cast<int>(entries.size());
    for (int k = 1; k <= n; ++k) {
        const int i = k % n;  // entries 1..n-1, then entry 0
        if (StartsWithNoCase(entries[static_cast<std::size_t>(i)], typed)) return i;
    }
    return -1;
}

std::string GoToCode(int codeType, int codeIndex) {
    char buf[16];
    std::snprintf(buf, sizeof buf, codeType == kCodeC ? "C%02d" : "F%02d", codeIndex);
    return buf;
}

FindResult FindNextRow(const std::vector<std::string>& descriptions, int focusRow, int direction,
                       std::string_view text) {
    FindResult r;
    const int last = static_cast<int>(descriptions.size());
    const bool noFocus = focusRow < 1;
    const bool up = direction == kFindUp;
    int row;
    if (noFocus) {
        r.start = up ? FindScroll::ToBottom : FindScroll::ToTop;
        row = up ? last : 1;
    } else {
        row = up ? focusRow - 1 : focusRow + 1;
    }
    const std::string wanted = Upper(text);
    int examined = 0;
    for (; up ? row >= 1 : row <= last; row += up ? -1 : 1) {
        ++examined;
        if (Upper(descriptions[static_cast<std::size_t>(row - 1)]).find(wanted) != std::string::npos) {
            r.row = row;
            r.scrollLines = std::max(0, examined - (noFocus ? 1 : 0));
            return r;
        }
    }
    r.start = FindScroll::None;  // nothing found: the grid stays where it is
    return r;
}

int FindCodeRow(const std::vector<std::string>& codes, std::string_view code) {
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i].find(code) != std::string::npos) return static_cast<int>(i) + 1;
    return -1;
}

std::string FindNotFoundText(std::string_view text) { return FormatWithText(text::kFindNotFound, text); }

std::string GoToNotFoundText(std::string_view code) { return FormatWithText(text::kGoToNotFound, code); }

}  // namespace kolt
