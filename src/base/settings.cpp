#include "base/settings.h"

#include "base/atomic_write.h"
#include "base/port_name.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

namespace kolt {

namespace {

// Reads one line per call, CR LF or LF; past the end every read is an empty line.
class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in) {}

    bool AtEnd() const { return !in_.good(); }
    std::string Next() {
        std::string line;
        if (!std::getline(in_, line)) return {};
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }

private:
    std::istream& in_;
};

// Leading blanks, an optional sign, digits up to the first non-digit; no digits give 0.
std::int32_t ToInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as 64 bits and stop growing once out of range, so a long digit
    // run cannot overflow; the result saturates at the 32-bit limits.
    std::int64_t v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (v <= INT32_MAX) v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// The value of a key in its line: the line less its first key-length characters.
std::int32_t ValueAfter(const std::string& line, const std::string& key) {
    return ToInt(line.size() > key.size() ? line.substr(key.size()) : std::string());
}

bool Contains(const std::string& line, const char* key) { return line.find(key) != std::string::npos; }

struct IntLine {
    const char* key;
    std::int32_t KoltSettings::*field;
};
struct FlagLine {
    const char* key;
    std::uint8_t KoltSettings::*field;
};

constexpr IntLine kSerialLines[] = {
    {"BaudRate=", &KoltSettings::baudRate},
    {"DataLengthBits=", &KoltSettings::dataBits},
    {"ParityBit=", &KoltSettings::parity},
    {"StopBits=", &KoltSettings::stopBits},
};

constexpr FlagLine kFlagLines[] = {
    {"Print Title=", &KoltSettings::printTitle},
    {"Print FxxFlag=", &KoltSettings::printF},
    {"Print CxxFlag=", &KoltSettings::printC},
    {"OnLineEdit=", &KoltSettings::onlineEdit},
    {"Freq50HzFlag=", &KoltSettings::hz50},
};

constexpr const char* kHeader = "[KOLT]";
constexpr const char* kVersion = "Version=v1.2.080324";
constexpr const char* kSystem = "[System]";
constexpr const char* kComPort = "ComPort=";
constexpr const char* kDefinite = "[Definite Parameter]";
constexpr const char* kCodePage = "TextCodePage=";
constexpr const char* kReadTimeout = "ReadTimeoutMs=";
constexpr const char* kCharGap = "CharGapMs=";
constexpr const char* kEcho = "Echo=";
constexpr const char* kRs485 = "RS485=";
constexpr const char* kNetPort = "NetPort=";
constexpr const char* kRecentNetPort = "RecentNetPort";  // 1..4, then '='

bool Opens(const std::string& line, const char* key) { return line.rfind(key, 0) == 0; }
std::string After(const std::string& line, const char* key) { return line.substr(std::string(key).size()); }

// One of the lines after the definite list; anything else is passed over.
void ReadExtraLine(const std::string& line, KoltSettings& s, std::array<std::string, kRecentNetPortsMax>& recent) {
    if (Opens(line, kCodePage)) {
        // A name iconv does not know leaves the default.
        const std::string name = NormaliseCodePage(After(line, kCodePage));
        if (!name.empty()) s.codePage = name;
    } else if (Opens(line, kReadTimeout)) {
        s.readTimeoutMs = TimeoutInRange(ToInt(After(line, kReadTimeout)), kReadTimeoutMinMs, kReadTimeoutMaxMs);
    } else if (Opens(line, kCharGap)) {
        s.charGapMs = TimeoutInRange(ToInt(After(line, kCharGap)), kCharGapMinMs, kCharGapMaxMs);
    } else if (Opens(line, kEcho)) {
        s.echo = ToInt(After(line, kEcho)) != 0 ? 1 : 0;
    } else if (Opens(line, kRs485)) {
        s.rs485 = ToInt(After(line, kRs485)) != 0 ? 1 : 0;
    } else if (Opens(line, kNetPort)) {
        // A name that is not a network port's leaves the COM port in use.
        const std::string name = After(line, kNetPort);
        s.netPort = ParseNetworkPort(name) ? name : std::string();
    } else if (Opens(line, kRecentNetPort)) {
        const std::string rest = After(line, kRecentNetPort);
        if (rest.size() > 2 && rest[0] >= '1' && rest[0] < char('1' + kRecentNetPortsMax) && rest[1] == '=')
            recent[static_cast<std::size_t>(rest[0] - '1')] = rest.substr(2);
    }
}

