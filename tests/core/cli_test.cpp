// Runs the built kolt-cli program on temporary files.
#include "app/marben_app.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "cli_run_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kolt {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::Lines;
using testing::RunCli;
using testing::Slurp;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kolt_cli_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        // No settings file of the build folder may leak into the runs.
        ::setenv("KOLT_HOME", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("KOLT_HOME");
        fs::remove_all(dir_);
    }

    std::string P(const std::string& name) const { return (dir_ / name).string(); }

    CliRun Cli(std::vector<std::string> args) { return RunCli(std::move(args), P(".stdout"), P(".stderr")); }

    // Row of `code` in `show --csv` output.
    std::string CsvRow(const std::string& file, const std::string& code) {
        for (const auto& l : Lines(Cli({"show", file, "--csv"}).out))
            if (l.find("," + code + ",") != std::string::npos) return l;
        return {};
    }

    fs::path dir_;
};

TEST_F(CliTest, NewWritesWhatFileNewMakesAndShowListsIt) {
    ASSERT_EQ(Cli({"new", "--model", "5", "-o", P("a.kpf")}).status, 0);

    CMarbenApp app;
    PrepareFileNew(app, 5, true);
    auto doc = CreateNewDocument(app);
    EXPECT_EQ(Slurp(P("a.kpf")), EncodeDocFile(ImageOfDocument(*doc)));

    CliRun show = Cli({"show", P("a.kpf")});
    ASSERT_EQ(show.status, 0) << show.err;
    const auto lines = Lines(show.out);
    ASSERT_GE(lines.size(), 4u + 111u);
    EXPECT_NE(show.out.find("Model: D200-0.75, 50 Hz"), std::string::npos);
    EXPECT_NE(show.out.find("Description"), std::string::npos);
    EXPECT_EQ(lines.back().find("Communication error operation selection"), 0u);

    CliRun csv = Cli({"show", P("a.kpf"), "--csv"});
    const auto rows = Lines(csv.out);
    ASSERT_EQ(rows.size(), 112u);
    EXPECT_EQ(rows[0], "Description,Code,Range,Default,Setting");
    EXPECT_EQ(rows[8], "Frequency upper limit (Hz),F07,1.00~200.00,50.00/60.00,50.00");
    // Offline, the version and the fault records have no setting to show.
    EXPECT_EQ(rows[54], "Software version,F53,CPU Version,x.x,");
    EXPECT_EQ(rows[55], "Latest 3 fault records,F54,-----------,,");

    ASSERT_EQ(Cli({"new", "--model", "T400-2.2", "--60hz", "-o", P("b.kpf")}).status, 0);
    EXPECT_EQ(CsvRow(P("b.kpf"), "F07"), "Frequency upper limit (Hz),F07,1.00~200.00,50.00/60.00,60.00");
    EXPECT_NE(Cli({"show", P("b.kpf")}).out.find("Model: T400-2.2, 60 Hz"), std::string::npos);
}

