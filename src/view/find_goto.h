// The rules behind Find and Go to: the code list and its typed-prefix search,
// the row a find-next lands on (and how far the grid scrolls), and the row of
// a code. The dialog and the view only show what these decide.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kolt {

enum FindTab : int { kTabFind = 0, kTabGoTo = 1 };
enum FindDirection : int { kFindUp = 0, kFindDown = 1 };
enum CodeType : int { kCodeF = 0, kCodeC = 1 };

// What the Find and Go to dialog keeps between uses.
struct FindGotoState {
    int tab = kTabFind;
    std::string text;          // "Text to find:"
    int direction = kFindDown;
    int codeType = kCodeF;
    int codeIndex = 0;         // entry of the code list; -1 when the typed text matches none

    // A code type radio: the list is refilled (entry 0 chosen) only when the type changes.
    // True when it changed.
    bool SetCodeType(int type);
};

// The entries of the code list: "0".."54" for F codes, "0".."55" for C codes.
std::vector<std::string> CodeListEntries(int codeType);

// The entry a typed text selects: the first that begins with it
// (case-insensitive), looking after entry 0 first and at entry 0 last; -1
// when none does or nothing is typed. "5" selects entry 5, "0" entry 0 and
// "05" nothing.
int MatchCodeEntry(const std::vector<std::string>& entries, std::string_view typed);

// "F07" for entry 7 of the F list, "C07" of the C list.
std::string GoToCode(int codeType, int codeIndex);

// Where the grid starts before a find-next is applied.
enum class FindScroll { None, ToTop, ToBottom };

struct FindResult {
    int row = -1;         // the matching data row; -1 when none
    FindScroll start = FindScroll::None;
    int scrollLines = 0;  // lines to scroll in the search's direction after `start`
};

// Find next over the "Description" texts of data rows 1..N (descriptions[r - 1]
// is row r). `focusRow` is the grid's focus row, -1 when no cell has the
// focus. A row matches when its description contains the text, both turned to
// upper case. There is no wrap-around.
FindResult FindNextRow(const std::vector<std::string>& descriptions, int focusRow, int direction,
                       std::string_view text);

// The first data row (1..N) whose code text (codes[r - 1]) contains `code`; -1 for none.
int FindCodeRow(const std::vector<std::string>& codes, std::string_view code);

// The two "not found" messages.
std::string FindNotFoundText(std::string_view text);
std::string GoToNotFoundText(std::string_view code);

}  // namespace kolt
