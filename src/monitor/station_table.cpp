#include "monitor/station_table.h"

#include <cassert>

namespace kolt {

std::int32_t& StationRecord::SelectedParamValue() {
    return paramValues[static_cast<std::size_t>(functionGroup)][static_cast<std::size_t>(functionIndex)];
}

std::int32_t& StationRecord::SelectedSetData() {
    return setData[static_cast<std::size_t>(functionGroup)][static_cast<std::size_t>(functionIndex)];
}

StationRecord& StationMonitorTable::operator[](int station) {
    assert(Holds(station));
    return records_[static_cast<std::size_t>(station)];
}

const StationRecord& StationMonitorTable::operator[](int station) const {
    assert(Holds(station));
    return records_[static_cast<std::size_t>(station)];
}

void StationMonitorTable::Reset() { records_.fill(StationRecord{}); }

void StationMonitorTable::ClearRequests() {
    for (StationRecord& r : records_) {
        r.runRequest = r.stopRequest = r.forwardRequest = r.reverseRequest = r.faultResetRequest = 0;
        r.toggleRequests.fill(0);
    }
}

}  // namespace kolt
