// The station monitor table: one record per station address 0..254 (0 is
// never used) holding what the polls last read, what the monitor windows ask
// for, and which stations the all-station monitor polls. The engine writes the
// polled fields; the windows read them and set the requests.
#pragma once

#include <array>
#include <cstdint>

namespace kolt {

inline constexpr int kMonitorRecords = 255;   // station indices 0..254
inline constexpr int kFunctionGroups = 2;     // 0: Fxx, 1: Cxx
inline constexpr int kFunctionIndices = 100;  // 0..99 within a group

// The six terminal functions of the "TM2 status" row, in their order there.
enum class Terminal { S1 = 0, S2, S3, S4, AIN, RY1 };
inline constexpr int kTerminalCount = 6;

// Frequency limits before the first limits poll: 0.00 .. 5.00 Hz.
inline constexpr std::int32_t kResetFreqUpper = 500;
inline constexpr std::int32_t kResetFreqLower = 0;

struct StationRecord {
    // Read by the polls (register in brackets)
    std::int32_t freqUpper = kResetFreqUpper;  // F07 (0008), hundredths of a hertz
    std::int32_t freqLower = kResetFreqLower;  // F08 (0009)
    std::int32_t setFreq = 0;                  // 00F2, hundredths of a hertz
    std::int32_t outFreq = 0;                  // 00F3, hundredths of a hertz
    std::int32_t outVolt = 0;                  // 00F4, tenths of a volt
    std::int32_t busVolt = 0;                  // 00F5, tenths of a volt
    std::int32_t outAmp = 0;                   // 00F6, tenths of an ampere
    std::int32_t faultCode = 0;                // 00F0
    std::int32_t running = 0;                  // 00EF bit 0
    std::int32_t reverse = 0;                  // 00EF bit 1
    std::array<std::int32_t, kTerminalCount> terminals{};  // 00F1 bits 0..3, 6, 7

    // Pending control-word changes set by the window buttons (1 = pending)
    std::int32_t runRequest = 0;
    std::int32_t stopRequest = 0;
    std::int32_t forwardRequest = 0;
    std::int32_t reverseRequest = 0;
    std::int32_t faultResetRequest = 0;
    std::array<std::int32_t, kTerminalCount> toggleRequests{};

    std::int32_t freqCommand = 0;    // what the frequency command writes to 00E7
    std::int32_t functionGroup = 0;  // the selected parameter: group * 100 + index
    std::int32_t functionIndex = 0;
    std::array<std::array<std::int32_t, kFunctionIndices>, kFunctionGroups> paramValues{};  // last read
    std::array<std::array<std::int32_t, kFunctionIndices>, kFunctionGroups> setData{};      // to write

    std::uint8_t monitored = 0;  // the all-station monitor polls this station

    std::int32_t Terminal(kolt::Terminal t) const { return terminals[static_cast<std::size_t>(t)]; }
    // The selected parameter's number (F07 is 7, C25 is 125).
    int SelectedNumber() const { return functionGroup * 100 + functionIndex; }
    std::int32_t& SelectedParamValue();
    std::int32_t& SelectedSetData();
    // The control-word requests (run .. fault reset and the six toggles) cleared.
    void ClearRequests();
};

// Where the polls run on a thread of their own, each side keeps its own table
// and hands over only the fields it owns. The window side owns the monitored
// flag, the selected parameter, the frequency command and the data to set (the
// polls and commands read them); the requests travel with the command that
// sends them; the polls own everything they read.
void CopyWindowFields(const StationRecord& from, StationRecord& to);
void CopyRequests(const StationRecord& from, StationRecord& to);
void CopyPolledFields(const StationRecord& from, StationRecord& to);

class StationMonitorTable {
public:
    // Station s's record; s outside 0..254 is a programming error (asserted),
    // callers check with Holds first where a number comes from outside.
    StationRecord& operator[](int station);
    const StationRecord& operator[](int station) const;
    static bool Holds(int station) { return station >= 0 && station < kMonitorRecords; }

    // Every field of every record back to its reset value.
    void Reset();
    // Clears the run, stop, forward, reverse and fault-reset requests and the
    // six toggle requests of every station (a monitor window opening).
    void ClearRequests();

private:
    std::array<StationRecord, kMonitorRecords> records_{};
};

}  // namespace kolt
