// The fields kept in koltinf.ini between runs, and the file's reader and writer.
#pragma once

#include "base/legacy_text.h"

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace kolt {

inline constexpr int kDefiniteMax = 300;

// Ranges of the line's time-outs in ms; 0 stands for the port kind's default.
inline constexpr int kReadTimeoutMinMs = 50;
inline constexpr int kReadTimeoutMaxMs = 10000;
inline constexpr int kCharGapMinMs = 10;
inline constexpr int kCharGapMaxMs = 5000;
// Network ports the Link dialog offers again, newest first.
inline constexpr std::size_t kRecentNetPortsMax = 4;

// A time-out inside [min, max], or 0 (the default) for one outside it.
constexpr std::int32_t TimeoutInRange(std::int32_t ms, int min, int max) { return ms >= min && ms <= max ? ms : 0; }

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
    // Line options and network ports of the Link dialog, each on a line of its
    // own after the code page, written only when not the default.
    std::int32_t readTimeoutMs = 0;  // 0: the port kind's default
    std::int32_t charGapMs = 0;      // 0: the port kind's default
    std::uint8_t echo = 0;
    std::uint8_t rs485 = 0;
    std::string netPort;                      // the last Link's port when it was a network one
    std::vector<std::string> recentNetPorts;  // newest first, at most kRecentNetPortsMax
};

// A Link opened `portName` (empty for COMn): a network port becomes the one in
// use and the newest of the recent ones; any other clears the one in use.
void NoteLinkPort(const std::string& portName, KoltSettings& s);

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
