#include "link/link_procedure.h"

#include "link/station_list.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

class LinkProcedure : public LinkBench {
protected:
    void ExpectUnlinked() { EXPECT_EQ(std::make_tuple(port.IsOpen(), app.linkedFlag, app.busyFlag), std::make_tuple(false, 0, 0)); }
};

}  // namespace

TEST_F(LinkProcedure, SingleStationLinksAndReadsVersionAndModel) {
    auto o = QuickDrive({5}, 7);
    o.version = 23;
    StartDrive(o);
    LinkRequest r = LinkTo({5});
    r.line.baudRate = 19200;
    r.line.parity = 2;
    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Linked);
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), app.linkedFlag, app.busyFlag, app.currentStation, app.softwareVersion,
                              app.currentModel),
              std::make_tuple(0u, 1, 0, 5, 23, 7));
    // The dialog's line settings are kept; echo, version and capacity were asked.
    EXPECT_EQ(std::make_tuple(app.linkedList[1], app.settings.baudRate, port.PortName(), port.TransactionCount()),
              std::make_tuple(5, 19200, "COM1", 3L));
    EXPECT_GE(host.statusRefreshes, 1);
}

TEST_F(LinkProcedure, ListSkipsASilentFirstStation) {
    auto o = QuickDrive({2, 3});
    o.silent = {2};
    StartDrive(o);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({2, 3})), LinkOutcome::Linked);
    // Station 2 removed from the list; two echo calls for it, one for the
    // answering one, then version and capacity.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), app.currentStation, app.linkedList[1], app.scanFlag,
                              prompts.progressCancellable, prompts.progressCloses, port.TransactionCount()),
              std::make_tuple(0u, 3, 0, 0, true, 1, 5L));
    EXPECT_EQ(prompts.progressTexts, (Texts{"Station_002 ... ... ...", "Station_003 ... ... ..."}));
}

// Every silent station costs two 400 ms echo calls: the only drive sits low here.
TEST_F(LinkProcedure, AllStationsFindsTheOnlyDriveAndLeavesTheRestUnprobed) {
    StartDrive(QuickDrive({2}));
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(AllStations())), LinkOutcome::Linked);
    EXPECT_EQ(std::tie(app.currentStation, app.linkedCount, app.linkedList[1], app.linkedList[2], app.linkedList[3],
                       prompts.progressSteps),
              std::make_tuple(2, 254, 0, 2, 3, 2));
}

TEST_F(LinkProcedure, CancelDuringTheScanClosesThePortSilently) {
    StartDrive(QuickDrive({200}));
    bool scanning = false;
    prompts.onPump = [&](int pump) {
        scanning = app.busyFlag && app.scanFlag;
        if (pump == 3) {  // after the first echo to station 1
            app.cancelFlag = 1;
            prompts.ProgressClose();
        }
    };
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(AllStations())), LinkOutcome::NoStation);
    ExpectUnlinked();
    // Closed by Cancel only, after one echo.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), scanning, app.scanFlag, prompts.progressCloses, port.TransactionCount()),
              std::make_tuple(0u, true, 0, 1, 1L));
}

TEST_F(LinkProcedure, ScanFindsAStationOnItsSecondEchoCall) {
    StartDrive(QuickDrive({8}));
    drive->SetIgnoreNext(1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({8, 9})), LinkOutcome::Linked);
    EXPECT_EQ(app.currentStation, 8);
}

TEST_F(LinkProcedure, AGarbledEchoEndsTheScanAtThatStation) {
    // Station 5 answers only with a bad LRC; station 6 would answer well, but a
    // garbled answer is an answer: the scan ends at 5, whose version read fails.
    auto o = QuickDrive({5, 6});
    o.badLrc = {5};
    StartDrive(o);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({5, 6})), LinkOutcome::Failed);
    EXPECT_EQ(Boxes(prompts), Texts{"Communication Message: Check Sum Error !!"});
    // Two echo calls, three version calls.
    EXPECT_EQ(std::make_pair(app.currentStation, port.TransactionCount()), std::make_pair(5, 2L + 3));
    ExpectUnlinked();
}

TEST_F(LinkProcedure, FailuresShowTheirTextAndLeaveTheLinkDown) {
    auto o = QuickDrive({1, 2});
    o.badLrc = {1};
    StartDrive(o);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::Failed);
    ExpectUnlinked();
    // Station 2 answers the echo, then falls silent.
    drive->SetSilentAfter(drive->RepliesSent() + 1);
    const long before = port.TransactionCount();
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({2})), LinkOutcome::Failed);
    // Echo, then three version calls.
    EXPECT_EQ(std::make_tuple(port.TransactionCount() - before, Boxes(prompts), app.softwareVersion),
              std::make_tuple(1 + 3, Texts{"Communication Message: Check Sum Error !!", "Communication Message: TIME-OUT !!"}, 0));
    ExpectUnlinked();
}

TEST_F(LinkProcedure, PortThatCannotBeOpenedSaysWhyInPlainWords) {
    ::setenv("KOLT_COM1", "/dev/kolt-no-such-port", 1);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::OpenFailed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    const std::string& text = prompts.shown[0].text;
    EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
    EXPECT_EQ(text.rfind("Communication error!!\nCan not open COM port!", 0), 0u) << text;
    EXPECT_NE(text.find("/dev/kolt-no-such-port"), std::string::npos) << text;
    ExpectUnlinked();
}

TEST_F(LinkProcedure, LinkAgainIsRefusedAndUnlinkClosesThePortAndTheMonitors) {
    StartDrive(QuickDrive({4}));
    LinkStation(4);
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({4})), LinkOutcome::PortInUse);
    EXPECT_EQ(std::make_tuple(Boxes(prompts), port.IsOpen(), app.busyFlag),
              std::make_tuple(Texts{"Communication Message: COM Port already opened!"}, true, 0));

    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({}, LinkButton::Unlink)), LinkOutcome::Unlinked);
    // No complaint about closing; the monitors go; the station is kept.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), host.monitorCloses, app.currentStation), std::make_tuple(1u, 1, 4));
    ExpectUnlinked();
}

TEST_F(LinkProcedure, NothingHappensWhileAScanRunsOnCloseOrForALoneComma) {
    StartDrive(QuickDrive({1}));
    app.scanFlag = 1;
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo({1})), LinkOutcome::Closed);
    app.scanFlag = 0;
    LinkRequest r = LinkTo({1}, LinkButton::Close);
    r.line.baudRate = 4800;
    EXPECT_EQ(RunLinkCommand(ctx, r), LinkOutcome::Closed);
    EXPECT_EQ(app.settings.baudRate, 38400);  // Close keeps the old settings
    // A lone comma opens and closes the port without a message.
    EXPECT_EQ(RunLinkCommand(ctx, LinkTo(ParseStationList(","))), LinkOutcome::NoStation);
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), port.TransactionCount()), std::make_tuple(0u, 0L));
    ExpectUnlinked();
}
