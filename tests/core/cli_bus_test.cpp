// The bus commands of kolt-cli, run as a program against the virtual drive on
// a pseudo-terminal.
#include "base/marben_app.h"
#include "base/settings.h"
#include "catalogue/catalogue.h"
#include "cli_run_support.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kF07 = 7, kC25 = 125;

// Stations 1 and 3 of model 5 answer, station 2 stays silent.
class CliBus : public CliDriveFixture {
protected:
    void SetUp() override {
        CliDriveFixture::SetUp();
        StartDrive({1, 2, 3}, {2});
    }
};

TEST_F(CliBus, ScanAndRead) {
    drive->SetParamValue(1, 0, 7);    // another capacity code on station 1
    drive->SetParamValue(1, 53, 13);  // and another software version
    CliRun scan = Bus({"scan", "--stations", "1-3"});
    // No progress line when stderr is no terminal.
    EXPECT_EQ(std::tie(scan.status, scan.out, scan.err),
              std::make_tuple(0, std::string("Station 001: D200-2.2, software version 1.3\nStation 003: D200-0.75, software version 1.2\n"), ""));
    drive->SetParamValue(1, 0, 42);
    EXPECT_EQ(Bus({"scan", "--stations", "1"}).out, "Station 001: unknown (code 42), software version 1.3\n");
    scan = Bus({"scan", "--stations", "2"});
    EXPECT_EQ(std::tie(scan.status, scan.out, scan.err),
              std::make_tuple(1, "", std::string("No station answered.\n")));

    // read writes the file that the window program's Read into a new document makes.
    drive->SetParamValue(3, kF07, 4000);
    drive->SetParamValue(3, kC25, 2);
    KoltSettings settings;
    settings.hz50 = 0;  // new documents of this installation are 60 Hz
    ASSERT_TRUE(WriteSettingsFile(P("koltinf.ini"), settings));
    CliRun read = Bus({"read", "--station", "3", "-o", P("drive.kpf")});
    ASSERT_EQ(read.status, 0) << read.err;
    CMarbenApp app;
    app.settings.hz50 = 0;
    app.currentModel = 5;
    app.linkedFlag = 1;
    for (const ParamDef& p : AllParams())
        app.staging.values[0][static_cast<std::size_t>(SlotOfNumber(p.number))] = drive->ParamValue(3, p.number);
    app.freshRead = 1;
    EXPECT_EQ(ReadBytes(P("drive.kpf")), EncodeDocFile(ImageOfDocument(*CreateNewDocument(app))));

    // A station that does not answer writes no file.
    read = Bus({"read", "--station", "2", "-o", P("none.kpf")});
    EXPECT_EQ(std::make_pair(read.status, read.err.find("TIME-OUT !!") != std::string::npos), std::make_pair(1, true));
    EXPECT_FALSE(fs::exists(P("none.kpf")));
}

TEST_F(CliBus, WriteReportsEveryStationAndSucceedsOnlyWhenAllWereWritten) {
    ASSERT_EQ(Cli({"new", "--model", "5", "-o", P("pump.kpf")}).status, 0);
    ASSERT_EQ(Cli({"set", P("pump.kpf"), "F07=40", "C25=2"}).status, 0);
    const std::string written = "written (99 parameters)";  // F01..F51 and C00..C47

    CliRun write = Bus({"write", P("pump.kpf"), "--stations", "1-3"});
    EXPECT_EQ(std::make_tuple(write.out, write.status, write.err.find("Communication Error !!\nContinue to Next Station ?") != std::string::npos),
              std::make_tuple("Station 001: " + written + "\nStation 002: no reply\nStation 003: " + written + "\n", 1, true));
    for (int s : {1, 3}) EXPECT_EQ(std::make_tuple(drive->ParamValue(s, kF07), drive->ParamValue(s, kC25)),
                                   std::make_tuple(4000, 20)) << s;

    // Another model on station 1: nothing goes there, and with --stop-on-error
    // the question is answered Abort, so station 3 is not reached either.
    drive->SetParamValue(1, 0, 7);
    for (int s : {1, 3}) drive->SetParamValue(s, kF07, 5000);
    write = Bus({"write", P("pump.kpf"), "--stations", "1,3", "--stop-on-error"});
    EXPECT_EQ(std::tie(write.status, write.out),
              std::make_tuple(1, std::string("Station 001: capacity code 7 differs from the file's F00 005\n"
                                             "Station 003: not written (the write was ended)\n")));
    EXPECT_EQ(std::make_tuple(drive->ParamValue(1, kF07), drive->ParamValue(3, kF07)), std::make_tuple(5000, 5000));
}

