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

TEST(CliArgs, ValuesFlagsAliasesPositionalsAndRefusals) {
    ParsedArgs p;
    ASSERT_EQ(Parse({"a.kpf", "--model=5", "-o", "out.kpf", "--60hz", "--port", "3", "--", "--odd.kpf", "-"}, p), "");
    EXPECT_EQ(std::tuple(p.Value("--model"), p.Value("--output"), p.Value("--port"), p.Has("--60hz"), p.help),
              std::tuple("5", "out.kpf", "3", true, false));
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a.kpf", "--odd.kpf", "-"}));
    ParsedArgs h;
    EXPECT_EQ(Parse({"-h"}, h), "");
    EXPECT_TRUE(h.help);

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--fast"}, "unknown option '--fast'"},
        {{"--model"}, "option '--model' needs a value"},
        {{"--60hz=1"}, "option '--60hz' takes no value"},
        {{"-x"}, "unknown option '-x'"},
    };
    for (const auto& [args, message] : refused) {
        ParsedArgs r;
        EXPECT_EQ(Parse(args, r), message);
    }
    EXPECT_EQ(std::tuple(ParseInt("10"), ParseInt("-3")), std::tuple(10, -3));
    for (const char* bad : {"", "5x", " 5", "99999999999"}) EXPECT_FALSE(ParseInt(bad)) << bad;
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
    ASSERT_EQ(Apply({"--port", "/dev/pts/7"}, line), "");
    EXPECT_EQ(std::tuple(line.device, line.port), std::tuple("/dev/pts/7", 3));  // the number stays for the settings

    // Values outside the choices are refused, naming the option, and change nothing.
    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--port", "0"}, {"--port", "9"}, {"--port", "COM9"}, {"--port", "COM"}, {"--port", "COM+1"},
             {"--port", "ttyUSB0"}, {"--port", ""}, {"--baud", "115200"}, {"--data-bits", "6"},
             {"--parity", "mark"}, {"--stop-bits", "1.5"}}) {
        LineOptions fresh;
        const LineOptions before;
        EXPECT_NE(Apply({option, value}, fresh).find(option), std::string::npos) << option << " " << value;
        EXPECT_EQ(std::tie(fresh.port, fresh.baud, fresh.device), std::tie(before.port, before.baud, before.device));
    }
}

}  // namespace
}  // namespace kolt::cli