void ReadLines(LineReader& r, KoltSettings& s) {
    if (r.Next() != kHeader) return;
    r.Next();  // the version is not checked
    if (!Contains(r.Next(), kSystem)) return;

    std::string line = r.Next();
    if (!Contains(line, kComPort)) return;
    s.comPort = ValueAfter(line, kComPort);
    if (s.comPort < 1 || s.comPort > 8) s.comPort = 1;

    // Each line is tried against the key of its own position only.
    for (const auto& l : kSerialLines) {
        line = r.Next();
        if (Contains(line, l.key)) s.*l.field = ValueAfter(line, l.key);
    }
    for (const auto& l : kFlagLines) {
        line = r.Next();
        if (Contains(line, l.key)) s.*l.field = ValueAfter(line, l.key) != 0 ? 1 : 0;
    }

    if (!Contains(r.Next(), kDefinite)) return;
    std::int32_t count = ToInt(r.Next());
    // The lists hold kDefiniteMax entries; a negative count means an empty list.
    if (count < 0) count = 0;
    if (count > kDefiniteMax) count = kDefiniteMax;
    s.definiteCount = count;
    for (int i = 0; i < count; ++i) {
        s.definiteKinds[i] = ToInt(r.Next());
        s.definiteNumbers[i] = ToInt(r.Next());
    }
}

}  // namespace

bool ReadSettingsFile(const std::string& path, KoltSettings& s) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    ReadSettingsStream(in, s);
    return true;
}

void ReadSettingsStream(std::istream& in, KoltSettings& s) {
    LineReader r(in);
    ReadLines(r, s);
    // Our own lines follow the fixed ones, each on a line of its own.
    std::array<std::string, kRecentNetPortsMax> recent;
    while (!r.AtEnd()) ReadExtraLine(r.Next(), s, recent);
    // The recent list in the order of its numbers; gaps, malformed names and
    // repeats dropped.
    std::vector<std::string> list;
    for (const std::string& name : recent)
        if (ParseNetworkPort(name) && std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
    if (!list.empty()) s.recentNetPorts = std::move(list);
}

void NoteLinkPort(const std::string& portName, KoltSettings& s) {
    if (!ParseNetworkPort(portName)) {
        s.netPort.clear();
        return;
    }
    s.netPort = portName;
    auto& list = s.recentNetPorts;
    list.erase(std::remove(list.begin(), list.end(), portName), list.end());
    list.insert(list.begin(), portName);
    if (list.size() > kRecentNetPortsMax) list.resize(kRecentNetPortsMax);
}

std::string SettingsFileText(const KoltSettings& s) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    auto number = [](const char* fmt, long v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, fmt, v);
        return std::string(buf);
    };
    line(kHeader);
    line(kVersion);
    line(kSystem);
    line(kComPort + number("%ld", s.comPort));
    for (const auto& l : kSerialLines) line(l.key + number("%ld", s.*l.field));
    for (const auto& l : kFlagLines) line(l.key + number("%ld", s.*l.field));
    line(kDefinite);
    int count = s.definiteCount < 0 ? 0 : (s.definiteCount > kDefiniteMax ? kDefiniteMax : s.definiteCount);
    line(number("%ld", count));
    for (int i = 0; i < count; ++i) {
        line(number("%ld", s.definiteKinds[i]));
        line(number("%02ld", s.definiteNumbers[i]));
    }
    if (s.codePage != kDefaultCodePage) line(kCodePage + s.codePage);
    if (s.readTimeoutMs != 0) line(kReadTimeout + number("%ld", s.readTimeoutMs));
    if (s.charGapMs != 0) line(kCharGap + number("%ld", s.charGapMs));
    if (s.echo) line(std::string(kEcho) + "1");
    if (s.rs485) line(std::string(kRs485) + "1");
    if (!s.netPort.empty()) line(kNetPort + s.netPort);
    for (std::size_t i = 0; i < s.recentNetPorts.size() && i < kRecentNetPortsMax; ++i)
        line(kRecentNetPort + number("%ld", static_cast<long>(i + 1)) + "=" + s.recentNetPorts[i]);
    return out;
}

bool WriteSettingsFile(const std::string& path, const KoltSettings& s, std::string* error) {
    std::string reason;
    const bool ok = ReplaceFileContents(path, SettingsFileText(s), reason);
    if (error) *error = reason;
    return ok;
}

}  // namespace kolt
