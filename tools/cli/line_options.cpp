#include "line_options.h"

#include "base/port_name.h"
#include "base/settings.h"
#include "link/link_procedure.h"
#include "link/port_line.h"

#include <optional>

namespace kolt::cli {

namespace {

constexpr int kBauds[] = {4800, 9600, 19200, 38400};

struct Named {
    const char* name;
    int code;
};
constexpr Named kParities[] = {{"none", 0}, {"odd", 1}, {"even", 2}};
constexpr Named kStopBits[] = {{"1", 0}, {"2", 2}};

bool Pick(const std::string& text, std::span<const Named> choices, int& code) {
    for (const auto& c : choices)
        if (text == c.name) {
            code = c.code;
            return true;
        }
    return false;
}

// "COM3", "com3" or "3": the Link dialog's ports 1..8.
std::optional<int> ParseComNumber(const std::string& text) {
    std::string digits = text;
    if (text.size() > 3 && (text[0] == 'C' || text[0] == 'c') && (text[1] == 'O' || text[1] == 'o') &&
        (text[2] == 'M' || text[2] == 'm'))
        digits = text.substr(3);
    auto n = ParseInt(digits);
    if (!n || *n < 1 || *n > 8 || digits[0] == '+' || digits[0] == '-') return std::nullopt;
    return n;
}

}  // namespace

LineOptions LineOptionsFromSettings(const KoltSettings& s) {
    const LineSettings preset = LineSettingsOf(s);
    LineOptions line;
    line.port = preset.comPort;
    line.baud = preset.baudRate;
    line.dataBits = preset.dataBits;
    line.parity = preset.parity;
    line.stopBits = preset.stopBits;
    line.readTimeoutMs = preset.readTimeoutMs;
    line.charGapMs = preset.charGapMs;
    line.echo = preset.echo;
    line.rs485 = preset.rs485;
    return line;
}

bool ApplyLineOptions(const ParsedArgs& args, LineOptions& line, std::string& error) {
    if (auto v = args.Value("--port")) {
        if (v->find('/') != std::string::npos) {
            if (IsNetworkPort(*v) && !ParseNetworkPort(*v)) {
                error = "--port must name a network port as tcp://HOST:PORT or rfc2217://HOST:PORT, not '" + *v + "'";
                return false;
            }
            line.device = *v;
        } else {
            auto n = ParseComNumber(*v);
            if (!n) {
                error = "--port must be COM1..COM8 (or 1..8) or a device path, not '" + *v + "'";
                return false;
            }
            line.port = *n;
            line.device.clear();
        }
    }
    if (auto v = args.Value("--baud")) {
        auto n = ParseInt(*v);
        bool known = false;
        for (int b : kBauds) known = known || (n && *n == b);
        if (!known) {
            error = "--baud must be 4800, 9600, 19200 or 38400, not '" + *v + "'";
            return false;
        }
        line.baud = *n;
    }
    if (auto v = args.Value("--data-bits")) {
        auto n = ParseInt(*v);
        if (!n || (*n != 7 && *n != 8)) {
            error = "--data-bits must be 7 or 8, not '" + *v + "'";
            return false;
        }
        line.dataBits = *n;
    }
    if (auto v = args.Value("--parity")) {
        if (!Pick(*v, kParities, line.parity)) {
            error = "--parity must be none, odd or even, not '" + *v + "'";
            return false;
        }
    }
    if (auto v = args.Value("--stop-bits")) {
        if (!Pick(*v, kStopBits, line.stopBits)) {
            error = "--stop-bits must be 1 or 2, not '" + *v + "'";
            return false;
        }
    }
    const struct {
        const char* name;
        int low, high;
        int& into;
    } times[] = {{"--timeout", kReadTimeoutMinMs, kReadTimeoutMaxMs, line.readTimeoutMs},
                 {"--char-gap", kCharGapMinMs, kCharGapMaxMs, line.charGapMs}};
    for (const auto& t : times) {
        auto v = args.Value(t.name);
        if (!v) continue;
        auto n = ParseInt(*v);
        if (!n || *n < t.low || *n > t.high) {
            error = std::string(t.name) + " must be " + std::to_string(t.low) + ".." + std::to_string(t.high) +
                    " ms, not '" + *v + "'";
            return false;
        }
        t.into = *n;
    }
    if (args.Has("--echo")) line.echo = true;
    if (args.Has("--rs485")) line.rs485 = true;
    return true;
}

}  // namespace kolt::cli
