// Backup, restore and drift of a whole bus against the virtual drive, and the
// checksum they keep of each file.
#include "link/bus_backup.h"

#include "base/sha256.h"
#include "document/doc_file.h"

#include "cli_run_support.h"
#include "link_test_support.h"
#include "wait_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <regex>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

namespace fs = std::filesystem;

constexpr int kF07 = 7, kC07 = 107, kC12 = 112, kC25 = 125;

TEST(Sha256, StandardVectors) {
    const std::vector<std::pair<std::string, std::string>> vectors = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [input, digest] : vectors) EXPECT_EQ(Sha256Hex(input), digest) << input.size();
}

// Counts what the job reports and cancels when told to.
struct Progress : IBusJobProgress {
    std::vector<int> started, done;
    int cancelAtStation = 0;
    std::function<void(int)> onStation;
    void Station(int station, int, int) override {
        started.push_back(station);
        if (onStation) onStation(station);
    }
    bool CancelRequested() override {
        return cancelAtStation != 0 && !started.empty() && started.back() == cancelAtStation;
    }
    void Done(const BusCsvRow& row) override { done.push_back(row.station); }
    void Done(const RestoreStationReport& r) override { done.push_back(r.station); }
    void Done(const DriftStationReport& r) override { done.push_back(r.station); }
};

// Stations 1..4 of model 5; station 2 is absent.
class BusBackup : public LinkBench {
protected:
    void SetUp() override {
        auto o = QuickDrive({1, 2, 3, 4}, 5);
        o.silent = {2};
        o.presets = {{3, kF07, 4500}};
        StartDrive(o);
        ASSERT_EQ(OpenLinkPort(ctx, LinkTo({1})), LinkOutcome::Linked);
        app.linkedFlag = 1;
    }

    BackupReport Backup(std::vector<int> stations, Progress& progress) {
        BackupRequest request;
        request.folder = folder;
        request.stations = std::move(stations);
        request.titles[0] = "Pump, north";
        return BackupBus(ctx, request, memory, progress);
    }

    std::string Csv() const { return ReadBytes(folder + "/bus.csv"); }
    std::string File(int station) const {
        char name[32];
        std::snprintf(name, sizeof name, "/station_%03d.kpf", station);
        return ReadBytes(folder + name);
    }
    // bus.csv without the time column.
    std::vector<std::string> CsvRows() const {
        std::vector<std::string> rows;
        const std::regex time(",\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ,");
        for (const std::string& line : Lines(Csv())) rows.push_back(std::regex_replace(line, time, ",T,"));
        return rows;
    }

    TempDir dir;
    std::string folder = dir.File("backup");
    BlockReadMemory memory;
};

