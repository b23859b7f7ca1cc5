// Reading all of a station's parameters a run of consecutive registers at a
// time: one function 03 request per run instead of one per parameter. A run
// the station refuses or answers badly is read again one register at a time,
// and the station's memory keeps it so from then on. Nothing is shown and no
// document changes: the caller decides what a failure means.
#pragma once

#include "catalogue/catalogue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kolt {

class CModbusPort;

// Most registers one Modbus read may ask for.
inline constexpr int kMaxBlockRegisters = 125;

// Consecutive parameter registers read with one request.
struct RegisterBlock {
    std::uint16_t start = 0;
    std::vector<int> numbers;  // parameter number of each register, in register order
};

// The parameter registers cut into runs of consecutive registers, rising, a run
// longer than maxRegisters cut into pieces of at most that many.
std::vector<RegisterBlock> ParameterBlocks(int maxRegisters = kMaxBlockRegisters);

// Most registers per request whose reply still comes within the port's 400 ms
// read time at this baud rate (with room for the request and the drive's
// turn-around); kMaxBlockRegisters for a rate of 0 or less (unknown).
int BlockLimitForBaud(int baud);

// The frame of a function 03 read of `count` registers from `reg`; returns its length.
int BuildReadRegisters(char* out, int station, std::uint16_t reg, int count);

// Which blocks of which station must be read one register at a time, learnt
// from refusals and bad replies. Kept by the caller across reads.
class BlockReadMemory {
public:
    bool NeedsSingleReads(int station, std::uint16_t blockStart) const;
    void MarkSingleReads(int station, std::uint16_t blockStart);
    // Start registers of the station's blocks read singly, rising.
    std::set<std::uint16_t> SingleReadBlocks(int station) const;
    void Forget(int station) { single_.erase(station); }

private:
    std::map<int, std::set<std::uint16_t>> single_;
};

struct BlockReadResult {
    int result = 0;          // transaction result: 2 when every parameter came
    int failedNumber = -1;   // parameter number whose read failed
    std::string message;     // "TIME-OUT !!", "Check Sum Error !!" or the exception text
    bool cancelled = false;  // `stop` said so before a request: the values are incomplete
    std::array<std::int32_t, kSlotCount> values{};  // stored form by slot, as read; 111..299 are 0
    bool Ok() const;
};

// Reads the 111 parameters of `station`, each block with one request (up to
// three calls while there is no or a garbled reply). A block refused with an
// exception reply, or still garbled after the third call, is read one
// parameter at a time as Read does and marked in `memory`; a marked block is
// read so at once. No reply after the third call ends the read there, and so
// does `stop` (asked before each request) returning true.
BlockReadResult ReadParameterBlocks(CModbusPort& port, int station, BlockReadMemory& memory,
                                    const std::function<bool()>& stop = {});

}  // namespace kolt
