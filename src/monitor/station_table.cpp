#include "monitor/station_table.h"

#include <cassert>

namespace kolt {

std::int32_t& StationRecord::SelectedParamValue() {
    return paramValues[static_cast<std::size_t>(functionGroup)][static_cast<std::size_t>(functionIndex)];
}

std::int32_t& StationRecord::SelectedSetData() {
    return setData[static_cast<std::size_t>(functionGroup)][static_cast<std::size_t>(functionIndex)];
}

void StationRecord::ClearRequests() {
    runRequest = stopRequest = forwardRequest = reverseRequest = faultResetRequest = 0;
    toggleRequests.fill(0);
}

void CopyWindowFields(const StationRecord& from, StationRecord& to) {
    to.monitored = from.monitored;
    to.freqCommand = from.freqCommand;
    to.functionGroup = from.functionGroup;
    to.functionIndex = from.functionIndex;
    to.setData = from.setData;
}

void CopyRequests(const StationRecord& from, StationRecord& to) {
    to.runRequest = from.runRequest;
    to.stopRequest = from.stopRequest;
    to.forwardRequest = from.forwardRequest;
    to.reverseRequest = from.reverseRequest;
    to.faultResetRequest = from.faultResetRequest;
    to.toggleRequests = from.toggleRequests;
}

void CopyPolledFields(const StationRecord& from, StationRecord& to) {
    to.freqUpper = from.freqUpper;
    to.freqLower = from.freqLower;
    to.setFreq = from.setFreq;
    to.outFreq = from.outFreq;
    to.outVolt = from.outVolt;
    to.busVolt = from.busVolt;
    to.outAmp = from.outAmp;
    to.faultCode = from.faultCode;
    to.running = from.running;
    to.reverse = from.reverse;
    to.terminals = from.terminals;
    to.paramValues = from.paramValues;
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
    for (StationRecord& r : records_) r.ClearRequests();
}

}  // namespace kolt