TEST_F(CliBus, CompareADriveWithItsDefaults) {
    drive->SetParamValue(3, 1, 123);  // F01 12.3 s; the rest are model 5's 50 Hz defaults
    CliRun cmp = Bus({"compare", "--station", "3", "--50hz", "--csv"});
    EXPECT_EQ(std::tie(cmp.status, cmp.err, cmp.out),
              std::make_tuple(0, std::string(), std::string("Description,Code,Default,Station_003\n"
                                                            "Acceleration time 1 (s),F01,5.0,12.3\n"
                                                            "Software version,F53,x.x,1.2\n")));

    // Without --50hz/--60hz the frequency is koltinf.ini's, as the dialog's preset.
    KoltSettings settings;
    settings.hz50 = 0;
    ASSERT_TRUE(WriteSettingsFile(P("koltinf.ini"), settings));
    cmp = Bus({"compare", "--station", "3", "-o", P("drive3.kcf")});
    ASSERT_EQ(cmp.status, 0) << cmp.err;
    EXPECT_EQ(cmp.out, "Station 003: D200-0.75, software version 1.2; 12 parameters differ from the 60 Hz defaults; "
                       "saved in " + P("drive3.kcf") + "\n");
    CMarbenApp app;
    FakePrompts prompts;
    auto doc = OpenDocumentFile(app, P("drive3.kcf"), prompts);
    ASSERT_NE(doc, nullptr);
    // F07 as the drive holds it, against 60.00 Hz.
    EXPECT_EQ(std::make_tuple(doc->compareMode, doc->model, int{doc->hz50}, doc->names[0], doc->values[0][7], doc->differs[7]),
              std::make_tuple(1, 5, 0, std::string("Station_003"), 5000, 1));

    // A silent station makes no file.
    cmp = Bus({"compare", "--station", "2", "-o", P("none.kcf")});
    EXPECT_EQ(std::make_pair(cmp.status, cmp.err.find("TIME-OUT !!") != std::string::npos), std::make_pair(1, true));
    EXPECT_FALSE(fs::exists(P("none.kcf")));
}

TEST_F(CliBus, SetAndGet) {
    CliRun set = Bus({"set", "--station", "1", "F07=45.5"});
    EXPECT_EQ(std::tie(set.status, set.out), std::make_tuple(0, std::string("Write Parameter Successfully !!\n"))) << set.err;
    EXPECT_EQ(std::make_pair(drive->ParamValue(1, kF07), Bus({"get", "--station", "1", "f07"}).out),
              std::make_pair(4550, std::string("45.50\n")));

    // Refused settings send nothing.
    const long frames = drive->FramesSeen();
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"F07=450", "Over Range !!\n\nCode: F07\nRange Value: 1.00~200.00"},
        {"F53=13", "Code: F53\nThis parameter is read-only; its setting cannot be changed."},
        {"F52=10", "Code: F52\nReset to factory default (50 Hz)?\n-> No\n"
                   "Nothing was sent. Give --yes to reset the drive to its factory defaults."}};
    for (const auto& [assignment, message] : refused) {
        CliRun r = Bus({"set", "--station", "1", assignment});
        EXPECT_EQ(std::tie(r.status, r.out, r.err), std::make_tuple(1, "", message + "\n")) << assignment;
    }
    EXPECT_EQ(std::make_tuple(drive->FramesSeen(), drive->ParamValue(1, kF07)), std::make_tuple(frames, 4550));

    // The factory reset goes out only when the question is answered with --yes.
    set = Bus({"set", "--station", "1", "--yes", "F52=20"});
    EXPECT_EQ(std::make_pair(set.status, drive->ParamValue(1, kF07)), std::make_pair(0, 6000)) << set.err;
    EXPECT_NE(set.err.find("Code: F52\nReset to factory default (60 Hz)?"), std::string::npos);

    // A port that is not there says so in the program's words.
    CliRun open = Cli({"get", "--port", P("no-such-tty"), "--station", "1", "F07"});
    EXPECT_EQ(std::make_pair(open.status, open.err.rfind("Communication error!!\nCan not open COM port!\n", 0)),
              std::make_pair(1, std::size_t{0})) << open.err;
}

}  // namespace
}  // namespace kolt::testing