TEST_F(CliTest, SetStoresAcceptedValues) {
    ASSERT_EQ(Cli({"new", "--model", "0", "-o", P("a.kpf")}).status, 0);
    CliRun r = Cli({"set", P("a.kpf"), "F07=60", "c02=150", "F01=12.5", "F52=20"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "F07: 50.00 -> 60.00\nC02: 200 -> 150\nF01: 5.0 -> 12.5\nF52: 0 -> 20\n");
    EXPECT_EQ(CsvRow(P("a.kpf"), "F07"), "Frequency upper limit (Hz),F07,1.00~200.00,50.00/60.00,60.00");
    EXPECT_NE(CsvRow(P("a.kpf"), "C02").find(",150"), std::string::npos);
    EXPECT_NE(CsvRow(P("a.kpf"), "F01").find(",12.5"), std::string::npos);
    EXPECT_EQ(Slurp(P("a.kpf")).size(), kEmptyParameterFileSize);
}

TEST_F(CliTest, SetRefusalsLeaveTheFileUntouched) {
    ASSERT_EQ(Cli({"new", "--model", "0", "-o", P("a.kpf")}).status, 0);
    const std::string before = Slurp(P("a.kpf"));

    struct Case {
        std::vector<std::string> assignments;
        std::string message;
    };
    const Case cases[] = {
        {{"F07=250"}, "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00\n"},
        {{"F07=0.5"}, "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00\n"},
        {{"F52=15"}, "Over Range !!\n\nCode: F52\nRange Value: 0, 10, 20\n"},
        // A good value before a bad one is not stored either.
        {{"F07=60", "C02=49"}, "Over Range !!\n\nCode: C02\nRange Value: 50~200\n"},
        {{"F00=3"}, "Code: F00\nThis parameter is read-only; its setting cannot be changed.\n"},
        {{"F07=-5"}, "Code: F07\nOnly digits and one decimal point can be entered.\n"},
        {{"F07=1.2.3"}, "Code: F07\nOnly digits and one decimal point can be entered.\n"},
        {{"F07=12.345"},
         "Code: F07\nThe value does not fit this parameter's display format.\nRange Value: 1.00~200.00\n"},
        {{"F07="}, "Code: F07\nNo value given.\n"},
        {{"F99=1"}, "Unknown parameter code: F99\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"set", P("a.kpf")};
        args.insert(args.end(), c.assignments.begin(), c.assignments.end());
        CliRun r = Cli(args);
        EXPECT_EQ(r.status, 1) << c.assignments.back();
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Slurp(P("a.kpf")), before) << c.assignments.back();
    }
    // Only the program's own file can be edited.
    std::ofstream(P("junk.kpf")) << "not a parameter file\n";
    CliRun junk = Cli({"set", P("junk.kpf"), "F07=60"});
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(junk.err, "Error: Open file failure!\n\nThe file format is not correctly!\n");
    EXPECT_EQ(Slurp(P("junk.kpf")), "not a parameter file\n");
    EXPECT_EQ(Cli({"set", P("missing.kpf"), "F07=60"}).err, "File could not be opened!\n");
}

TEST_F(CliTest, CompareFileWithFile) {
    ASSERT_EQ(Cli({"new", "--model", "3", "-o", P("a.kpf")}).status, 0);
    fs::copy_file(P("a.kpf"), P("b.kpf"));

    CliRun same = Cli({"compare", P("a.kpf"), P("b.kpf"), "--csv"});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "Description,Code,a.kpf,b.kpf\n");
    EXPECT_NE(Cli({"compare", P("a.kpf"), P("b.kpf")}).out.find("No parameter differs."), std::string::npos);

    ASSERT_EQ(Cli({"set", P("b.kpf"), "F07=60", "C02=150"}).status, 0);
    CliRun diff = Cli({"compare", P("a.kpf"), P("b.kpf"), "--csv"});
    EXPECT_EQ(diff.out,
              "Description,Code,a.kpf,b.kpf\n"
              "Frequency upper limit (Hz),F07,50.00,60.00\n"
              "Acceleration stall-prevention level (%),C02,200,150\n");

    // Saved as a compare file, it shows the same rows and cannot be edited.
    ASSERT_EQ(Cli({"compare", P("a.kpf"), P("b.kpf"), "-o", P("ab.kcf")}).status, 0);
    EXPECT_EQ(Cli({"show", P("ab.kcf"), "--csv"}).out, diff.out);
    const std::string kcf = Slurp(P("ab.kcf"));
    CliRun edit = Cli({"set", P("ab.kcf"), "F07=1"});
    EXPECT_EQ(edit.status, 1);
    EXPECT_EQ(Slurp(P("ab.kcf")), kcf);
    // A compare file is no source for a comparison.
    CliRun refused = Cli({"compare", P("ab.kcf"), P("a.kpf")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Error: Open file failure!\n\nThe file format is not correctly!\n");
}

TEST_F(CliTest, CompareFilesWithDefault) {
    ASSERT_EQ(Cli({"new", "--model", "10", "--60hz", "-o", P("a.kpf")}).status, 0);
    ASSERT_EQ(Cli({"new", "--model", "10", "--60hz", "-o", P("b.kpf")}).status, 0);
    ASSERT_EQ(Cli({"set", P("b.kpf"), "F40=12"}).status, 0);

    // Against its own defaults a file made at 60 Hz differs from nothing but F40.
    CliRun r = Cli({"compare", "--defaults", "--model", "10", "--60hz", P("a.kpf"), P("b.kpf"), "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 2u) << r.out;
    EXPECT_EQ(rows[0], "Description,Code,Default,a.kpf,b.kpf,------");
    EXPECT_EQ(rows[1].substr(rows[1].find(",F40,")), ",F40,10,10,12,");
    // Against the 50 Hz defaults the frequency parameters differ too.
    CliRun hz50 = Cli({"compare", "--defaults", "--model", "10", P("a.kpf"), "--csv"});
    EXPECT_GT(Lines(hz50.out).size(), 1u);

    ASSERT_EQ(Cli({"compare", "--defaults", "--model", "10", "--60hz", P("b.kpf"), "-o", P("d.kcf")}).status, 0);
    CliRun shown = Cli({"show", P("d.kcf")});
    EXPECT_NE(shown.out.find("Compare Files with Default"), std::string::npos);
    EXPECT_NE(shown.out.find("Model: T400-2.2, 60 Hz"), std::string::npos);
    EXPECT_NE(shown.out.find("1 parameter differs."), std::string::npos);
}

TEST_F(CliTest, UsageErrorsAndHelp) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"new", "-o", P("x.kpf")},
        {"new", "--model", "11", "-o", P("x.kpf")},
        {"new", "--model", "5"},
        {"new", "--model", "5", "-o", P("x.kpf"), "--fast"},
        {"show"},
        {"show", P("a.kpf"), P("b.kpf")},
        {"set", P("a.kpf")},
        {"set", P("a.kpf"), "F07"},
        {"compare", P("a.kpf")},
        {"compare", "--model", "1", P("a.kpf"), P("b.kpf")},
        {"compare", "--defaults", P("a.kpf")},
        {"compare", "--defaults", "--model", "1", "a", "b", "c", "d"},
    };
    for (const auto& args : wrong) {
        CliRun r = Cli(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(r.err, "");
    }
    EXPECT_FALSE(fs::exists(P("x.kpf")));

    // Saving a comparison over one of its sources would lose that file.
    ASSERT_EQ(Cli({"new", "--model", "1", "-o", P("a.kpf")}).status, 0);
    fs::copy_file(P("a.kpf"), P("b.kpf"));
    const std::string a = Slurp(P("a.kpf"));
    EXPECT_EQ(Cli({"compare", P("a.kpf"), P("b.kpf"), "-o", P("./a.kpf")}).status, 2);
    EXPECT_EQ(Cli({"compare", "--defaults", "--model", "1", P("b.kpf"), P("a.kpf"), "-o", P("a.kpf")}).status, 2);
    EXPECT_EQ(Slurp(P("a.kpf")), a);

    for (const char* cmd : {"new", "show", "set", "compare"}) {
        CliRun r = Cli({cmd, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.find("Usage: kolt-cli " + std::string(cmd)), 0u) << r.out;
    }
    CliRun overview = Cli({"--help"});
    EXPECT_EQ(overview.status, 0);
    EXPECT_NE(overview.out.find("compare"), std::string::npos);
    EXPECT_NE(overview.out.find("D200-0.75"), std::string::npos);
}

}  // namespace
}  // namespace kolt
