// One simulated drive: its parameter registers, monitor registers and the way it
// answers a Modbus ASCII request. No I/O here; VirtualDrive carries the frames.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace kolt::sim {

using SimClock = std::chrono::steady_clock;

// Exception codes the drive answers with (function code | 0x80, then this byte).
inline constexpr std::uint8_t kExFunctionCode = 0x51;
inline constexpr std::uint8_t kExAddress = 0x52;
inline constexpr std::uint8_t kExDataAmount = 0x53;
inline constexpr std::uint8_t kExOverRange = 0x54;
inline constexpr std::uint8_t kExWriteMode = 0x55;

// Most registers one read (03) and one multiple write (10) may name, as Modbus allows.
inline constexpr int kMaxReadCount = 125;
inline constexpr int kMaxWriteCount = 123;
// Refuse-blocks mark meaning every run of parameter registers.
inline constexpr int kEveryBlock = -1;

// A decoded request frame: the bytes between ':' and the LRC.
struct DecodedFrame {
    std::uint8_t address = 0;
    std::uint8_t function = 0;
    std::string data;  // the bytes after the function code
};

// Decodes ":" hex pairs LRC CR LF. Empty when the frame is malformed or its LRC is
// wrong: a drive ignores such a frame. Hex digits of either case are read.
std::optional<DecodedFrame> DecodeFrame(std::string_view frame);

// Encodes address, function and data bytes as a frame with LRC and CR LF.
std::string EncodeFrame(std::uint8_t address, std::uint8_t function, std::string_view data);

class VirtualStation {
public:
    VirtualStation(int address, int model, int version, bool hz50);

    int Address() const { return address_; }
    int Model() const { return model_; }

    // The reply to a request addressed to this station (with CR LF), computed at now.
    std::string Answer(const DecodedFrame& request, std::string_view rawFrame, SimClock::time_point now);

    // Parameter values by parameter number (stored form).
    std::int32_t ParamValue(int number) const;
    void SetParamValue(int number, std::int32_t value);
    // Reads of more than one register that take in `reg` (kEveryBlock: any
    // parameter register) are refused with exception 53 while on, as a drive
    // that answers parameters only one at a time would.
    void SetRefuseBlocks(int reg, bool on);
    // Writes to parameter `number` are answered as taken but leave its value
    // as it was, as a drive that silently keeps a setting would.
    void SetKeepValue(int number, bool on);
    // All parameters back to the model's factory defaults at 50 or 60 Hz.
    void ResetToDefaults(bool hz50);

    // Register value as a read would return it; empty for a register the drive lacks.
    std::optional<std::uint16_t> ReadRegister(std::uint16_t reg, SimClock::time_point now);

    // Live state, for tests and for a user poking at the simulator.
    // A fault trips the drive: the output stops at once (the motor coasts)
    // and the run command is dropped, so a fault reset alone does not restart it.
    void SetFault(int code);
    // The drive trips with `code` once `at` has passed (seen by the next
    // request), and stays tripped until a fault reset.
    void ScheduleFault(int code, SimClock::time_point at);
    int Fault() const { return fault_; }
    std::uint16_t ControlWord() const { return control_; }
    std::uint16_t FrequencyCommand() const { return freqCommand_; }
    int OutputFrequency(SimClock::time_point now);
    long WritesAccepted() const { return writesAccepted_; }
    // Write requests (06 or 10) that named a register, taken or refused.
    long WriteRequestsTo(std::uint16_t reg) const;

private:
    // Exception code, or 0 when the write was taken.
    std::uint8_t CheckWrite(std::uint16_t reg, std::uint16_t value) const;
    void ApplyWrite(std::uint16_t reg, std::uint16_t value, SimClock::time_point now);
    void Advance(SimClock::time_point now);
    int SetFrequency() const;
    std::string Exception(std::uint8_t function, std::uint8_t code) const;
    bool RefusesBlock(std::uint16_t start, int count) const;

    int address_;
    int model_;
    std::map<std::uint16_t, std::int32_t> params_;  // by register
    std::uint16_t control_ = 0;
    std::uint16_t freqCommand_ = 0;
    int fault_ = 0;
    double outFreq_ = 0;  // hundredths of a hertz
    SimClock::time_point lastAdvance_{};
    int pendingFault_ = 0;
    SimClock::time_point pendingFaultAt_{};
    long writesAccepted_ = 0;
    std::map<std::uint16_t, long> writeRequests_;
    std::set<int> refusedBlocks_;
    std::set<int> keptNumbers_;
};

}  // namespace kolt::sim
