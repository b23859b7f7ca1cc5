#include "view/definite_list.h"

#include "catalogue/catalogue.h"

#include <algorithm>
#include <cstdio>

namespace kolt {

namespace {

constexpr int kFirstF = 1, kLastF = 52;  // F00 and F53, F54 are read-only
constexpr int kFirstC = 0, kLastC = 47;  // C48..C55 are read-only

int Clamp(int index, int size) { return size == 0 ? -1 : std::clamp(index, 0, size - 1); }

}  // namespace

int DefiniteEntry::ParamNumber() const {
    if (number < 0 || number > 99) return -1;
    int n = -1;
    if (kind == kDefiniteF) n = number;
    else if (kind == kDefiniteC) n = kCFirstNumber + number;
    return SlotOfNumber(n) < 0 ? -1 : n;
}

bool IsEligibleDefinite(const DefiniteEntry& e) {
    if (e.kind == kDefiniteF) return e.number >= kFirstF && e.number <= kLastF;
    if (e.kind == kDefiniteC) return e.number >= kFirstC && e.number <= kLastC;
    return false;
}

std::vector<DefiniteEntry> AllEligibleDefinite() {
    std::vector<DefiniteEntry> out;
    for (int n = kFirstF; n <= kLastF; ++n) out.push_back({kDefiniteF, n});
    for (int n = kFirstC; n <= kLastC; ++n) out.push_back({kDefiniteC, n});
    return out;
}

std::string DefiniteListText(const DefiniteEntry& e) {
    char code[16];
    std::snprintf(code, sizeof code, e.kind == kDefiniteC ? "C%02d: " : "F%02d: ", e.number);
    const int number = e.ParamNumber();
    return std::string(code) + (number >= 0 ? Description(number) : std::string());
}

std::vector<DefiniteEntry> DefiniteListOf(const KoltSettings& s) {
    const int count = std::clamp(s.definiteCount, 0, kDefiniteMax);
    std::vector<DefiniteEntry> out;
    for (int i = 0; i < count; ++i)
        out.push_back({s.definiteKinds[static_cast<std::size_t>(i)], s.definiteNumbers[static_cast<std::size_t>(i)]});
    return out;
}

void StoreDefiniteList(KoltSettings& s, const std::vector<DefiniteEntry>& list) {
    const int count = std::min(static_cast<int>(list.size()), kDefiniteMax);
    s.definiteCount = count;
    s.definiteKinds.fill(0);
    s.definiteNumbers.fill(0);
    for (int i = 0; i < count; ++i) {
        s.definiteKinds[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)].kind;
        s.definiteNumbers[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)].number;
    }
}

DefiniteEditor::DefiniteEditor(const std::vector<DefiniteEntry>& list) {
    for (const DefiniteEntry& e : list)
        if (IsEligibleDefinite(e) && !InList(e)) definite_.push_back(e);
    FillAll();
}

bool DefiniteEditor::InList(const DefiniteEntry& e) const {
    return std::find(definite_.begin(), definite_.end(), e) != definite_.end();
}

void DefiniteEditor::FillAll() {
    all_.clear();
    for (const DefiniteEntry& e : AllEligibleDefinite())
        if (!InList(e)) all_.push_back(e);
}

void DefiniteEditor::SelectAll(int index) {
    selAll_ = index >= 0 && index < static_cast<int>(all_.size()) ? index : -1;
}

void DefiniteEditor::SelectDefinite(int index) {
    selDefinite_ = index >= 0 && index < static_cast<int>(definite_.size()) ? index : -1;
}

bool DefiniteEditor::Add() {
    if (!CanAdd()) return false;
    const DefiniteEntry e = all_[static_cast<std::size_t>(selAll_)];
    all_.erase(all_.begin() + selAll_);
    if (selDefinite_ >= 0) {
        definite_.insert(definite_.begin() + selDefinite_, e);
        ++selDefinite_;  // the entry that was selected stays selected
    } else {
        definite_.push_back(e);
    }
    selAll_ = Clamp(selAll_, static_cast<int>(all_.size()));
    return true;
}

bool DefiniteEditor::Remove() {
    if (!CanRemove()) return false;
    const DefiniteEntry e = definite_[static_cast<std::size_t>(selDefinite_)];
    definite_.erase(definite_.begin() + selDefinite_);
    selDefinite_ = Clamp(selDefinite_, static_cast<int>(definite_.size()));
    FillAll();
    selAll_ = static_cast<int>(std::find(all_.begin(), all_.end(), e) - all_.begin());
    return true;
}

void DefiniteEditor::AddAll() {
    definite_ = AllEligibleDefinite();
    all_.clear();
    selAll_ = selDefinite_ = -1;
}

void DefiniteEditor::RemoveAll() {
    definite_.clear();
    FillAll();
    selAll_ = selDefinite_ = -1;
}

bool DefiniteEditor::MoveUp() {
    if (!CanMoveUp()) return false;
    std::swap(definite_[static_cast<std::size_t>(selDefinite_)], definite_[static_cast<std::size_t>(selDefinite_ - 1)]);
    --selDefinite_;
    return true;
}

bool DefiniteEditor::MoveDown() {
    if (!CanMoveDown()) return false;
    std::swap(definite_[static_cast<std::size_t>(selDefinite_)], definite_[static_cast<std::size_t>(selDefinite_ + 1)]);
    ++selDefinite_;
    return true;
}

}  // namespace kolt