TEST_F(BusBackup, SavesAnsweringStationsListsEveryStationAndLeavesNoFileOfAFailedOne) {
    drive->SetIgnoreReads(4, 0x0064, true);  // station 4 stops answering halfway through its parameters
    Progress progress;
    const BackupReport report = Backup({1, 2, 3, 4}, progress);
    EXPECT_EQ(std::make_tuple(report.saved, report.absent, report.failed, report.notDone, report.Ok()),
              std::make_tuple(2, 1, 1, 0, false));
    EXPECT_EQ(progress.done, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(CsvRows(), (std::vector<std::string>{
                             "station,title,model_code,model,software_version,mains_frequency,file,sha256,time,result",
                             "1,\"Pump, north\",5,D200-0.75,1.2,50 Hz,station_001.kpf," + Sha256Hex(File(1)) + ",T,saved",
                             "2,,,,,,,,T,no answer",
                             "3,,5,D200-0.75,1.2,50 Hz,station_003.kpf," + Sha256Hex(File(3)) + ",T,saved",
                             "4,,5,D200-0.75,1.2,,,,T,TIME-OUT !! at C00",
                         }));
    EXPECT_EQ(std::make_tuple(fs::exists(folder + "/station_004.kpf"), fs::exists(folder + "/station_004.kpf.new")),
              std::make_tuple(false, false));

    // The files are the drive's sets as Read would save them, the title in its place.
    CMarbenDoc doc(app);
    ASSERT_TRUE(ReadDocFile(doc, folder + "/station_003.kpf", prompts));
    EXPECT_EQ(std::make_tuple(doc.model, Setting(doc, kF07), Setting(doc, SlotOfNumber(kC25))),
              std::make_tuple(5, 4500, drive->ParamValue(3, kC25)));
    ASSERT_TRUE(ReadDocFile(doc, folder + "/station_001.kpf", prompts));
    EXPECT_EQ(std::make_tuple(File(1).size(), doc.stationTitles[0]), std::make_tuple(1801u + 11u, "Pump, north"));
}

TEST_F(BusBackup, ANewBackupKeepsTheOldFilesUntilItEndsAndCancelLeavesAConsistentList) {
    Progress first;
    ASSERT_EQ(Backup({1, 3}, first).saved, 2);
    const std::string oldCsv = Csv(), old1 = File(1), old3 = File(3);
    drive->SetParamValue(1, kC12, 77);
    drive->SetParamValue(3, kC12, 77);

    Progress second;
    second.cancelAtStation = 3;
    second.onStation = [&](int station) {
        if (station != 3) return;
        // Station 1 is read again, but the old backup is still whole.
        EXPECT_EQ(std::make_tuple(Csv(), File(1)), std::make_tuple(oldCsv, old1));
    };
    const BackupReport report = Backup({1, 3, 4}, second);
    // Station 3 not done: the earlier file stays, no longer listed.
    EXPECT_EQ(std::make_tuple(report.cancelled, report.saved, report.notDone, File(1) != old1, File(3)),
              std::make_tuple(true, 1, 2, true, old3));
    EXPECT_EQ(CsvRows(), (std::vector<std::string>{
                             "station,title,model_code,model,software_version,mains_frequency,file,sha256,time,result",
                             "1,\"Pump, north\",5,D200-0.75,1.2,50 Hz,station_001.kpf," + Sha256Hex(File(1)) + ",T,saved",
                             "3,,5,D200-0.75,1.2,,,,T,not done (cancelled)",
                             "4,,,,,,,,,not done (cancelled)",
                         }));
    EXPECT_TRUE(fs::exists(folder + "/station_003.kpf"));
    for (const auto& entry : fs::directory_iterator(folder)) EXPECT_NE(entry.path().extension(), ".new");
}

TEST_F(BusBackup, RestoreWritesAsWriteDoesAndReadsEveryValueBack) {
    Progress backup;
    ASSERT_EQ(Backup({1, 3, 4}, backup).saved, 3);
    const std::int32_t c07 = drive->ParamValue(3, kC07), f07 = drive->ParamValue(1, kF07),
                       c12 = drive->ParamValue(1, kC12);
    for (int s : {1, 3}) {
        drive->SetParamValue(s, kF07, 4000);
        drive->SetParamValue(s, kC12, 10);
    }
    drive->SetKeepValue(3, kC07, true);  // station 3 takes every write of C07 but keeps its value
    drive->SetParamValue(3, kC07, c07 + 1);
    drive->SetParamValue(4, 0, 7);  // station 4 is now another model
    drive->ClearFramesHeard();

    Progress progress;
    RestoreReport report = RestoreBus(ctx, {folder, {}}, memory, progress);
    ASSERT_EQ(report.stations.size(), 3u);
    const RestoreStationReport &s1 = report.stations[0], &s3 = report.stations[1], &s4 = report.stations[2];
    EXPECT_EQ(std::make_tuple(s1.result, s1.written.size(), s1.differences.size()),
              std::make_tuple(RestoreResult::Verified, 99u, 0u));
    EXPECT_EQ(std::make_tuple(drive->ParamValue(1, kF07), drive->ParamValue(1, kC12), drive->ParamValue(3, kF07)),
              std::make_tuple(f07, c12, 4500));
    ASSERT_EQ(std::make_tuple(s3.result, s3.differences.size()), std::make_tuple(RestoreResult::Differs, 1u));
    EXPECT_EQ(std::make_tuple(s3.differences[0].number, s3.differences[0].fileValue, s3.differences[0].driveValue),
              std::make_tuple(kC07, c07, c07 + 1));
    EXPECT_EQ(std::make_tuple(s4.result, s4.message, s4.written.size(), report.Ok()),
              std::make_tuple(RestoreResult::Refused, "Parameter F00: Inverter Horse Power Capacity Error !", 0u, false));
    // One write request per parameter, never F00 or F52; station 4 gets none.
    std::map<std::string, int> writes;
    for (const std::string& frame : drive->FramesHeard()) ++writes[frame.substr(0, 5)];
    EXPECT_EQ(std::make_tuple(writes[":0110"], writes[":0310"], writes[":0410"]), std::make_tuple(99, 99, 0));
    EXPECT_EQ(std::count(s1.written.begin(), s1.written.end(), 0) + std::count(s1.written.begin(), s1.written.end(), 52),
              0);
}

TEST_F(BusBackup, RestoreRefusesATamperedFileAsksForAnotherVersionAndReportsADriveThatVanishes) {
    Progress backup;
    ASSERT_EQ(Backup({1, 3}, backup).saved, 2);
    std::string bytes = File(3);
    bytes[kOffsetValues + 4 * 7] ^= 1;  // F07
    WriteBytes(folder + "/station_003.kpf", bytes);
    drive->SetParamValue(1, 53, 13);  // station 1 now runs version 1.3
    prompts.yesNoAnswers = {false};

    Progress progress;
    RestoreReport report = RestoreBus(ctx, {folder, {1, 3, 9}}, memory, progress);
    ASSERT_EQ(report.stations.size(), 3u);
    EXPECT_EQ(std::make_tuple(report.stations[0].message, report.stations[1].message, report.stations[2].message),
              std::make_tuple("software version differs; not restored", "the file's SHA-256 differs from bus.csv",
                              "not in the backup"));
    EXPECT_EQ(Boxes(prompts), (Texts{"Restore Bus: Station 001 runs software version 1.3; its backup was read from "
                                     "version 1.2.\nRestore it anyway?"}));

    // Yes this time; the drive stops answering after the probe and 37 writes.
    prompts.yesNoAnswers = {true};
    drive->SetSilentAfter(drive->RepliesSent() + 3 + 37);
    report = RestoreBus(ctx, {folder, {1}}, memory, progress);
    ASSERT_EQ(report.stations.size(), 1u);
    const RestoreStationReport& s1 = report.stations[0];
    EXPECT_EQ(std::make_tuple(s1.result, s1.written.size(), s1.message),
              std::make_tuple(RestoreResult::NoAnswer, 37u, "TIME-OUT !! at F38"));
}

TEST_F(BusBackup, DriftListsExactlyThePlantedDifferencesAndTheStationsNotRead) {
    Progress backup;
    ASSERT_EQ(Backup({1, 3, 4}, backup).saved, 3);
    const std::int32_t c12 = drive->ParamValue(1, kC12) + 1, c25 = drive->ParamValue(3, kC25) + 1;
    drive->SetParamValue(1, kF07, 4000);
    drive->SetParamValue(1, kC12, c12);
    drive->SetParamValue(3, kC25, c25);
    drive->SetSilent(4, true);

    Progress progress;
    const DriftReport report = DriftBus(ctx, {folder, {}}, memory, progress);
    ASSERT_EQ(report.stations.size(), 3u);
    std::vector<std::tuple<int, int, std::int32_t>> rows;
    for (const DriftStationReport& s : report.stations)
        for (const ValueDifference& d : s.differences) rows.emplace_back(s.station, d.number, d.driveValue);
    EXPECT_EQ(rows, (std::vector<std::tuple<int, int, std::int32_t>>{{1, kF07, 4000}, {1, kC12, c12}, {3, kC25, c25}}));
    EXPECT_EQ(std::make_tuple(report.stations[2].read, report.stations[2].message, report.Drift(), report.AllRead()),
              std::make_tuple(false, "no answer", true, false));

    // One station's drift as a File with File document: backup file against the drive.
    StageDriftCompare(app, report.stations[0]);
    EXPECT_EQ(std::make_tuple(app.staging.compareMode, app.staging.names[0], app.staging.names[1]),
              std::make_tuple(2, "station_001.kpf", "Station_001"));
    EXPECT_EQ(std::count(app.staging.differs.begin(), app.staging.differs.end(), 1), 2);
}

}  // namespace

