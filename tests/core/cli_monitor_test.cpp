// kolt-cli monitor and control, run as a program against the virtual drive.
#include "cli_run_support.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

namespace kolt::testing {
namespace {

constexpr const char* kCsvHeader =
    "time,station,running,reverse,set_freq_Hz,output_freq_Hz,output_volt_V,output_amp_A,output_power_W,"
    "bus_volt_V,fault_code,fault_name,S1,S2,S3,S4,AIN,RY1";

// Stations 1 and 3 of model 5 answer, station 2 stays silent.
class CliMonitor : public CliDriveFixture {
protected:
    void SetUp() override {
        CliDriveFixture::SetUp();
        StartDrive({1, 2, 3}, {2});
    }
    std::uint16_t Register(int station, bool controlWord) {
        std::uint16_t v = 0;
        drive->WithStation(station,
                           [&](sim::VirtualStation& s) { v = controlWord ? s.ControlWord() : s.FrequencyCommand(); });
        return v;
    }
};

TEST_F(CliMonitor, CsvRowsAndLinesCarryTheDrivesValuesAsTheWindowsShowThem) {
    drive->SetFault(1, 25);
    CliRun r = Bus({"monitor", "--station", "1", "--count", "2", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0], kCsvHeader);
    // After the time, such as 2026-12-06T10:15:00.400Z: tripped, so stopped.
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(lines[i].substr(24), ",1,0,0,5.00,0.00,0.0,0.0,0.00,311.1,25,ER4,0,0,0,0,0,0") << lines[i];
        EXPECT_EQ(lines[i].substr(10, 1) + lines[i].substr(23, 1), "TZ") << lines[i];
    }
    ASSERT_EQ(Bus({"control", "--station", "3", "--freq", "20", "--toggle", "S2,RY1", "rev"}).status, 0);
    drive->SetFault(3, 11);
    r = Bus({"monitor", "--station", "3", "--count", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(lines[0].substr(24), " Station 003  STOP  << REV  Set freq. 020.00 Hz  Output freq. 000.00 Hz  "
                                   "Output volt. 000.0 V  Output amp. 000.0 A  Output power 000.00 W  Bus volt. 311.1 V  "
                                   "Error message: E.S.  S1 off S2 on S3 off S4 off AIN off RY1 on");
}

TEST_F(CliMonitor, StationsListPollsTheStationsThatAnswered) {
    const CliRun r = Bus({"monitor", "--stations", "1-3", "--count", "2", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u) << r.out;
    for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(lines[i].substr(24, 3), i % 2 ? ",1," : ",3,");
    // Nobody there: refused.
    const CliRun none = Bus({"monitor", "--stations", "2", "--count", "1"});
    EXPECT_EQ(std::tie(none.status, none.err), std::make_tuple(1, std::string("No station answered.\n")));
}

TEST_F(CliMonitor, ALostStationIsReportedAndPolledAgainUnlessStopOnError) {
    drive->SetIgnoreReads(1, 0x00F2, true);  // the values poll never answers
    const CliRun goOn = Bus({"monitor", "--station", "1", "--count", "2"});
    EXPECT_EQ(std::tie(goOn.status, goOn.out, goOn.err),
              std::make_tuple(0, std::string(), std::string("Communication error!!\nStation: 001\nCommunication error!!\nStation: 001\n")));
    const CliRun stop = Bus({"monitor", "--station", "1", "--count", "2", "--stop-on-error"});
    EXPECT_EQ(std::tie(stop.status, stop.err), std::make_tuple(1, std::string("Communication error!!\nStation: 001\n")));
}

TEST_F(CliMonitor, ControlSendsFrequencyThenOneControlWord) {
    const CliRun r = Bus({"control", "--station", "1", "run", "rev", "--freq", "30", "--toggle", "s1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::make_tuple(r.out, Register(1, true), Register(1, false)),
              std::make_tuple("Station 001: frequency command 030.00 Hz\nStation 001: control word 0x0023\n", 0x0023, 3000));
    // The later of two conflicting words wins; S1 is reported on now, so it goes off.
    ASSERT_EQ(Bus({"control", "--station", "1", "fwd", "stop", "run", "--toggle", "S1"}).status, 0);
    EXPECT_EQ(Register(1, true), 0x0001);
}

TEST_F(CliMonitor, ControlChecksBeforeSendingAnything) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"--freq", "50.01"}, 1, "Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 50.00 Hz\n"},
        {{"--param", "F52=15"}, 1, "Over Range !!\n\nCode: F52\n\nRange Value: 0, 10, 20\n"},
        {{"--param", "C02=201"}, 1, "Over Range !!\n\nCode: C02\n\nRange Value: 50~200\n"},
        {{"--param", "F52=10"}, 1,
         "Code: F52\nReset to factory default (50 Hz)?\n-> No\n"
         "Nothing was sent. Give --yes to reset the drive to its factory defaults.\n"},
        {{"--param", "X99=1"}, 1, "Unknown parameter code: X99\n"},
        {{"--freq", "1000"}, 1, ""},
        {{}, 2, ""},
        {{"jump"}, 2, ""},
        {{"--toggle", "S5"}, 2, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"control", "--station", "1"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = Bus(args);
        EXPECT_EQ(std::make_tuple(r.status, c.err.empty() ? c.err : r.err, r.out), std::make_tuple(c.status, c.err, ""))
            << c.args.size();
    }
    long writes = 0;
    drive->WithStation(1, [&](sim::VirtualStation& s) { writes = s.WritesAccepted(); });
    EXPECT_EQ(std::make_tuple(writes, Register(1, false)), std::make_tuple(0L, Register(3, false)));
}

TEST_F(CliMonitor, ControlWritesAParameterAndResetsOnlyWithYes) {
    CliRun r = Bus({"control", "--station", "3", "--param", "F01=12.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::make_tuple(r.out, drive->ParamValue(3, 1)), std::make_tuple("Station 003: F01 = 12.5\n", 125));
    r = Bus({"control", "--station", "3", "--param", "F52=10", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(drive->ParamValue(3, 1), 50);  // back to the factory default
    // The drive refuses a read-only parameter: its text, exit 1.
    r = Bus({"control", "--station", "3", "--param", "F53=1"});
    EXPECT_EQ(std::make_tuple(r.status, r.err), std::make_tuple(1, "Write Mode Error !\n"));
}

}  // namespace
}  // namespace kolt::testing
