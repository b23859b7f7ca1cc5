// Runs the built kolt-cli program on temporary files.
#include "cli_run_support.h"
#include "document/doc_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace kolt {
namespace {

namespace fs = std::filesystem;
using namespace kolt::testing;

constexpr const char* kBadFormat = "Error: Open file failure!\n\nThe file format is not correctly!\n";

class CliTest : public CliFixture {
protected:
    // Exit status, stdout and stderr of a run.
    std::tuple<int, std::string, std::string> Run(std::vector<std::string> args) {
        CliRun r = Cli(std::move(args));
        return {r.status, r.out, r.err};
    }
    // Row of `code` in `show --csv` output.
    std::string CsvRow(const std::string& file, const std::string& code) {
        for (const auto& l : Lines(Cli({"show", file, "--csv"}).out))
            if (l.find("," + code + ",") != std::string::npos) return l;
        return {};
    }
};

TEST_F(CliTest, NewWritesWhatFileNewMakesAndShowListsIt) {
    ASSERT_EQ(Cli({"new", "--model", "5", "-o", P("a.kpf")}).status, 0);
    CMarbenApp app;
    PrepareFileNew(app, 5, true);
    EXPECT_EQ(ReadBytes(P("a.kpf")), EncodeDocFile(ImageOfDocument(*CreateNewDocument(app))));

    CliRun show = Cli({"show", P("a.kpf")});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(show.out.find("Model: D200-0.75, 50 Hz") != std::string::npos &&
                Lines(show.out).back().find("Communication error operation selection") == 0);

    const auto rows = Lines(Cli({"show", P("a.kpf"), "--csv"}).out);
    ASSERT_EQ(rows.size(), 112u);
    // Offline, the version and the fault records have no setting to show.
    EXPECT_EQ((std::vector{rows[0], rows[8], rows[54], rows[55]}),
              (std::vector<std::string>{"Description,Code,Range,Default,Setting",
                                        "Frequency upper limit (Hz),F07,1.00~200.00,50.00/60.00,50.00",
                                        "Software version,F53,CPU Version,x.x,", "Latest 3 fault records,F54,-----------,,"}));

    ASSERT_EQ(Cli({"new", "--model", "T400-2.2", "--60hz", "-o", P("b.kpf")}).status, 0);
    EXPECT_EQ(CsvRow(P("b.kpf"), "F07"), "Frequency upper limit (Hz),F07,1.00~200.00,50.00/60.00,60.00");
}

TEST_F(CliTest, SetStoresAcceptedValuesOrNothing) {
    ASSERT_EQ(Cli({"new", "--model", "0", "-o", P("a.kpf")}).status, 0);
    const std::string before = ReadBytes(P("a.kpf"));
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"F07=250"}, "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00\n"},
        // A good value before a bad one is not stored either.
        {{"F07=60", "C02=49"}, "Over Range !!\n\nCode: C02\nRange Value: 50~200\n"},
        {{"F00=3"}, "Code: F00\nThis parameter is read-only; its setting cannot be changed.\n"},
        {{"F07=-5"}, "Code: F07\nOnly digits and one decimal point can be entered.\n"},
        {{"F07=12.345"},
         "Code: F07\nThe value does not fit this parameter's display format.\nRange Value: 1.00~200.00\n"},
        {{"F07="}, "Code: F07\nNo value given.\n"},
        {{"F99=1"}, "Unknown parameter code: F99\n"},
    };
    for (const auto& [assignments, message] : refused) {
        std::vector<std::string> args{"set", P("a.kpf")};
        args.insert(args.end(), assignments.begin(), assignments.end());
        EXPECT_EQ(Run(args), std::tuple(1, "", message));
        EXPECT_EQ(ReadBytes(P("a.kpf")), before) << assignments.back();
    }
    // Only the program's own file can be edited.
    std::ofstream(P("junk.kpf")) << "not a parameter file\n";
    EXPECT_EQ(Run({"set", P("junk.kpf"), "F07=60"}), std::tuple(1, "", kBadFormat));
    EXPECT_EQ(ReadBytes(P("junk.kpf")), "not a parameter file\n");
    EXPECT_EQ(Run({"set", P("missing.kpf"), "F07=60"}), std::tuple(1, "", "File could not be opened!\n"));

    EXPECT_EQ(Run({"set", P("a.kpf"), "F07=60", "c02=150", "F01=12.5", "F52=20"}),
              std::tuple(0, "F07: 50.00 -> 60.00\nC02: 200 -> 150\nF01: 5.0 -> 12.5\nF52: 0 -> 20\n", ""));
    EXPECT_EQ(std::pair(CsvRow(P("a.kpf"), "F01"), ReadBytes(P("a.kpf")).size()),
              std::pair(std::string("Acceleration time 1 (s),F01,0.1~999.0,5.0,12.5"), kEmptyParameterFileSize));
}

