// The user's definite-parameter list and the rules of its Add/Remove editor:
// which parameters may be in it, the two lists, their moves and which buttons
// a state allows.
#pragma once

#include "base/settings.h"

#include <string>
#include <vector>

namespace kolt {

enum DefiniteKind : int { kDefiniteF = 1, kDefiniteC = 2 };

struct DefiniteEntry {
    int kind = kDefiniteF;  // 1 F group, 2 C group
    int number = 0;         // the two-digit code number

    // The parameter number (F07 -> 7, C25 -> 125); -1 for an entry naming no parameter.
    int ParamNumber() const;
    bool operator==(const DefiniteEntry&) const = default;
};

// F01..F52 and C00..C47: the parameters whose settings can be edited.
bool IsEligibleDefinite(const DefiniteEntry& e);
// Every eligible parameter in catalogue order (F01..F52, then C00..C47).
std::vector<DefiniteEntry> AllEligibleDefinite();

// "F07: Frequency upper limit (Hz)"
std::string DefiniteListText(const DefiniteEntry& e);

// The list as the settings hold it (the first `definiteCount` entries, as the
// file said), and back (entries past the list's end set to 0).
std::vector<DefiniteEntry> DefiniteListOf(const KoltSettings& s);
void StoreDefiniteList(KoltSettings& s, const std::vector<DefiniteEntry>& list);

// The Add/Remove dialog's two lists. Opening drops every ineligible entry.
class DefiniteEditor {
public:
    explicit DefiniteEditor(const std::vector<DefiniteEntry>& list);

    const std::vector<DefiniteEntry>& Definite() const { return definite_; }
    const std::vector<DefiniteEntry>& All() const { return all_; }
    int SelectedAll() const { return selAll_; }            // -1: none
    int SelectedDefinite() const { return selDefinite_; }  // -1: none

    void SelectAll(int index);
    void SelectDefinite(int index);

    // "&Add ->": the selected "All Parameters" entry goes before the selected
    // "Definite" entry, or at the end; the "All" selection moves to the entry
    // that took its place (or the last). False when nothing was selected.
    bool Add();
    // "<- &Remove": the selected "Definite" entry goes back into "All
    // Parameters" at its catalogue place and is selected there; its successor
    // (or the new last entry) is selected in "Definite".
    bool Remove();
    // "Add A&ll": every eligible parameter in catalogue order, nothing selected.
    void AddAll();
    // "Remo&ve All": "Definite" empty, "All Parameters" full, nothing selected.
    void RemoveAll();
    // "&Up Move" / "&Down Move": swap with the neighbour, keep it selected.
    bool MoveUp();
    bool MoveDown();

    // Which buttons the state allows.
    bool CanAdd() const { return selAll_ >= 0 && !all_.empty(); }
    bool CanRemove() const { return selDefinite_ >= 0; }
    bool CanMoveUp() const { return selDefinite_ > 0; }
    bool CanMoveDown() const { return selDefinite_ >= 0 && selDefinite_ + 1 < static_cast<int>(definite_.size()); }
    bool CanAddAll() const { return !all_.empty(); }
    bool CanRemoveAll() const { return !definite_.empty(); }

private:
    void FillAll();  // every eligible entry not in "Definite", catalogue order
    bool InList(const DefiniteEntry& e) const;

    std::vector<DefiniteEntry> definite_;
    std::vector<DefiniteEntry> all_;
    int selAll_ = -1;
    int selDefinite_ = -1;
};

}  // namespace kolt
