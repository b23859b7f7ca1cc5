// The fields kept in koltinf.ini between runs, and the file's reader and writer.
#pragma once

#include "base/legacy_text.h"

#include <array>
#include <cstdint>
#include <istream>
#include <string>

namespace kolt {

inline constexpr int kDefiniteMax = 300;

struct KoltSettings {
    std::int32_t comPort = 1;
    std::int32_t baudRate = 38400;
    std::int32_t dataBits = 8;
    std::int32_t parity = 0;    // 0 none, 1 odd, 2 even
    std::int32_t stopBits = 0;  // 0 one, 2 two
    std::uint8_t printTitle = 1;
    std::uint8_t printF = 1;
    std::uint8_t printC = 1;
    std::uint8_t onlineEdit = 0;
    std::uint8_t hz50 = 1;
    std::int32_t definiteCount = 0;
    std::array<std::int32_t, kDefiniteMax> definiteKinds{};    // 1 = F group, 2 = C group
    std::array<std::int32_t, kDefiniteMax> definiteNumbers{};  // two-digit code number 0..55
    // Code page of text fields that are not UTF-8 (an iconv name). Kept on a
    // line of its own after the definite list, written only when not the default.
    std::string codePage = kDefaultCodePage;
};

// Reads the file into `s`; fields the file does not reach keep their values.
// A missing or unreadable file changes nothing. Returns whether the file opened.
bool ReadSettingsFile(const std::string& path, KoltSettings& s);
// The same reader on the file's bytes.
void ReadSettingsStream(std::istream& in, KoltSettings& s);

// Writes the whole file (CR LF lines). False, with the old file left intact and
// the system's reason in *error, when it cannot be written.
bool WriteSettingsFile(const std::string& path, const KoltSettings& s, std::string* error = nullptr);

// The file's text as the writer produces it.
std::string SettingsFileText(const KoltSettings& s);

}  // namespace kolt