TEST_F(CliTest, CompareFileWithFile) {
    ASSERT_EQ(Cli({"new", "--model", "3", "-o", P("a.kpf")}).status, 0);
    fs::copy_file(P("a.kpf"), P("b.kpf"));
    EXPECT_EQ(Run({"compare", P("a.kpf"), P("b.kpf"), "--csv"}), std::tuple(0, "Description,Code,a.kpf,b.kpf\n", ""));
    EXPECT_NE(Cli({"compare", P("a.kpf"), P("b.kpf")}).out.find("No parameter differs."), std::string::npos);

    ASSERT_EQ(Cli({"set", P("b.kpf"), "F07=60", "C02=150"}).status, 0);
    const std::string diff = "Description,Code,a.kpf,b.kpf\nFrequency upper limit (Hz),F07,50.00,60.00\n"
                             "Acceleration stall-prevention level (%),C02,200,150\n";
    EXPECT_EQ(Cli({"compare", P("a.kpf"), P("b.kpf"), "--csv"}).out, diff);

    // Saved as a compare file, it shows the same rows, cannot be edited and is no source for a comparison.
    ASSERT_EQ(Cli({"compare", P("a.kpf"), P("b.kpf"), "-o", P("ab.kcf")}).status, 0);
    EXPECT_EQ(Cli({"show", P("ab.kcf"), "--csv"}).out, diff);
    const std::string kcf = ReadBytes(P("ab.kcf"));
    EXPECT_TRUE(Cli({"set", P("ab.kcf"), "F07=1"}).status == 1 && ReadBytes(P("ab.kcf")) == kcf);
    EXPECT_EQ(Run({"compare", P("ab.kcf"), P("a.kpf")}), std::tuple(1, "", kBadFormat));

    // A compare mode no command makes is laid out as the grid lays it out: as an ordinary document.
    std::string odd = kcf;
    odd[28] = 7;
    WriteBytes(P("odd.kcf"), odd);
    const auto rows = Lines(Cli({"show", P("odd.kcf"), "--csv"}).out);
    EXPECT_EQ(std::pair(rows.size(), rows.at(0)), std::pair(std::size_t{112}, std::string("Description,Code,Range,Default,Setting")));
}

TEST_F(CliTest, CompareFilesWithDefault) {
    ASSERT_EQ(Cli({"new", "--model", "10", "--60hz", "-o", P("a.kpf")}).status, 0);
    fs::copy_file(P("a.kpf"), P("b.kpf"));
    ASSERT_EQ(Cli({"set", P("b.kpf"), "F40=12"}).status, 0);
    // Against its own defaults a file made at 60 Hz differs from nothing but F40.
    const auto rows =
        Lines(Cli({"compare", "--defaults", "--model", "10", "--60hz", P("a.kpf"), P("b.kpf"), "--csv"}).out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0] + "|" + rows[1].substr(rows[1].find(",F40,")), "Description,Code,Default,a.kpf,b.kpf,------|,F40,10,10,12,");
    // Against the 50 Hz defaults the frequency parameters differ too.
    EXPECT_GT(Lines(Cli({"compare", "--defaults", "--model", "10", P("a.kpf"), "--csv"}).out).size(), 2u);
}

TEST_F(CliTest, UsageErrorsChangeNothing) {
    ASSERT_EQ(Cli({"new", "--model", "1", "-o", P("a.kpf")}).status, 0);
    fs::copy_file(P("a.kpf"), P("b.kpf"));
    const std::string a = ReadBytes(P("a.kpf"));
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"new", "--model", "11", "-o", P("x.kpf")}, {"new", "--model", "5", "-o", P("x.kpf"), "--fast"},
             {"set", P("a.kpf"), "F07"}, {"compare", P("a.kpf")},
             // Saving a comparison over one of its sources would lose that file.
             {"compare", P("a.kpf"), P("b.kpf"), "-o", P("./a.kpf")},
             {"compare", "--defaults", "--model", "1", P("b.kpf"), P("a.kpf"), "-o", P("a.kpf")},
             // Files and a drive do not go together; a drive needs one station, at one frequency.
             {"compare", "--port", P("no-tty"), "--station", "3", P("a.kpf")},
             {"compare", "--port", P("no-tty"), "--station", "3", "--defaults", "--model", "5"},
             {"compare", "--port", P("no-tty"), "--station", "3", "--50hz", "--60hz"},
             {"compare", "--port", P("no-tty"), "--station", "300"}, {"compare", "--port", P("no-tty")}}) {
        CliRun r = Cli(args);
        EXPECT_TRUE(r.status == 2 && !r.err.empty()) << (args.empty() ? "(none)" : args.back()) << r.err;
    }
    EXPECT_TRUE(!fs::exists(P("x.kpf")) && ReadBytes(P("a.kpf")) == a);
}

TEST_F(CliTest, AKoltHomeNamingNoFolderIsSaidButDoesNotStopTheCommand) {
    ::setenv("KOLT_HOME", P("not-there").c_str(), 1);
    CliRun r = Cli({"new", "--model", "5", "-o", P("a.kpf")});
    EXPECT_EQ(std::tuple(r.status, r.err, fs::exists(P("a.kpf"))),
              std::tuple(0, "kolt-cli: KOLT_HOME names no folder: " + P("not-there") + "; the start settings are used\n", true));
    ::setenv("KOLT_HOME", dir_.Path().c_str(), 1);
    EXPECT_EQ(Cli({"new", "--model", "5", "-o", P("b.kpf")}).err, "");
}

}  // namespace
}  // namespace kolt