namespace {

// kolt-cli's three commands, run as a program: stations 1, 3 and 4 of model 5
// answer, station 2 is absent.
class CliBusBackup : public CliDriveFixture {
protected:
    void SetUp() override {
        CliDriveFixture::SetUp();
        StartDrive({1, 2, 3, 4}, {2});
    }
};

TEST_F(CliBusBackup, BackupDriftAndRestoreReportAndExitAsTheySay) {
    drive->SetIgnoreReads(4, 0x0064, true);
    CliRun run = Bus({"backup", "--stations", "1-4", "-o", P("bk")});
    EXPECT_EQ(std::make_tuple(run.status, run.out),
              std::make_tuple(1, "Station 001: saved station_001.kpf (D200-0.75, software version 1.2)\n"
                                 "Station 003: saved station_003.kpf (D200-0.75, software version 1.2)\n"
                                 "Station 004: TIME-OUT !! at C00\n"
                                 "Backup in " + P("bk") + ": 2 saved, 1 absent, 1 failed\n"));
    drive->SetIgnoreReads(4, 0x0064, false);
    ASSERT_EQ(Bus({"backup", "--stations", "1-4", "-o", P("bk")}).status, 0);

    // Two planted differences, then a station that cannot be read: 1, then 2.
    drive->SetParamValue(1, kF07, 4000);
    drive->SetParamValue(3, kF07, 4100);
    run = Bus({"drift", P("bk"), "--csv"});
    EXPECT_EQ(std::make_tuple(run.status, run.out, run.err),
              std::make_tuple(1, "station,code,name,backup,drive\n"
                                 "1,F07,\"Frequency upper limit (Hz)\",50.00,40.00\n"
                                 "3,F07,\"Frequency upper limit (Hz)\",50.00,41.00\n", ""));
    drive->SetSilent(4, true);
    run = Bus({"drift", P("bk"), "--stations", "1,4"});
    EXPECT_EQ(std::make_tuple(run.status, run.out, run.err),
              std::make_tuple(2, "Station 001  F07 Frequency upper limit (Hz): backup 50.00, drive 40.00\n",
                              "Station 004: not read: no answer\n"));

    std::string bytes = ReadBytes(P("bk/station_003.kpf"));
    bytes.back() ^= 1;
    WriteBytes(P("bk/station_003.kpf"), bytes);
    run = Bus({"restore", P("bk"), "--stations", "1,3"});
    EXPECT_EQ(std::make_tuple(run.status, run.out),
              std::make_tuple(1, "Station 001: written 99, verified 99\n"
                                 "Station 003: the file's SHA-256 differs from bus.csv\n"));
    EXPECT_EQ(drive->ParamValue(1, kF07), 5000);
}

TEST_F(CliBusBackup, CtrlCStopsTheBackupAndLeavesAListOfWhatWasNotDone) {
    drive->SetDelayMs(20);  // slow enough to be caught halfway
    const std::string bin = std::string(KOLT_TEST_BIN_DIR) + "/tools/kolt-cli";
    std::vector<std::string> args = {bin, "backup", "--stations", "1,3,4", "-o", P("bk"), "--port", drive->SlavePath()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, P(".stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, bin.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ASSERT_EQ(spawned, 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(P("bk/station_001.kpf.new")); }, 10000));
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_NE(ReadBytes(P(".stdout")).find(", 2 not done (cancelled)\n"), std::string::npos);
    const auto rows = Lines(ReadBytes(P("bk/bus.csv")));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(std::make_tuple(rows[1].ends_with(",saved"),
                              rows[1].find(Sha256Hex(ReadBytes(P("bk/station_001.kpf")))) != std::string::npos, rows[3]),
              std::make_tuple(true, true, "4,,,,,,,,,not done (cancelled)"));
}

}  // namespace
