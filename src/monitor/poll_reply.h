// The four monitor polls and what their replies store. Pure: the engine runs
// the transaction and hands the reply here, so the decoding can be checked on
// any bytes a drive (or a noisy line) may send.
#pragma once

#include "link/modbus_port.h"
#include "monitor/station_table.h"

namespace kolt {

// The four polls, in the order a station is polled.
enum class Poll { Limits, Values, Status, Parameter };

// The request a poll sends to `station`; the parameter poll reads the
// record's selected parameter.
ModbusRequest PollRequest(Poll poll, int station, const StationRecord& record);

// Stores a poll's normal reply, `count` characters of `reply`, in the record of
// the station the reply names (characters 1 and 2), which need not be the
// station asked: a drive answering under another address is recorded as that
// drive. The parameter poll stores under that record's own selection.
// Returns the station stored to, or -1 when the reply names no station of the
// table (address 255 or nothing readable): then nothing is stored.
// A register the reply does not carry stores 0; callers hand over only
// replies the transaction judged normal, which carry every register.
int StorePollReply(Poll poll, const char* reply, int count, StationMonitorTable& table);

}  // namespace kolt
