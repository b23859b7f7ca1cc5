#include "monitor/poll_reply.h"

namespace kolt {

namespace {

// Terminal status word (00F1) bit of each terminal function, S1..RY1.
constexpr std::uint16_t kStatusTerminal[kTerminalCount] = {1u << 0, 1u << 1, 1u << 2, 1u << 3, 1u << 6, 1u << 7};

std::int32_t Bit(std::uint16_t word, std::uint16_t mask) { return (word & mask) ? 1 : 0; }

int RegisterCount(Poll poll) {
    switch (poll) {
    case Poll::Limits: return 2;
    case Poll::Values: return 5;
    case Poll::Status: return 3;
    case Poll::Parameter: break;
    }
    return 1;
}

}  // namespace

ModbusRequest PollRequest(Poll poll, int station, const StationRecord& record) {
    switch (poll) {
    case Poll::Limits: return ModbusRequest::FrequencyLimits(station);
    case Poll::Values: return ModbusRequest::MonitorBlock(station);
    case Poll::Status: return ModbusRequest::FaultBlock(station);
    case Poll::Parameter: break;
    }
    return ModbusRequest::ReadParam(station, record.SelectedNumber());
}

int StorePollReply(Poll poll, const char* reply, int count, StationMonitorTable& table) {
    const int station = ReplyStationOf(reply, count);
    if (!StationMonitorTable::Holds(station)) return -1;
    StationRecord& r = table[station];
    std::uint16_t reg[5] = {};
    for (int k = 0; k < RegisterCount(poll); ++k) ReplyRegisterOf(reply, count, k, reg[k]);
    switch (poll) {
    case Poll::Limits:
        r.freqUpper = reg[0];
        r.freqLower = reg[1];
        break;
    case Poll::Values:
        r.setFreq = reg[0];
        r.outFreq = reg[1];
        r.outVolt = reg[2];
        r.busVolt = reg[3];
        r.outAmp = reg[4];
        break;
    case Poll::Status:
        r.running = Bit(reg[0], 1u << 0);
        r.reverse = Bit(reg[0], 1u << 1);
        r.faultCode = reg[1];
        for (int t = 0; t < kTerminalCount; ++t) r.terminals[static_cast<std::size_t>(t)] = Bit(reg[2], kStatusTerminal[t]);
        break;
    case Poll::Parameter:
        r.SelectedParamValue() = reg[0];
        break;
    }
    return station;
}

}  // namespace kolt
