#include "virtual_station.h"

#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "link/modbus_port.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kolt::sim {
namespace {

constexpr std::uint16_t kCtlRun = 0x0001;
constexpr std::uint16_t kCtlReverse = 0x0002;
constexpr std::uint16_t kCtlFaultReset = 0x0008;
constexpr std::uint16_t kMonitorLast = 0x00FA;  // the monitor block runs 0x00F2..0x00FA

// Control-word bit of each terminal, and the terminal-status bit that reports it.
struct TerminalBit {
    std::uint16_t control;
    std::uint16_t status;
};
constexpr TerminalBit kTerminals[] = {
    {1u << 5, 1u << 0}, {1u << 6, 1u << 1}, {1u << 7, 1u << 2}, {1u << 8, 1u << 3},  // S1..S4
    {1u << 11, 1u << 6},                                                             // AIN
    {1u << 12, 1u << 7},                                                             // RY1
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::uint16_t Word(const std::string& data, std::size_t at) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(data[at]) << 8) | static_cast<unsigned char>(data[at + 1]));
}

void PutWord(std::string& data, std::uint16_t v) {
    data.push_back(static_cast<char>(v >> 8));
    data.push_back(static_cast<char>(v & 0xFF));
}

int NumberOfRegister(std::uint16_t reg) {
    for (const auto& p : AllParams())
        if (p.reg == reg) return p.number;
    return -1;
}

}  // namespace

std::optional<DecodedFrame> DecodeFrame(std::string_view frame) {
    // ':' + at least address, function and LRC + CR LF.
    if (frame.size() < 9 || frame.front() != ':' || frame.substr(frame.size() - 2) != "\r\n") return std::nullopt;
    const std::string_view hex = frame.substr(1, frame.size() - 3);
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = HexValue(hex[i]);
        const int lo = HexValue(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    unsigned sum = 0;
    for (char b : bytes) sum += static_cast<unsigned char>(b);
    if ((sum & 0xFF) != 0) return std::nullopt;  // the LRC makes the byte sum a multiple of 256
    DecodedFrame f;
    f.address = static_cast<std::uint8_t>(bytes[0]);
    f.function = static_cast<std::uint8_t>(bytes[1]);
    f.data = bytes.substr(2, bytes.size() - 3);
    return f;
}

std::string EncodeFrame(std::uint8_t address, std::uint8_t function, std::string_view data) {
    std::string out = ":";
    char buf[4];
    unsigned sum = 0;
    auto put = [&](std::uint8_t b) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
        sum += b;
    };
    put(address);
    put(function);
    for (char c : data) put(static_cast<std::uint8_t>(c));
    std::snprintf(buf, sizeof buf, "%02X", (0x100u - (sum & 0xFF)) & 0xFF);
    out += buf;
    out += "\r\n";
    return out;
}

VirtualStation::VirtualStation(int address, int model, int version, bool hz50) : address_(address), model_(model) {
    ResetToDefaults(hz50);
    params_[kRegVersion] = version;
    const std::int32_t preset = ParamValue(28);
    freqCommand_ = static_cast<std::uint16_t>(preset > 0 ? preset : 1000);
}

void VirtualStation::ResetToDefaults(bool hz50) {
    const auto version = params_.count(kRegVersion) ? params_[kRegVersion] : 0;
    for (const auto& p : AllParams()) params_[p.reg] = DefaultValue(p.number, model_, hz50);
    params_[kRegCapacity] = model_;
    params_[kRegVersion] = version;
}

std::int32_t VirtualStation::ParamValue(int number) const {
    const ParamDef* p = FindParam(number);
    if (!p) return 0;
    const auto it = params_.find(p->reg);
    return it == params_.end() ? 0 : it->second;
}

void VirtualStation::SetParamValue(int number, std::int32_t value) {
    if (const ParamDef* p = FindParam(number)) params_[p->reg] = value;
}

void VirtualStation::SetKeepValue(int number, bool on) {
    if (on)
        keptNumbers_.insert(number);
    else
        keptNumbers_.erase(number);
}

void VirtualStation::SetRefuseBlocks(int reg, bool on) {
    if (on)
        refusedBlocks_.insert(reg);
    else
        refusedBlocks_.erase(reg);
}

bool VirtualStation::RefusesBlock(std::uint16_t start, int count) const {
    if (count < 2) return false;
    for (int k = 0; k < count; ++k) {
        const int reg = start + k;
        if (refusedBlocks_.count(reg) || (refusedBlocks_.count(kEveryBlock) && params_.count(static_cast<std::uint16_t>(reg))))
            return true;
    }
    return false;
}

