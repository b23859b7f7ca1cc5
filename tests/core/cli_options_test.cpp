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

TEST(LineOptions, SettingsFileGivesTheDefaultsAndOptionsOverride) {
    LineOptions line =
        LineOptionsFromSettings({.comPort = 4, .baudRate = 9600, .dataBits = 7, .parity = 2, .stopBits = 2});
    ASSERT_EQ(Apply({}, line), "");
    EXPECT_EQ(std::tuple(line.port, line.baud, line.dataBits, line.parity, line.stopBits),
              std::tuple(4, 9600, 7, 2, 2));
    ASSERT_EQ(Apply({"--port=com3", "--baud", "19200", "--data-bits", "8", "--parity", "odd", "--stop-bits", "1"},
                    line),
              "");
    EXPECT_EQ(std::tuple(line.port, line.device, line.baud, line.dataBits, line.parity, line.stopBits),
              std::tuple(3, "", 19200, 8, 1, 0));

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

}  // namespace
}  // namespace kolt::cli
