// The command line's option parsing, shared by every command.
#include "cli_args.h"
#include "line_options.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace kolt::cli {
namespace {

constexpr std::array<OptionSpec, 3> kSpecs{
    {{"--model", nullptr, true}, {"--60hz", nullptr, false}, {"--output", "-o", true}}};

// Parses `args`; the error text, or "" when they parse.
std::string Parse(const std::vector<std::string>& args, ParsedArgs& p) {
    const std::span<const OptionSpec> tables[] = {kSpecs, kLineOptionSpecs};
    std::string error;
    return ParseArgs(args, tables, p, error) ? "" : error;
}

// Parses `args` and applies them as line options over `line`; the error text, or "" on success.
std::string Apply(const std::vector<std::string>& args, LineOptions& line) {
    ParsedArgs p;
    EXPECT_EQ(Parse(args, p), "");
    std::string error;
    return ApplyLineOptions(p, line, error) ? "" : error;
}

TEST(CliArgs, ValuesFlagsAliasesAndPositionals) {
    ParsedArgs p;
    ASSERT_EQ(Parse({"a.kpf", "--model=5", "-o", "out.kpf", "--60hz", "--port", "3", "--", "--odd.kpf", "-"}, p), "");
    EXPECT_EQ(std::tuple(p.Value("--model"), p.Value("--output"), p.Value("--port"), p.Has("--60hz")),
              std::tuple("5", "out.kpf", "3", true));
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a.kpf", "--odd.kpf", "-"}));
}

TEST(LineOptions, SettingsFileGivesTheDefaultsAndEachChoiceItsCode) {
    // Each run's options go over the line the run before left, starting from the settings file;
    // port, device, baud, data bits, parity and stop-bit codes as the settings file and the port use them.
    LineOptions line = LineOptionsFromSettings({.comPort = 4, .baudRate = 9600, .dataBits = 7, .parity = 2, .stopBits = 2});
    const std::vector<std::pair<std::vector<std::string>, std::tuple<int, std::string, int, int, int, int>>> runs = {
        {{}, {4, "", 9600, 7, 2, 2}},
        {{"--port=com3", "--baud", "19200", "--data-bits", "8", "--parity", "odd", "--stop-bits", "1"},
         {3, "", 19200, 8, 1, 0}},
        {{"--baud", "4800", "--data-bits", "7", "--parity", "even", "--stop-bits", "2"}, {3, "", 4800, 7, 2, 2}},
        {{"--baud", "9600", "--parity", "none"}, {3, "", 9600, 7, 0, 2}},
        {{"--baud", "38400"}, {3, "", 38400, 7, 0, 2}},
    };
    for (const auto& [args, expected] : runs) {
        ASSERT_EQ(Apply(args, line), "");
        EXPECT_EQ(std::tie(line.port, line.device, line.baud, line.dataBits, line.parity, line.stopBits), expected)
            << ::testing::PrintToString(args);
    }
    // Values outside the choices are refused, naming the option, and change nothing.
    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--port", "9"}, {"--port", "COM9"}, {"--port", "ttyUSB0"}, {"--baud", "115200"},
             {"--data-bits", "6"}, {"--parity", "mark"}, {"--stop-bits", "1.5"}}) {
        LineOptions fresh;
        const LineOptions before;
        EXPECT_NE(Apply({option, value}, fresh).find(option), std::string::npos) << option << " " << value;
        EXPECT_EQ(std::tie(fresh.port, fresh.baud, fresh.device), std::tie(before.port, before.baud, before.device));
    }
}

// The settings file is edited by hand at times: what the Link dialog would not
// show goes to the port as the dialog would show it (38400, 8 bits, no parity,
// one stop bit; COM1 for a port outside 1..8).
TEST(LineOptions, SettingsFileValuesTheDialogDoesNotOfferBecomeItsChoices) {
    struct Case {
        KoltSettings file;
        std::tuple<int, int, int, int, int> line;  // port, baud, data bits, parity, stop bits
    };
    const Case cases[] = {
        {{.comPort = 8, .baudRate = 4800, .dataBits = 7, .parity = 1, .stopBits = 2}, {8, 4800, 7, 1, 2}},
        {{.comPort = 1, .baudRate = 57600, .dataBits = 8, .parity = 2, .stopBits = 0}, {1, 38400, 8, 2, 0}},
        {{.comPort = 9, .baudRate = 1234, .dataBits = 6, .parity = 3, .stopBits = 1}, {1, 38400, 8, 0, 0}},
        {{.comPort = 0, .baudRate = -9600, .dataBits = 5, .parity = -1, .stopBits = 3}, {1, 38400, 8, 0, 0}},
        {{.comPort = 2, .baudRate = 19200, .dataBits = 9, .parity = 0, .stopBits = 2}, {2, 19200, 8, 0, 2}},
    };
    for (const Case& c : cases) {
        const LineOptions line = LineOptionsFromSettings(c.file);
        EXPECT_EQ(std::tuple(line.port, line.baud, line.dataBits, line.parity, line.stopBits), c.line)
            << c.file.comPort << " " << c.file.baudRate << " " << c.file.dataBits << " " << c.file.parity << " "
            << c.file.stopBits;
    }
}

TEST(LineOptions, NetworkPortsTimeoutsEchoAndRs485) {
    LineOptions line;
    ASSERT_EQ(Apply({"--port", "rfc2217://gw.local:4001", "--timeout", "1500", "--char-gap", "120", "--echo", "--rs485"},
                    line),
              "");
    EXPECT_EQ(std::tie(line.device, line.readTimeoutMs, line.charGapMs, line.echo, line.rs485),
              std::make_tuple(std::string("rfc2217://gw.local:4001"), 1500, 120, true, true));
    ASSERT_EQ(Apply({"--port", "tcp://[::1]:5020", "--timeout", "50", "--char-gap", "5000"}, line), "");
    EXPECT_EQ(std::tie(line.device, line.readTimeoutMs, line.charGapMs), std::make_tuple(std::string("tcp://[::1]:5020"), 50, 5000));
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--port", "tcp://gw.local"}, "--port must name a network port as tcp://HOST:PORT or rfc2217://HOST:PORT, not 'tcp://gw.local'"},
        {{"--port", "rfc2217://:4001"}, "--port must name a network port as tcp://HOST:PORT or rfc2217://HOST:PORT, not 'rfc2217://:4001'"},
        {{"--timeout", "49"}, "--timeout must be 50..10000 ms, not '49'"},
        {{"--timeout", "10001"}, "--timeout must be 50..10000 ms, not '10001'"},
        {{"--char-gap", "9"}, "--char-gap must be 10..5000 ms, not '9'"},
        {{"--char-gap", "fast"}, "--char-gap must be 10..5000 ms, not 'fast'"},
    };
    for (const auto& [args, message] : refused) EXPECT_EQ(Apply(args, line), message);
}

}  // namespace
}  // namespace kolt::cli
