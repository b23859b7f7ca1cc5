// The command line's option parsing, shared by every command.
#include "cli_args.h"
#include "line_options.h"

#include <gtest/gtest.h>

#include <array>

namespace kolt::cli {
namespace {

constexpr std::array<OptionSpec, 3> kSpecs{{
    {"--model", nullptr, true},
    {"--60hz", nullptr, false},
    {"--output", "-o", true},
}};

bool Parse(const std::vector<std::string>& args, ParsedArgs& p, std::string& error) {
    const std::span<const OptionSpec> tables[] = {kSpecs, kLineOptionSpecs};
    return ParseArgs(args, tables, p, error);
}

TEST(CliArgs, ValuesFlagsAliasesAndPositionals) {
    ParsedArgs p;
    std::string error;
    ASSERT_TRUE(Parse({"a.kpf", "--model=5", "-o", "out.kpf", "--60hz", "--port", "3", "--", "--odd.kpf", "-"}, p, error))
        << error;
    EXPECT_EQ(p.Value("--model"), "5");
    EXPECT_EQ(p.Value("--output"), "out.kpf");
    EXPECT_EQ(p.Value("--port"), "3");
    EXPECT_TRUE(p.Has("--60hz"));
    EXPECT_FALSE(p.help);
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a.kpf", "--odd.kpf", "-"}));
}

TEST(CliArgs, Refusals) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--fast"}, "unknown option '--fast'"},
        {{"--model"}, "option '--model' needs a value"},
        {{"--60hz=1"}, "option '--60hz' takes no value"},
        {{"-x"}, "unknown option '-x'"},
    };
    for (const auto& c : cases) {
        ParsedArgs p;
        std::string error;
        EXPECT_FALSE(Parse(c.args, p, error));
        EXPECT_EQ(error, c.error);
    }
    ParsedArgs p;
    std::string error;
    EXPECT_TRUE(Parse({"-h"}, p, error));
    EXPECT_TRUE(p.help);
}

TEST(CliArgs, WholeIntegersOnly) {
    EXPECT_EQ(ParseInt("10"), 10);
    EXPECT_EQ(ParseInt("-3"), -3);
    EXPECT_FALSE(ParseInt(""));
    EXPECT_FALSE(ParseInt("5x"));
    EXPECT_FALSE(ParseInt(" 5"));
    EXPECT_FALSE(ParseInt("99999999999"));
}

TEST(LineOptions, SettingsFileGivesTheDefaults) {
    KoltSettings s;
    s.comPort = 4;
    s.baudRate = 9600;
    s.dataBits = 7;
    s.parity = 2;
    s.stopBits = 2;
    LineOptions line = LineOptionsFromSettings(s);
    ParsedArgs none;
    std::string error;
    ASSERT_TRUE(ApplyLineOptions(none, line, error));
    EXPECT_EQ(line.port, 4);
    EXPECT_EQ(line.baud, 9600);
    EXPECT_EQ(line.dataBits, 7);
    EXPECT_EQ(line.parity, 2);
    EXPECT_EQ(line.stopBits, 2);

    ParsedArgs p;
    ASSERT_TRUE(Parse({"--port=8", "--baud", "19200", "--data-bits", "8", "--parity", "odd", "--stop-bits", "1"}, p, error));
    ASSERT_TRUE(ApplyLineOptions(p, line, error)) << error;
    EXPECT_EQ(line.port, 8);
    EXPECT_EQ(line.baud, 19200);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.parity, 1);
    EXPECT_EQ(line.stopBits, 0);
}

TEST(LineOptions, PortIsAComPortOrADevicePath) {
    ParsedArgs p;
    std::string error;
    LineOptions line;
    ASSERT_TRUE(Parse({"--port", "com3"}, p, error));
    ASSERT_TRUE(ApplyLineOptions(p, line, error)) << error;
    EXPECT_EQ(line.port, 3);
    EXPECT_EQ(line.device, "");

    ParsedArgs q;
    ASSERT_TRUE(Parse({"--port", "/dev/pts/7"}, q, error));
    ASSERT_TRUE(ApplyLineOptions(q, line, error)) << error;
    EXPECT_EQ(line.device, "/dev/pts/7");
    EXPECT_EQ(line.port, 3);  // the device wins; the number stays for the settings

    for (const char* bad : {"COM9", "COM", "COM+1", "ttyUSB0", ""}) {
        ParsedArgs r;
        ASSERT_TRUE(Parse({"--port", bad}, r, error));
        EXPECT_FALSE(ApplyLineOptions(r, line, error)) << bad;
    }
}

TEST(LineOptions, ValuesOutsideTheChoicesAreRefused) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--port", "0"},
                                                                   {"--port", "9"},
                                                                   {"--baud", "115200"},
                                                                   {"--data-bits", "6"},
                                                                   {"--parity", "mark"},
                                                                   {"--stop-bits", "1.5"}}) {
        ParsedArgs p;
        std::string error;
        ASSERT_TRUE(Parse(args, p, error));
        LineOptions line;
        const LineOptions before = line;
        EXPECT_FALSE(ApplyLineOptions(p, line, error)) << args[0];
        EXPECT_NE(error.find(args[0]), std::string::npos);
        EXPECT_EQ(line.port, before.port);
        EXPECT_EQ(line.baud, before.baud);
    }
}

}  // namespace
}  // namespace kolt::cli
