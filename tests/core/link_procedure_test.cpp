#include "link/link_procedure.h"

#include "app/texts.h"
#include "link/station_list.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

using namespace kolt;
using namespace kolt::testing;

namespace {

class LinkProcedure : public LinkBench {};

}  // namespace

TEST(LinkTexts, ScanProgressAndPortName) {
    EXPECT_EQ(ScanProgressText(7), "Station_007 ... ... ...");
    EXPECT_EQ(ScanProgressText(254), "Station_254 ... ... ...");
    EXPECT_EQ(ComPortName(3), "COM3");
}

TEST_F(LinkProcedure, SingleStationLinksAndReadsVersionAndModel) {
    auto o = QuickDrive({5}, 7);
    o.version = 23;
    StartDrive(o);
    app.settings.baudRate = 9600;
    LinkRequest r = LinkTo({5});
    r.line.baudRate = 19200;
    r.line.parity = 2;

    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Linked);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(app.currentStation, 5);
    EXPECT_EQ(app.softwareVersion, 23);
    EXPECT_EQ(app.currentModel, 7);
    EXPECT_EQ(app.linkedCount, 1);
    EXPECT_EQ(app.linkedList[1], 5);
    EXPECT_EQ(app.settings.baudRate, 19200);  // the dialog's line settings are kept
    EXPECT_EQ(app.settings.parity, 2);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortName(), "COM1");
    EXPECT_EQ(port.GetHandshaking(), kHandshakeHardware);
    EXPECT_EQ(port.TransactionCount(), 3);  // echo, version, capacity
    EXPECT_GE(host.statusRefreshes, 1);
}

TEST_F(LinkProcedure, ListSkipsASilentFirstStation) {
    auto o = QuickDrive({2, 3});
    o.silent = {2};
    StartDrive(o);

    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({2, 3})), LinkOutcome::Linked);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(app.linkedList[1], 0);  // removed: it did not answer
    EXPECT_EQ(app.linkedList[2], 3);
    EXPECT_EQ(prompts.progressTexts,
              (std::vector<std::string>{"Station_002 ... ... ...", "Station_003 ... ... ..."}));
    EXPECT_TRUE(prompts.progressCancellable);
    EXPECT_EQ(prompts.progressOpens, 1);
    EXPECT_EQ(prompts.progressCloses, 1);
    EXPECT_EQ(prompts.progressHigh, 2);
    EXPECT_GE(prompts.pumps, 4);
    EXPECT_EQ(app.scanFlag, 0);
    // Two echo calls for the silent station, one for the answering one, then version and capacity.
    EXPECT_EQ(port.TransactionCount(), 5);
}

// Each silent station costs two echo calls of 400 ms: "All of the Inverter"
// on a bus whose only drive is station 200 would take some 160 s, so station 3
// stands in for it here.
TEST_F(LinkProcedure, AllStationsFindsTheOnlyDriveAndLeavesTheRestUnprobed) {
    StartDrive(QuickDrive({3}));

    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(AllStations())), LinkOutcome::Linked);
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(app.linkedCount, 254);
    EXPECT_EQ(app.linkedList[1], 0);
    EXPECT_EQ(app.linkedList[2], 0);
    EXPECT_EQ(app.linkedList[3], 3);
    EXPECT_EQ(app.linkedList[4], 4);  // never probed
    EXPECT_EQ(app.linkedList[254], 254);
    EXPECT_EQ(prompts.progressLow, 0);
    EXPECT_EQ(prompts.progressHigh, 254);
    EXPECT_EQ(prompts.progressSteps, 3);
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(LinkProcedure, CancelDuringTheScanClosesThePortSilently) {
    StartDrive(QuickDrive({200}));
    bool busyDuringScan = false, scanFlagDuringScan = false;
    prompts.onPump = [&](int pump) {
        busyDuringScan = app.busyFlag != 0;
        scanFlagDuringScan = app.scanFlag != 0;
        if (pump == 3) {  // after the first echo to station 1
            app.cancelFlag = 1;
            prompts.ProgressClose();
        }
    };

    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(AllStations())), LinkOutcome::NoStation);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(busyDuringScan);
    EXPECT_TRUE(scanFlagDuringScan);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(prompts.progressCloses, 1);  // closed by Cancel only
    EXPECT_EQ(port.TransactionCount(), 1);
    EXPECT_EQ(prompts.progressTexts.size(), 1u);
}

