#include "view/station_titles.h"

#include "document/marben_doc.h"

#include <algorithm>

namespace kolt {

const std::string& StationTitlePager::RowTitle(int row) const {
    return titles_[static_cast<std::size_t>(StationOfRow(row) - 1)];
}

void StationTitlePager::StoreVisible(const std::array<std::string, kTitleRows>& rows) {
    for (int r = 0; r < kTitleRows; ++r)
        titles_[static_cast<std::size_t>(StationOfRow(r) - 1)] = rows[static_cast<std::size_t>(r)];
}

bool StationTitlePager::SetTop(int top) {
    top = std::clamp(top, 0, kTitleTopMax);
    if (top == top_) return false;
    top_ = top;
    return true;
}

bool StationTitlePager::Wheel(int delta) {
    wheelRest_ += delta;
    const int notches = wheelRest_ / kWheelDelta;  // towards zero: a partial notch waits
    wheelRest_ -= notches * kWheelDelta;
    return SetTop(top_ - notches * kTitleWheelLines);
}

void StationTitlePager::Clear() {
    for (auto& t : titles_) t.clear();
}

bool ApplyStationTitles(CMarbenDoc& doc, const StationTitles& titles) {
    const bool changed = doc.stationTitles != titles;
    if (changed) doc.SetModifiedFlag(true);
    doc.stationTitles = titles;
    return changed;
}

}  // namespace kolt