void VirtualStation::SetFault(int code) {
    fault_ = code;
    if (code != 0) {
        outFreq_ = 0;  // a tripped drive cuts its output; the motor coasts
        control_ = static_cast<std::uint16_t>(control_ & ~kCtlRun);
    }
}

void VirtualStation::ScheduleFault(int code, SimClock::time_point at) {
    pendingFault_ = code;
    pendingFaultAt_ = at;
}

int VirtualStation::SetFrequency() const {
    const int upper = ParamValue(7);
    const int lower = ParamValue(8);
    return std::clamp<int>(freqCommand_, std::min(lower, upper), upper);
}

void VirtualStation::Advance(SimClock::time_point now) {
    if (lastAdvance_ == SimClock::time_point{}) lastAdvance_ = now;
    const double seconds = std::chrono::duration<double>(now - lastAdvance_).count();
    lastAdvance_ = now;
    if (pendingFault_ != 0 && now >= pendingFaultAt_) {
        SetFault(pendingFault_);
        pendingFault_ = 0;
    }
    const bool run = (control_ & kCtlRun) && fault_ == 0;
    const double target = run ? SetFrequency() : 0.0;
    // Acceleration and deceleration times are from 0 to the maximum output frequency.
    const double maxFreq = std::max(1, ParamValue(117));
    const double accel = ParamValue(1) / 10.0;
    const double decel = ParamValue(2) / 10.0;
    if (outFreq_ < target) {
        outFreq_ = accel <= 0 ? target : std::min(target, outFreq_ + maxFreq * seconds / accel);
    } else if (outFreq_ > target) {
        outFreq_ = decel <= 0 ? target : std::max(target, outFreq_ - maxFreq * seconds / decel);
    }
}

int VirtualStation::OutputFrequency(SimClock::time_point now) {
    Advance(now);
    return static_cast<int>(std::lround(outFreq_));
}

std::optional<std::uint16_t> VirtualStation::ReadRegister(std::uint16_t reg, SimClock::time_point now) {
    if (const auto it = params_.find(reg); it != params_.end()) return static_cast<std::uint16_t>(it->second & 0xFFFF);
    Advance(now);
    const double ratedVolts = ParamValue(44);          // tenths of a volt
    const double ratedFreq = ParamValue(45) * 10.0;    // tenths of a hertz -> hundredths
    const double ratedAmps = ParamValue(43);           // tenths of an ampere
    const double noLoadAmps = ParamValue(125);
    const double share = ratedFreq > 0 ? std::min(1.0, outFreq_ / ratedFreq) : 0.0;
    switch (reg) {
    case kRegControlWord: return control_;
    case kRegFreqCommand: return freqCommand_;
    case kRegStatusWord: {
        std::uint16_t status = 0;
        if (((control_ & kCtlRun) && fault_ == 0) || outFreq_ > 0.5) status |= 0x0001;
        if (control_ & kCtlReverse) status |= 0x0002;
        return status;
    }
    case kRegFaultCode: return static_cast<std::uint16_t>(fault_);
    case kRegTerminals: {
        std::uint16_t terminals = 0;
        for (const auto& t : kTerminals)
            if (control_ & t.control) terminals |= t.status;
        return terminals;
    }
    case kRegMonitorBlock: return static_cast<std::uint16_t>(SetFrequency());
    case kRegMonitorBlock + 1: return static_cast<std::uint16_t>(std::lround(outFreq_));
    case kRegMonitorBlock + 2: return static_cast<std::uint16_t>(std::lround(ratedVolts * share));
    case kRegMonitorBlock + 3: return static_cast<std::uint16_t>(std::lround(ratedVolts * 1.414));
    case kRegMonitorBlock + 4:
        return static_cast<std::uint16_t>(outFreq_ > 0.5 ? std::lround(noLoadAmps + (ratedAmps - noLoadAmps) * share / 2) : 0);
    default:
        if (reg > kRegMonitorBlock + 4 && reg <= kMonitorLast) return 0;  // received but never shown
        return std::nullopt;
    }
}