TEST_F(LinkProcedure, NoAnsweringStationInTheListEndsWithoutAMessage) {
    auto o = QuickDrive({9});
    StartDrive(o);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({4, 5})), LinkOutcome::NoStation);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(port.TransactionCount(), 4);
}

TEST_F(LinkProcedure, SilentSingleStationTimesOutAndUnlinks) {
    StartDrive(QuickDrive({1}));
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({6})), LinkOutcome::Failed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "comm");
    EXPECT_EQ(prompts.shown[0].text, "TIME-OUT !!");
    EXPECT_EQ(port.TransactionCount(), 3);  // three calls, then the last result stands
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(LinkProcedure, StationAnsweringOnlyTheSecondCallStillLinks) {
    StartDrive(QuickDrive({8}));
    drive->SetIgnoreNext(1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({8})), LinkOutcome::Linked);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(port.TransactionCount(), 4);

    // The same in a scan: the second echo call finds it.
    LinkRequest unlink;
    unlink.button = LinkButton::Unlink;
    RunLinkCommand(ctx, unlink);
    drive->SetIgnoreNext(1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({8, 9})), LinkOutcome::Linked);
    EXPECT_EQ(app.currentStation, 8);
    EXPECT_EQ(app.linkedList[1], 8);
}

TEST_F(LinkProcedure, GarbledRepliesShowTheCheckSumError) {
    auto o = QuickDrive({1});
    o.badLrc = {1};
    StartDrive(o);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::Failed);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Check Sum Error !!"});
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
}

TEST_F(LinkProcedure, VersionReadFailureLeavesTheLinkDown) {
    StartDrive(QuickDrive({1}));
    drive->SetSilentAfter(1);  // answers the echo, then falls silent
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::Failed);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"TIME-OUT !!"});
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.softwareVersion, 0);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(LinkProcedure, LoneCommaOpensAndClosesThePortWithoutAMessage) {
    StartDrive(QuickDrive({1}));
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(ParseStationList(","))), LinkOutcome::NoStation);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(port.TransactionCount(), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.linkedCount, 0);
}

TEST_F(LinkProcedure, PortThatCannotBeOpenedSaysWhyInPlainWords) {
    ::setenv("KOLT_COM1", "/dev/kolt-no-such-port", 1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::OpenFailed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    const Shown& m = prompts.shown[0];
    EXPECT_EQ(m.caption, "Communication Message");
    EXPECT_EQ(m.icon, Icon::Error);
    EXPECT_EQ(m.text.rfind("Communication error!!\nCan not open COM port!", 0), 0u) << m.text;
    EXPECT_NE(m.text.find("/dev/kolt-no-such-port"), std::string::npos) << m.text;
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(LinkProcedure, PortWithoutPermissionPointsToTheDialoutGroup) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may open any device";
    char path[] = "/tmp/kolt-no-access-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ::chmod(path, 0);
    ::setenv("KOLT_COM1", path, 1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::OpenFailed);
    ::unlink(path);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("dialout"), std::string::npos) << prompts.shown[0].text;
    EXPECT_EQ(app.linkedFlag, 0);
}

TEST_F(LinkProcedure, LinkingAgainWhileThePortIsOpenIsRefused) {
    StartDrive(QuickDrive({1}));
    LinkStation(1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::PortInUse);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "COM Port already opened!");
    EXPECT_EQ(prompts.shown[0].caption, "Communication Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(LinkProcedure, UnlinkClosesThePortAndTheMonitors) {
    StartDrive(QuickDrive({4}));
    LinkStation(4);
    LinkRequest r;
    r.button = LinkButton::Unlink;
    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Unlinked);
    EXPECT_TRUE(prompts.shown.empty());  // no complaint about closing
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(host.monitorCloses, 1);
    EXPECT_EQ(app.currentStation, 4);  // kept after an unlink
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(LinkProcedure, NothingHappensWhileAScanRunsOrOnClose) {
    app.scanFlag = 1;
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::Closed);
    EXPECT_EQ(app.busyFlag, 0);
    app.scanFlag = 0;
    LinkRequest r = LinkTo({1});
    r.button = LinkButton::Close;
    r.line.baudRate = 4800;
    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Closed);
    EXPECT_EQ(app.settings.baudRate, 38400);  // Close keeps the old settings
    EXPECT_FALSE(port.IsOpen());
}
