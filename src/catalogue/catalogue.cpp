#include "catalogue/catalogue.h"

#include <array>
#include <cstdio>

namespace kolt {
namespace {

// The registers are the drive's own; C15 sits at 0x0007 between F06 and F07.
constexpr std::array<ParamDef, kParamCount> kParams{{
    {"F00", 0, 0x0000, "Inverter horse power capacity", "-----------", 0, 999, 3, DisplayFormat::ThreeDigits, true},
    {"F01", 1, 0x0001, "Acceleration time 1 (s)", "0.1~999.0", 1, 9990, 5, DisplayFormat::OneDecimal, false},
    {"F02", 2, 0x0002, "Deceleration time 1 (s)", "0.1~999.0", 1, 9990, 5, DisplayFormat::OneDecimal, false},
    {"F03", 3, 0x0003, "Motor rotation direction", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F04", 4, 0x0004, "Run command source", "0~2", 0, 2, 1, DisplayFormat::Integer, false},
    {"F05", 5, 0x0005, "Frequency command source", "0~4", 0, 4, 1, DisplayFormat::Integer, false},
    {"F06", 6, 0x0006, "External control operation mode", "0~2", 0, 2, 1, DisplayFormat::Integer, false},
    {"F07", 7, 0x0008, "Frequency upper limit (Hz)", "1.00~200.00", 100, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F08", 8, 0x0009, "Frequency lower limit (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F09", 9, 0x000A, "Stopping method", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F10", 10, 0x000B, "Status display parameters", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F11", 11, 0x000E, "Terminal S1 Function", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"F12", 12, 0x000F, "Terminal S2 Function", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"F13", 13, 0x0010, "Terminal S3 Function", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"F14", 14, 0x0011, "Terminal S4 Function", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"F15", 15, 0x0012, "Terminal AIN Function", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"F16", 16, 0x0092, "AIN signal select", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F17", 17, 0x0013, "AIN Gain (%)", "0~200", 0, 200, 3, DisplayFormat::Integer, false},
    {"F18", 18, 0x0014, "AIN Bias (%)", "0~100", 0, 100, 3, DisplayFormat::Integer, false},
    {"F19", 19, 0x0076, "AIN Bias", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F20", 20, 0x0077, "AIN signal slope direction", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F21", 21, 0x0015, "Multi-function output RY1", "0~15", 0, 15, 2, DisplayFormat::Integer, false},
    {"F22", 22, 0x0016, "Output frequency at the set value (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F23", 23, 0x0017, "Frequency detection range (Hz)", "0.00~30.00", 0, 3000, 5, DisplayFormat::TwoDecimals, false},
    {"F24", 24, 0x009F, "Output current set value (%)", "0~100", 0, 100, 3, DisplayFormat::Integer, false},
    {"F25", 25, 0x00A0, "Output current detection time (s)", "0.0~25.5", 0, 255, 4, DisplayFormat::OneDecimal, false},
    {"F26", 26, 0x0018, "Multi-function output analog type selection (0~10Vdc)", "0~5", 0, 5, 1, DisplayFormat::Integer, false},
    {"F27", 27, 0x0019, "Multi-function analog output gain (%)", "0~200", 0, 200, 3, DisplayFormat::Integer, false},
    {"F28", 28, 0x001A, "Preset frequency 1 (Main frequency setting)(Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F29", 29, 0x001B, "Preset frequency 2 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F30", 30, 0x001C, "Preset frequency 3 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F31", 31, 0x001D, "Preset frequency 4 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F32", 32, 0x001E, "Preset frequency 5 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F33", 33, 0x001F, "Preset frequency 6 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F34", 34, 0x0020, "Preset frequency 7 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F35", 35, 0x0021, "Preset frequency 8 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F36", 36, 0x0022, "Jog frequency instruction (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"F37", 37, 0x0023, "DC braking time (s)", "0.0~25.5", 0, 255, 4, DisplayFormat::OneDecimal, false},
    {"F38", 38, 0x0024, "DC braking start frequency (Hz)", "1.00~10.00", 100, 1000, 5, DisplayFormat::TwoDecimals, false},
    {"F39", 39, 0x0025, "DC braking level (%)", "0~20", 0, 20, 2, DisplayFormat::Integer, false},
    {"F40", 40, 0x0026, "Carrier frequency (KHz)", "4~16", 4, 16, 2, DisplayFormat::Integer, false},
    {"F41", 41, 0x0027, "Auto Restart for power-loss", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F42", 42, 0x0028, "Auto-restart times", "0~5", 0, 5, 1, DisplayFormat::Integer, false},
    {"F43", 43, 0x0095, "Motor rated current (A)", "0.2~20.0", 2, 200, 4, DisplayFormat::OneDecimal, false},
    {"F44", 44, 0x0096, "Motor rated voltage (Vac)", "198.0~530.0", 1980, 5300, 5, DisplayFormat::OneDecimal, false},
    {"F45", 45, 0x0099, "Motor rated frequency (Hz)", "0.0~200.0", 0, 2000, 5, DisplayFormat::OneDecimal, false},
    {"F46", 46, 0x0097, "Motor rated power (kW)", "0.2~5.5", 2, 55, 3, DisplayFormat::OneDecimal, false},
    {"F47", 47, 0x0098, "Motor rated speed (*10rpm)", "0.0~180.0", 0, 1800, 5, DisplayFormat::OneDecimal, false},
    {"F48", 48, 0x00DC, "Torque Boost Gain (Vector)", "1~450", 1, 450, 3, DisplayFormat::Integer, false},
    {"F49", 49, 0x00DD, "Slip Compensation Gain (Vector)", "1~450", 1, 450, 3, DisplayFormat::Integer, false},
    {"F50", 50, 0x00DF, "Low frequency voltage compensation", "0~40", 0, 40, 2, DisplayFormat::Integer, false},
    {"F51", 51, 0x002A, "Advanced parameter function display", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"F52", 52, 0x002B, "Factory default", "0,10,20", 0, 20, 2, DisplayFormat::Integer, false},
    {"F53", 53, 0x002C, "Software version", "CPU Version", 0, 0, 4, DisplayFormat::OneDecimal, true},
    {"F54", 54, 0x002D, "Latest 3 fault records", "-----------", 0, 0, 3, DisplayFormat::Integer, true},
    {"C00", 100, 0x0064, "Reverse run instruction", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C01", 101, 0x0065, "Acceleration stall-prevention", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C02", 102, 0x0066, "Acceleration stall-prevention level (%)", "50~200", 50, 200, 3, DisplayFormat::Integer, false},
    {"C03", 103, 0x0067, "Deceleration stall-prevention", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C04", 104, 0x0068, "Deceleration stall-prevention level (%)", "50~200", 50, 200, 3, DisplayFormat::Integer, false},
    {"C05", 105, 0x0069, "Run stall-prevention", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C06", 106, 0x006A, "Run stall-prevention level (%)", "50~200", 50, 200, 3, DisplayFormat::Integer, false},
    {"C07", 107, 0x006B, "Stall prevention time during run", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C08", 108, 0x006C, "Stall prevention deceleration time set (s)", "0.1~999.0", 1, 9990, 5, DisplayFormat::OneDecimal, false},
    {"C09", 109, 0x006D, "Direct start on power up", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C10", 110, 0x006E, "Reset mode", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C11", 111, 0x006F, "Acceleration time 2 (s)", "0.1~999.0", 1, 9990, 5, DisplayFormat::OneDecimal, false},
    {"C12", 112, 0x0070, "Deceleration time 2 (s)", "0.1~999.0", 1, 9990, 5, DisplayFormat::OneDecimal, false},
    {"C13", 113, 0x0071, "Fan control", "0~3", 0, 3, 1, DisplayFormat::Integer, false},
    {"C14", 114, 0x009A, "Control mode", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C15", 115, 0x0007, "V/F Pattern setting", "1~7", 1, 7, 1, DisplayFormat::Integer, false},
    {"C16", 116, 0x009E, "V/F base output voltage set (V)", "198.0~530.0", 1980, 5300, 5, DisplayFormat::OneDecimal, false},
    {"C17", 117, 0x007A, "Max output frequency (Hz)", "0.20~200.00", 20, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C18", 118, 0x007B, "Output voltage ratio at max frequency (%)", "0.0~100.0", 0, 1000, 5, DisplayFormat::OneDecimal, false},
    {"C19", 119, 0x007C, "Mid frequency (Hz)", "0.10~200.00", 10, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C20", 120, 0x007D, "Output voltage ratio at mid frequency (%)", "0.0~100.0", 0, 1000, 5, DisplayFormat::OneDecimal, false},
    {"C21", 121, 0x007E, "Min output frequency (Hz)", "0.10~200.00", 10, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C22", 122, 0x007F, "Output voltage ratio at min frequency (%)", "0.0~100.0", 0, 1000, 5, DisplayFormat::OneDecimal, false},
    {"C23", 123, 0x000C, "Torque Boost Gain (V/F)(%)", "0.0~30.0", 0, 300, 4, DisplayFormat::OneDecimal, false},
    {"C24", 124, 0x000D, "Slip Compensation Gain (V/F)(%)", "0.0~100.0", 0, 1000, 5, DisplayFormat::OneDecimal, false},
    {"C25", 125, 0x0029, "Motor no load current (A)", "0.1~10.0", 1, 100, 4, DisplayFormat::OneDecimal, false},
    {"C26", 126, 0x0080, "Electronic thermal relay protection for motor (OL1)", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C27", 127, 0x0081, "Skip frequency 1 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C28", 128, 0x0082, "Skip frequency 2 (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C29", 129, 0x0083, "Skip frequency range (Hz)", "0.00~30.00", 0, 3000, 5, DisplayFormat::TwoDecimals, false},
    {"C30", 130, 0x008A, "PID operation mode", "0~4", 0, 4, 1, DisplayFormat::Integer, false},
    {"C31", 131, 0x008B, "PID Error gain", "0.00~10.00", 0, 1000, 5, DisplayFormat::TwoDecimals, false},
    {"C32", 132, 0x008C, "P: Proportional gain", "0.0~10.0", 0, 100, 4, DisplayFormat::OneDecimal, false},
    {"C33", 133, 0x008D, "I: Integral time (s)", "0.0~100.0", 0, 1000, 5, DisplayFormat::OneDecimal, false},
    {"C34", 134, 0x008E, "D: Differential time (s)", "0.00~10.00", 0, 1000, 5, DisplayFormat::TwoDecimals, false},
    {"C35", 135, 0x008F, "PID OFFSET", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C36", 136, 0x0090, "PID OFFSET adjust (%)", "0~109", 0, 109, 3, DisplayFormat::Integer, false},
    {"C37", 137, 0x0091, "PID Update time (s)", "0.0~2.5", 0, 25, 3, DisplayFormat::OneDecimal, false},
    {"C38", 138, 0x0093, "PID Sleep mode threshold (Hz)", "0.00~200.00", 0, 20000, 6, DisplayFormat::TwoDecimals, false},
    {"C39", 139, 0x0094, "PID Sleep delay time (s)", "0.0~25.5", 0, 255, 4, DisplayFormat::OneDecimal, false},
    {"C40", 140, 0x0072, "Frequency Up/Down control using MFIT", "0~2", 0, 2, 1, DisplayFormat::Integer, false},
    {"C41", 141, 0x009D, "Local/Remote frequency control select", "0~1", 0, 1, 1, DisplayFormat::Integer, false},
    {"C42", 142, 0x0073, "Terminal S5 function (option)", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"C43", 143, 0x0074, "Terminal S6 function (option)", "0~19", 0, 19, 2, DisplayFormat::Integer, false},
    {"C44", 144, 0x0075, "Multi-function input terminal S1~S6 signal scan time (mSec*8)", "1~100", 1, 100, 3, DisplayFormat::Integer, false},
    {"C45", 145, 0x0078, "Confirming AIN signal scan time (mSec*8)", "1~100", 1, 100, 3, DisplayFormat::Integer, false},
    {"C46", 146, 0x0079, "Multi-function output T+,T- (option)", "0~15", 0, 15, 2, DisplayFormat::Integer, false},
    {"C47", 147, 0x0030, "Remote keypad control selection", "0~2", 0, 2, 1, DisplayFormat::Integer, false},
    {"C48", 148, 0x0084, "Copy module", "0~3", 0, 3, 1, DisplayFormat::Integer, true},
    {"C49", 149, 0x0085, "Inverter communication address", "1~254", 1, 254, 3, DisplayFormat::Integer, true},
    {"C50", 150, 0x0086, "Baud rate (bps)", "0~3", 0, 3, 1, DisplayFormat::Integer, true},
    {"C51", 151, 0x0087, "Stop bit", "0~1", 0, 1, 1, DisplayFormat::Integer, true},
    {"C52", 152, 0x0088, "Parity bit", "0~2", 0, 2, 1, DisplayFormat::Integer, true},
    {"C53", 153, 0x0089, "Data bits", "0~1", 0, 1, 1, DisplayFormat::Integer, true},
    {"C54", 154, 0x009B, "Communication error detection time (s)", "0.0~25.5", 0, 255, 4, DisplayFormat::OneDecimal, true},
    {"C55", 155, 0x009C, "Communication error operation selection", "0~3", 0, 3, 1, DisplayFormat::Integer, true},
}};

}  // namespace

std::span<const ParamDef> AllParams() { return kParams; }

int SlotOfNumber(int number) {
    if (number >= 0 && number < kFCount) return number;
    if (number >= kCFirstNumber && number < kCFirstNumber + kCCount) return number - 45;
    return -1;
}

int NumberOfSlot(int slot) {
    if (slot >= 0 && slot < kFCount) return slot;
    if (slot >= kFCount && slot < kParamCount) return slot + 45;
    return -1;
}

const ParamDef* FindParam(int number) {
    const int slot = SlotOfNumber(number);
    return slot < 0 ? nullptr : &kParams[static_cast<std::size_t>(slot)];
}

std::string CodeText(int number) {
    char buf[16];
    if (number >= 0 && number < 55) {
        std::snprintf(buf, sizeof buf, "F%02d", number);
        return buf;
    }
    // Unused numbers 55..99 still get the C form; only numbers above 155 get nothing.
    if (number >= 55 && number <= 155) {
        std::snprintf(buf, sizeof buf, "C%02d", number - 100);
        return buf;
    }
    return {};
}

std::string Description(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->description : "";
}

std::string RangeText(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->rangeText : "";
}

std::int32_t MinValue(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->min : 0;
}

std::int32_t MaxValue(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->max : 0;
}

int Width(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->width : 0;
}

std::uint8_t Attribute(int number) {
    const ParamDef* p = FindParam(number);
    if (!p) return 0;
    auto attr = static_cast<std::uint8_t>(static_cast<unsigned>(p->format) << 2);
    if (p->readOnly) attr |= kAttrReadOnly;
    return attr;
}

std::uint16_t Register(int number) {
    const ParamDef* p = FindParam(number);
    return p ? p->reg : 0;
}

bool IsReadOnly(int number) {
    const ParamDef* p = FindParam(number);
    return p && p->readOnly;
}

int NumberFromCode(std::string_view code) {
    if (code.size() != 3) return -1;
    if (code[1] < '0' || code[1] > '9' || code[2] < '0' || code[2] > '9') return -1;
    const int n = (code[1] - '0') * 10 + (code[2] - '0');
    if (code[0] == 'F' || code[0] == 'f') return n < kFCount ? n : -1;
    if (code[0] == 'C' || code[0] == 'c') return n < kCCount ? kCFirstNumber + n : -1;
    return -1;
}

int NumberFromCodeCell(std::string_view code) {
    if (code.size() < 3 || (code[0] != 'F' && code[0] != 'C')) return -1;
    const int base = code[0] == 'C' ? kCFirstNumber : 0;
    return base + (code[1] - '0') * 10 + (code[2] - '0');
}

}  // namespace kolt
