// The serial line options every bus command takes: --port, --baud,
// --data-bits, --parity, --stop-bits. What is not given comes from the
// settings file, as the Link dialog would preset it.
#pragma once

#include "app/settings.h"
#include "cli_args.h"

#include <array>
#include <string>

namespace kolt::cli {

struct LineOptions {
    int port = 1;        // COM1..COM8
    int baud = 38400;    // 4800, 9600, 19200 or 38400
    int dataBits = 8;    // 7 or 8
    int parity = 0;      // serial port codes: 0 none, 1 odd, 2 even
    int stopBits = 0;    // serial port codes: 0 one, 2 two
};

inline constexpr std::array<OptionSpec, 5> kLineOptionSpecs{{
    {"--port", nullptr, true},
    {"--baud", nullptr, true},
    {"--data-bits", nullptr, true},
    {"--parity", nullptr, true},
    {"--stop-bits", nullptr, true},
}};

inline constexpr const char* kLineOptionsHelp =
    "Serial line (defaults from koltinf.ini):\n"
    "  --port N        COM port 1..8\n"
    "  --baud N        4800, 9600, 19200 or 38400\n"
    "  --data-bits N   7 or 8\n"
    "  --parity P      none, odd or even\n"
    "  --stop-bits N   1 or 2\n";

LineOptions LineOptionsFromSettings(const KoltSettings& settings);

// Applies the options given over `line`. False with `error` set for a value
// outside the choices above.
bool ApplyLineOptions(const ParsedArgs& args, LineOptions& line, std::string& error);

}  // namespace kolt::cli