std::uint8_t VirtualStation::CheckWrite(std::uint16_t reg, std::uint16_t value) const {
    if (params_.count(reg)) {
        const int number = NumberOfRegister(reg);
        if (IsReadOnly(number)) return kExWriteMode;
        if (number == 52 && value != 0 && value != 10 && value != 20) return kExOverRange;
        if (value < MinValue(number) || value > MaxValue(number)) return kExOverRange;
        return 0;
    }
    if (reg == kRegControlWord) return 0;
    if (reg == kRegFreqCommand) return value > ParamValue(7) ? kExOverRange : 0;
    if (reg >= kRegStatusWord && reg <= kMonitorLast) return kExWriteMode;
    return kExAddress;
}

void VirtualStation::ApplyWrite(std::uint16_t reg, std::uint16_t value, SimClock::time_point now) {
    Advance(now);
    ++writesAccepted_;
    if (params_.count(reg)) {
        if (NumberOfRegister(reg) == 52) {
            // 10 and 20 reset the drive to its factory defaults; F52 itself reads 0 after.
            if (value != 0) ResetToDefaults(value == 10);
            return;
        }
        if (keptNumbers_.count(NumberOfRegister(reg))) return;
        params_[reg] = value;
        return;
    }
    if (reg == kRegControlWord) {
        if (value & kCtlFaultReset) fault_ = 0;
        control_ = static_cast<std::uint16_t>(value & ~kCtlFaultReset);
    } else if (reg == kRegFreqCommand) {
        freqCommand_ = value;
    }
}

std::string VirtualStation::Exception(std::uint8_t function, std::uint8_t code) const {
    return EncodeFrame(static_cast<std::uint8_t>(address_), static_cast<std::uint8_t>(function | 0x80),
                       std::string(1, static_cast<char>(code)));
}

long VirtualStation::WriteRequestsTo(std::uint16_t reg) const {
    const auto it = writeRequests_.find(reg);
    return it == writeRequests_.end() ? 0 : it->second;
}

std::string VirtualStation::Answer(const DecodedFrame& request, std::string_view rawFrame, SimClock::time_point now) {
    Advance(now);  // a fault that is due shows in this very reply
    const auto& d = request.data;
    const auto addr = static_cast<std::uint8_t>(address_);
    switch (request.function) {
    case 0x03: {
        if (d.size() != 4) return Exception(request.function, kExDataAmount);
        const std::uint16_t start = Word(d, 0);
        const std::uint16_t count = Word(d, 2);
        if (count == 0 || count > kMaxReadCount || RefusesBlock(start, count))
            return Exception(request.function, kExDataAmount);
        std::string data(1, static_cast<char>(count * 2));
        for (int k = 0; k < count; ++k) {
            const auto v = ReadRegister(static_cast<std::uint16_t>(start + k), now);
            if (!v) return Exception(request.function, kExAddress);
            PutWord(data, *v);
        }
        return EncodeFrame(addr, 0x03, data);
    }
    case 0x06: {
        if (d.size() != 4) return Exception(request.function, kExDataAmount);
        const std::uint16_t reg = Word(d, 0);
        const std::uint16_t value = Word(d, 2);
        ++writeRequests_[reg];
        if (const auto ex = CheckWrite(reg, value)) return Exception(request.function, ex);
        ApplyWrite(reg, value, now);
        return std::string(rawFrame);
    }
    case 0x10: {
        if (d.size() < 5) return Exception(request.function, kExDataAmount);
        const std::uint16_t start = Word(d, 0);
        const std::uint16_t count = Word(d, 2);
        const auto bytes = static_cast<unsigned char>(d[4]);
        if (count == 0 || count > kMaxWriteCount || bytes != count * 2 || d.size() != 5u + bytes)
            return Exception(request.function, kExDataAmount);
        for (int k = 0; k < count; ++k) ++writeRequests_[static_cast<std::uint16_t>(start + k)];
        // All or nothing: every register is checked before any is written.
        for (int k = 0; k < count; ++k)
            if (const auto ex = CheckWrite(static_cast<std::uint16_t>(start + k), Word(d, 5 + 2 * k)))
                return Exception(request.function, ex);
        for (int k = 0; k < count; ++k) ApplyWrite(static_cast<std::uint16_t>(start + k), Word(d, 5 + 2 * k), now);
        std::string data;
        PutWord(data, start);
        PutWord(data, count);
        return EncodeFrame(addr, 0x10, data);
    }
    case 0x08:
        if (d.size() != 4) return Exception(request.function, kExDataAmount);
        if (Word(d, 0) != 0x0000) return Exception(request.function, kExFunctionCode);
        return std::string(rawFrame);  // the loop-back test returns the request unchanged
    default:
        return Exception(request.function, kExFunctionCode);
    }
}

}  // namespace kolt::sim
