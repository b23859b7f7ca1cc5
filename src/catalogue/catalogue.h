// The fixed knowledge of every drive parameter: code, number, slot, description,
// range text, stored limits, width, display format, read-only flag and register.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kolt {

// Every per-parameter array of a document has this many entries, indexed by slot.
inline constexpr int kSlotCount = 300;
// F00..F54 take slots 0..54, C00..C55 slots 55..110.
inline constexpr int kParamCount = 111;
inline constexpr int kFCount = 55;
inline constexpr int kCCount = 56;
inline constexpr int kCFirstNumber = 100;

enum class DisplayFormat : std::uint8_t { Integer = 0, ThreeDigits = 1, OneDecimal = 2, TwoDecimals = 3 };

// Attribute byte: bits 2..3 the display format, bit 1 the unused four-digit form, bit 6 read-only.
inline constexpr std::uint8_t kAttrFourDigits = 0x02;
inline constexpr std::uint8_t kAttrReadOnly = 0x40;

struct ParamDef {
    const char* code;
    int number;
    std::uint16_t reg;
    const char* description;
    const char* rangeText;
    std::int32_t min;
    std::int32_t max;
    int width;
    DisplayFormat format;
    bool readOnly;
};

// All 111 parameters in slot order.
std::span<const ParamDef> AllParams();

// The row of a parameter number, or nullptr for a number without one.
const ParamDef* FindParam(int number);

// Lookups by parameter number. A number without a row yields "", 0 or 0.
std::string CodeText(int number);
std::string Description(int number);
std::string RangeText(int number);
std::int32_t MinValue(int number);
std::int32_t MaxValue(int number);
int Width(int number);
std::uint8_t Attribute(int number);
std::uint16_t Register(int number);
bool IsReadOnly(int number);

// String-table id of a parameter's description (2200 + number).
inline constexpr int DescriptionStringId(int number) { return 2200 + number; }

// Slot <-> number. Both return -1 where no parameter lives.
int SlotOfNumber(int number);
int NumberOfSlot(int slot);

// "F07" -> 7, "C25" -> 125; -1 for anything else.
int NumberFromCode(std::string_view code);

// The grid's way of deriving a number from a code cell: 100 when the first
// character is 'C', plus ten times the second character's digit plus the third's.
// Returns -1 when the code begins with neither 'F' nor 'C' or is too short.
int NumberFromCodeCell(std::string_view code);

}  // namespace kolt
