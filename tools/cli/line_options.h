// The serial line options every bus command takes: --port, --baud,
// --data-bits, --parity, --stop-bits, --timeout, --char-gap, --echo, --rs485. What is not given comes from the
// settings file, as the Link dialog would preset it.
#pragma once

#include "base/settings.h"
#include "cli_args.h"

#include <array>
#include <string>

namespace kolt::cli {

struct LineOptions {
    int port = 1;        // COM1..COM8 (resolved as the Link dialog resolves it)
    std::string device;  // a device path or network port given instead of a COM port; "" for COMn
    int baud = 38400;    // 4800, 9600, 19200 or 38400
    int dataBits = 8;    // 7 or 8
    int parity = 0;      // serial port codes: 0 none, 1 odd, 2 even
    int stopBits = 0;    // serial port codes: 0 one, 2 two
    int readTimeoutMs = 0;  // 0: the port kind's default
    int charGapMs = 0;
    bool echo = false;
    bool rs485 = false;
};

// The time-outs a user may set, in ms.

inline constexpr std::array<OptionSpec, 9> kLineOptionSpecs{{
    {"--port", nullptr, true},
    {"--baud", nullptr, true},
    {"--data-bits", nullptr, true},
    {"--parity", nullptr, true},
    {"--stop-bits", nullptr, true},
    {"--timeout", nullptr, true},
    {"--char-gap", nullptr, true},
    {"--echo", nullptr, false},
    {"--rs485", nullptr, false},
}};

// A macro, so that each bus command's help text can hold it as one literal.
#define KOLT_LINE_OPTIONS_HELP                                            \
    "Serial line (defaults from koltinf.ini):\n"                          \
    "  --port PORT     COM1..COM8 (or 1..8), a device path such as\n"     \
    "                  /dev/ttyUSB0 or the one kolt-drive-sim prints,\n"  \
    "                  tcp://HOST:PORT (a serial server in raw mode) or\n" \
    "                  rfc2217://HOST:PORT (one speaking RFC 2217)\n"      \
    "  --baud N        4800, 9600, 19200 or 38400\n"                      \
    "  --data-bits N   7 or 8\n"                                          \
    "  --parity P      none, odd or even\n"                               \
    "  --stop-bits N   1 or 2\n"                                          \
    "  --timeout MS    reply time-out, 100..30000 (default: 400 on a\n"      \
    "                  local line, 1000 on a network port)\n"                \
    "  --char-gap MS   time-out between characters, 10..5000 (50 / 200)\n"  \
    "  --echo          the adapter echoes what is sent: drop the copy\n"     \
    "  --rs485         kernel RS-485 mode (RTS keys the transmitter)\n"
inline constexpr const char* kLineOptionsHelp = KOLT_LINE_OPTIONS_HELP;

LineOptions LineOptionsFromSettings(const KoltSettings& settings);

// Applies the options given over `line`. False with `error` set for a value
// outside the choices above.
bool ApplyLineOptions(const ParsedArgs& args, LineOptions& line, std::string& error);

}  // namespace kolt::cli
