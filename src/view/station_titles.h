// The "Station Title" editor's working state: a copy of the 254 titles, ten of
// which are shown from a top index that moves by lines, pages, the thumb and
// the wheel.
#pragma once

#include "base/marben_app.h"

#include <array>
#include <string>

namespace kolt {

inline constexpr int kTitleRows = 10;
inline constexpr int kTitleTopMax = kStationMax - kTitleRows;  // 244: rows 245..254
inline constexpr int kTitleMaxChars = 64;
inline constexpr int kWheelDelta = 120;       // one notch of wheel motion
inline constexpr int kTitleWheelLines = 3;    // lines per notch

using StationTitles = std::array<std::string, kStationMax>;

class StationTitlePager {
public:
    explicit StationTitlePager(const StationTitles& titles) : titles_(titles) {}

    int Top() const { return top_; }
    const StationTitles& Titles() const { return titles_; }

    // The station shown in visible row r (0..9): top + r + 1; its label "%d".
    int StationOfRow(int row) const { return top_ + row + 1; }
    std::string RowLabel(int row) const { return std::to_string(StationOfRow(row)); }
    const std::string& RowTitle(int row) const;

    // What the ten visible edits hold goes back into the working copy; every
    // move and OK does this first.
    void StoreVisible(const std::array<std::string, kTitleRows>& rows);

    // Moves; each clamps the top index to 0..244. Returns whether it moved.
    bool LineUp() { return SetTop(top_ - 1); }
    bool LineDown() { return SetTop(top_ + 1); }
    bool PageUp() { return SetTop(top_ - kTitleRows); }
    bool PageDown() { return SetTop(top_ + kTitleRows); }
    bool SetTop(int top);
    // Wheel motion in 1/120 notch units, positive upwards: three lines per
    // notch. Motion short of a notch is kept for the next event.
    bool Wheel(int delta);

    bool AtTop() const { return top_ == 0; }
    bool AtBottom() const { return top_ == kTitleTopMax; }

    // "&Clear": every title empty.
    void Clear();

private:
    StationTitles titles_;
    int top_ = 0;
    int wheelRest_ = 0;
};

class CMarbenDoc;

// OK: the working titles replace the document's, which becomes modified only
// when a title really changed. Returns whether one did.
bool ApplyStationTitles(CMarbenDoc& doc, const StationTitles& titles);

}  // namespace kolt
