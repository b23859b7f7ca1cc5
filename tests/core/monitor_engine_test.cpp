// The monitor engine against the virtual drive: starts, poll cycles, the
// three commands and what a lost or garbled station does.
#include "monitor_test_support.h"

#include "monitor/monitor_texts.h"

using namespace kolt;
using namespace kolt::testing;

namespace {

using Frames = std::vector<std::string>;

// Request frames, written out: station 3's four polls with F00 selected.
const Frames kStation3Cycle = {":030300080002F0", ":030300F20009FF", ":030300EF000308", ":030300000001F9"};

class MonitorSingle : public MonitorBench {
protected:
    void SetUp() override {
        StartLinked({3}, 3);
        ASSERT_TRUE(engine.StartSingle(3));
        prompts.shown.clear();
        drive->ClearFramesHeard();
    }
};

TEST_F(MonitorBench, SingleStartReadsVersionAndCapacityThenOpensTheWindow) {
    StartLinked({1, 3}, 1);
    app.softwareVersion = 0;
    engine.Table()[3].freqUpper = 1234;
    ASSERT_TRUE(engine.StartSingle(3));
    EXPECT_EQ(Heard(), (Frames{":0303002C0001CD", ":030300000001F9"}));
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(app.softwareVersion, 12);
    EXPECT_EQ(app.currentModel, 3);
    EXPECT_EQ(app.monitoringFlag, 1);
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(engine.Window(), MonitorWindowKind::Single);
    EXPECT_EQ(windows.openedStation, 3);
    EXPECT_EQ(windows.singleRefreshes, 1);
    // The table starts over, F00 of the station holding the capacity code.
    EXPECT_EQ(engine.Table()[3].freqUpper, 500);
    EXPECT_EQ(engine.Table()[3].paramValues[0][0], 3);
    EXPECT_FALSE(engine.MonitorMayStart());
}

TEST_F(MonitorBench, SingleStartFailuresOpenNothing) {
    StartLinked({1}, 1);
    // A station that does not answer: "TIME-OUT !!" after three calls.
    EXPECT_FALSE(engine.StartSingle(2));
    EXPECT_EQ(Boxes(prompts), (Texts{"Communication Message: TIME-OUT !!"}));
    EXPECT_EQ(Heard().size(), 3u);
    EXPECT_EQ(windows.singleOpens, 0);
    // The window cannot be made: no monitoring.
    windows.allowOpen = false;
    EXPECT_FALSE(engine.StartSingle(1));
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_EQ(engine.Window(), MonitorWindowKind::None);
    // Not linked: the message and no frame.
    app.linkedFlag = 0;
    drive->ClearFramesHeard();
    prompts.shown.clear();
    EXPECT_FALSE(engine.StartSingle(1));
    EXPECT_EQ(Boxes(prompts), (Texts{"Communication Message: KOLT Not Link With PC !!"}));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(MonitorSingle, ACyclePollsLimitsValuesStatusParameterAndRefreshesThrice) {
    drive->SetParamValue(3, 7, 6000);
    drive->SetParamValue(3, 8, 150);
    drive->SetFault(3, 24);
    engine.PollCycle();
    EXPECT_EQ(Heard(), kStation3Cycle);
    const StationRecord& r = engine.Table()[3];
    EXPECT_EQ(r.freqUpper, 6000);
    EXPECT_EQ(r.freqLower, 150);
    EXPECT_EQ(r.faultCode, 24);
    EXPECT_EQ(FaultName(r.faultCode), " ER2");
    EXPECT_EQ(r.paramValues[0][0], 3);
    EXPECT_EQ(windows.singleRefreshes, 1 + 3);
    EXPECT_TRUE(prompts.shown.empty());

    // The next cycle reads the parameter chosen in "Fun. no.": C10 at
    // position 65 (register 0x006E), F01 at position 1 (one decimal).
    engine.SelectFunction(3, 65);
    drive->SetParamValue(3, 110, 1);
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_EQ(Heard().back(), ":0303006E00018B");
    EXPECT_EQ(engine.Table()[3].paramValues[1][10], 1);
    EXPECT_EQ(engine.FunDataText(3), "1");
    engine.SelectFunction(3, 1);
    drive->SetParamValue(3, 1, 125);
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_EQ(Heard().back(), ":030300010001F8");
    EXPECT_EQ(engine.FunDataText(3), "12.5");
}

TEST_F(MonitorSingle, RepliesLandInTheRecordOfTheReplyingStation) {
    drive->SetReplyAddress(3, 4);
    drive->SetParamValue(3, 7, 6000);
    engine.SelectFunction(4, 7);  // station 4's own selection: F07
    engine.PollCycle();
    EXPECT_EQ(engine.Table()[4].freqUpper, 6000);
    // The request asked for station 3's F00 (capacity 3); the value is filed
    // under the replying station's selection.
    EXPECT_EQ(engine.Table()[4].paramValues[0][7], 3);
    EXPECT_EQ(engine.Table()[3].freqUpper, 500);
    EXPECT_EQ(engine.Table()[3].paramValues[0][7], 0);
}

TEST_F(MonitorSingle, AFailedPollEndsTheCycleKeepingTheValuesRead) {
    const struct {
        std::uint16_t ignoredRead;
        std::size_t frames;     // three calls for the failing poll
        int refreshes;
    } cases[] = {
        {0x0008, 3, 0},
        {0x00F2, 1 + 3, 0},
        {0x00EF, 2 + 3, 1},
        {0x0000, 3 + 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ignoredRead);
        drive->SetIgnoreReads(3, c.ignoredRead, true);
        windows.singleRefreshes = 0;
        prompts.shown.clear();
        drive->ClearFramesHeard();
        engine.PollCycle();
        drive->SetIgnoreReads(3, c.ignoredRead, false);
        EXPECT_EQ(Heard().size(), c.frames);
        EXPECT_EQ(windows.singleRefreshes, c.refreshes);
        // Continue: one dialog, the link and the window stay.
        ASSERT_EQ(Kinds(), (Texts{"monitor"}));
        EXPECT_EQ(prompts.shown[0].text, "Communication error!!\nStation: 003");
        EXPECT_EQ(prompts.shown[0].caption, "Monitor Message");
        EXPECT_EQ(app.linkedFlag, 1);
        EXPECT_EQ(engine.Window(), MonitorWindowKind::Single);
        EXPECT_EQ(app.busyFlag, 0);
    }
}

TEST_F(MonitorSingle, AbortAfterALostStationClosesTheLinkAndTheWindow) {
    drive->SetSilent(3, true);
    engine.PollCycle();  // Continue
    EXPECT_EQ(Kinds(), (Texts{"monitor"}));
    EXPECT_TRUE(port.IsOpen());
    prompts.monitorAnswers = {false};
    engine.PollCycle();
    EXPECT_EQ(Kinds(), (Texts{"monitor", "monitor"}));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(windows.singleCloses, 1);
    EXPECT_EQ(engine.Window(), MonitorWindowKind::None);
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_GE(host.statusRefreshes, 1);
    // Nothing is polled any more.
    drive->ClearFramesHeard();
    engine.Tick();
    EXPECT_TRUE(Heard().empty());
}

TEST_F(MonitorSingle, AGarbledReplyShowsCheckSumErrorNotTheMonitorDialog) {
    drive->SetBadLrc(3, true);
    engine.PollCycle();
    EXPECT_EQ(Boxes(prompts), (Texts{"Communication Message: Check Sum Error !!"}));
    EXPECT_EQ(Heard().size(), 3u);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(engine.Window(), MonitorWindowKind::Single);
}

TEST_F(MonitorSingle, TicksPollOnlyWhileLinkedIdleAndMonitoring) {
    app.busyFlag = 1;
    engine.Tick();
    EXPECT_TRUE(Heard().empty());
    app.busyFlag = 0;
    engine.Tick();
    EXPECT_EQ(Heard(), kStation3Cycle);
    EXPECT_EQ(app.busyFlag, 0);
    engine.WindowClosed();
    drive->ClearFramesHeard();
    engine.Tick();
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(app.monitoringFlag, 0);
}

TEST_F(MonitorSingle, TheObserverSeesOneSamplePerCycleWhenValuesAndStatusCame) {
    std::vector<int> seen;
    engine.SetStationObserver([&](int station, const StationRecord&) { seen.push_back(station); });
    engine.PollCycle();
    drive->SetIgnoreReads(3, 0x0000, true);  // the parameter poll fails: still a sample
    engine.PollCycle();
    drive->SetIgnoreReads(3, 0x0000, false);
    drive->SetIgnoreReads(3, 0x00EF, true);  // the status poll fails: none
    engine.PollCycle();
    EXPECT_EQ(seen, (std::vector<int>{3, 3}));
}

// ------------------------------------------------------------------ commands

TEST_F(MonitorSingle, RunThenReverseGoInOneWriteOnTopOfTheWordRead) {
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(3, 0x00E6, 0x0040)), kNormalReply);  // S2 on
    drive->ClearFramesHeard();
    int hooks = 0;
    engine.SetPostHook([&] { ++hooks; });
    engine.PressButton(3, MonitorButton::Run);
    engine.PressButton(3, MonitorButton::Reverse);
    EXPECT_EQ(hooks, 2);
    EXPECT_TRUE(Heard().empty());  // posted, not run
    ASSERT_TRUE(engine.RunNextPosted());
    EXPECT_EQ(Heard(), (Frames{":030300E6000113", ":030600E60043CE"}));
    // The second message finds nothing pending and writes back what it read.
    drive->ClearFramesHeard();
    ASSERT_TRUE(engine.RunNextPosted());
    EXPECT_EQ(Heard(), (Frames{":030300E6000113", ":030600E60043CE"}));
    EXPECT_FALSE(engine.RunNextPosted());
    EXPECT_EQ(app.busyFlag, 0);

    // STOP after RUN and FWD after REV: the later press wins.
    engine.PressButton(3, MonitorButton::Run);
    engine.PressButton(3, MonitorButton::Stop);
    engine.PressButton(3, MonitorButton::Forward);
    engine.PressButton(3, MonitorButton::FaultReset);
    drive->ClearFramesHeard();
    engine.RunPostedCommands();
    EXPECT_EQ(Heard().at(1), ":030600E60048C9");  // S2 and the fault-reset bit; run and reverse cleared
}

TEST_F(MonitorSingle, ATerminalToggleFollowsTheStateTheDriveReported) {
    ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(3, 0x00E6, 0x0020)), kNormalReply);  // S1 on
    // Not polled yet: the table says S1 is off, so the toggle sets bit 5.
    engine.PressButton(3, MonitorButton::S1);
    drive->ClearFramesHeard();
    engine.RunPostedCommands();
    EXPECT_EQ(Heard().at(1), ":030600E60020F1");
    // Polled: S1 reported on, so the toggle clears bit 5.
    engine.PollCycle();
    ASSERT_EQ(engine.Table()[3].Terminal(Terminal::S1), 1);
    engine.PressButton(3, MonitorButton::S1);
    drive->ClearFramesHeard();
    engine.RunPostedCommands();
    EXPECT_EQ(Heard().at(1), ":030600E6000011");
    // RY1 (bit 12) and AIN (bit 11) from off: both set in one write.
    engine.PollCycle();
    engine.PressButton(3, MonitorButton::RY1);
    engine.PressButton(3, MonitorButton::AIN);
    drive->ClearFramesHeard();
    ASSERT_TRUE(engine.RunNextPosted());
    EXPECT_EQ(Heard().at(1), ":030600E61800F9");
    engine.RunPostedCommands();
    engine.PollCycle();
    EXPECT_EQ(engine.Table()[3].Terminal(Terminal::RY1), 1);
    EXPECT_EQ(engine.Table()[3].Terminal(Terminal::AIN), 1);
}

TEST_F(MonitorSingle, AFailedControlWordReadWritesNothingAndKeepsTheRequests) {
    drive->SetIgnoreReads(3, 0x00E6, true);
    engine.PressButton(3, MonitorButton::Run);
    engine.RunPostedCommands();
    EXPECT_EQ(Heard(), (Frames(3, ":030300E6000113")));
    EXPECT_EQ(Kinds(), (Texts{"monitor"}));
    EXPECT_EQ(engine.Table()[3].runRequest, 1);
    drive->SetIgnoreReads(3, 0x00E6, false);
    engine.PressButton(3, MonitorButton::Reverse);
    drive->ClearFramesHeard();
    ASSERT_TRUE(engine.RunNextPosted());
    EXPECT_EQ(Heard(), (Frames{":030300E6000113", ":030600E600030E"}));
    EXPECT_EQ(engine.Table()[3].runRequest, 0);
}

TEST_F(MonitorSingle, FrequencyLimitsBeforeTheFirstLimitsPoll) {
    int hooks = 0;
    engine.SetPostHook([&] { ++hooks; });
    const SetOutcome refused = engine.SetFrequencyText(3, "5.01");
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(Boxes(prompts), (Texts{"Error Message: Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 5.00 Hz"}));
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
    EXPECT_EQ(hooks, 0);
    EXPECT_EQ(app.busyFlag, 0);
    const SetOutcome accepted = engine.SetFrequencyText(3, "5.00");
    EXPECT_TRUE(accepted.accepted);
    EXPECT_EQ(accepted.text, "005.00");
    EXPECT_EQ(hooks, 1);
    engine.RunPostedCommands();
    EXPECT_EQ(Heard(), (Frames{":030600E701F41B"}));
    // After the limits poll the drive's own limits apply.
    engine.PollCycle();
    EXPECT_TRUE(engine.SetFrequencyText(3, "50").accepted);
    EXPECT_EQ(engine.Table()[3].freqCommand, 5000);
}

TEST_F(MonitorSingle, SetDataChecksThenWritesTheSelectedParameter) {
    engine.SelectFunction(3, 52);
    EXPECT_FALSE(engine.SetDataText(3, "15").accepted);
    EXPECT_EQ(Boxes(prompts), (Texts{"Error Message: Over Range !!\n\nCode: F52\n\nRange Value: 0, 10, 20"}));
    EXPECT_EQ(engine.PostedCount(), 0u);
    const SetOutcome reset = engine.SetDataText(3, "10");
    EXPECT_TRUE(reset.accepted);
    EXPECT_EQ(reset.text, "10");
    engine.RunPostedCommands();
    EXPECT_EQ(Heard(), (Frames{":0310002B000102000AB5"}));
    // F53 is read-only: any value is sent, and the drive's refusal is shown.
    prompts.shown.clear();
    engine.SelectFunction(3, 53);
    EXPECT_TRUE(engine.SetDataText(3, "99").accepted);
    engine.RunPostedCommands();
    EXPECT_EQ(Boxes(prompts), (Texts{"Error Message: Write Mode Error !"}));
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(MonitorSingle, ButtonsAreIgnoredWhileBusyAndCommandsNeedTheLink) {
    app.busyFlag = 1;
    engine.PressButton(3, MonitorButton::Run);
    EXPECT_TRUE(engine.SetFrequencyText(3, "1").ignored);
    EXPECT_TRUE(engine.SetDataText(3, "1").ignored);
    EXPECT_EQ(engine.PostedCount(), 0u);
    EXPECT_EQ(engine.Table()[3].runRequest, 0);
    engine.SelectFunction(3, 7);  // the list still reacts
    EXPECT_EQ(engine.Table()[3].SelectedNumber(), 7);
    app.busyFlag = 0;

    engine.HandleCommand(9, 3);  // unknown wParam: ignored
    EXPECT_TRUE(Heard().empty());
    app.linkedFlag = 0;
    for (int w : {1, 2, 3}) engine.HandleCommand(w, 3);
    EXPECT_EQ(Boxes(prompts), (Texts(3, "Communication Message: KOLT Not Link With PC !!")));
    EXPECT_TRUE(Heard().empty());
}

// ------------------------------------------------------------------ all stations

class MonitorAll : public MonitorBench {
protected:
    void SetUp() override {
        StartLinked({1, 3, 5, 9}, 1);
        // Station 2 stays silent: two echo calls.
        ASSERT_TRUE(engine.StartAll({1, 2, 3, 5}));
        prompts.shown.clear();
        drive->ClearFramesHeard();
    }
    static Frames Cycle(int station) {
        switch (station) {
        case 1: return {":010300080002F2", ":010300F2000901", ":010300EF00030A", ":010300000001FB"};
        case 3: return kStation3Cycle;
        case 5: return {":050300080002EE", ":050300F20009FD", ":050300EF000306", ":050300000001F7"};
        default: return {};
        }
    }
    static Frames Join(std::initializer_list<Frames> parts) {
        Frames out;
        for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    }
};

TEST_F(MonitorAll, TheEchoScanMarksTheStationsThatAnswer) {
    EXPECT_EQ(prompts.progressTexts, (Texts{"Station_001 ... ... ...", "Station_002 ... ... ...",
                                            "Station_003 ... ... ...", "Station_005 ... ... ..."}));
    EXPECT_TRUE(prompts.progressCancellable);
    EXPECT_EQ(prompts.progressHigh, 4);
    EXPECT_EQ(prompts.progressSteps, 4);
    EXPECT_EQ(prompts.progressCloses, 1);
    for (int s = 1; s <= 9; ++s)
        EXPECT_EQ(engine.Table()[s].monitored, (s == 1 || s == 3 || s == 5) ? 1 : 0) << s;
    EXPECT_EQ(app.currentStation, 5);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(app.monitoringFlag, 1);
    EXPECT_EQ(windows.openedPage, 0);
    EXPECT_EQ(windows.allRefreshes, 1);
}

TEST_F(MonitorAll, ACyclePollsTheMonitoredStationsOfThePage) {
    engine.PollCycle();
    EXPECT_EQ(Heard(), Join({Cycle(1), Cycle(3), Cycle(5)}));
    EXPECT_EQ(windows.allRefreshes, 1 + 9);
    // Page 1 (stations 6..10): station 9 answers but was never marked.
    windows.page = 1;
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_TRUE(Heard().empty());
}

TEST_F(MonitorAll, ALimitsPollFailureEndsThePageALaterFailureDoesNot) {
    drive->SetIgnoreReads(1, 0x0008, true);
    engine.PollCycle();
    EXPECT_EQ(Heard(), (Frames(3, ":010300080002F2")));
    drive->SetIgnoreReads(1, 0x0008, false);

    drive->SetIgnoreReads(1, 0x00F2, true);
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_EQ(Heard(), Join({{Cycle(1)[0]}, Frames(3, Cycle(1)[1]), Cycle(3), Cycle(5)}));
    EXPECT_EQ(Kinds(), (Texts{"monitor", "monitor"}));
    EXPECT_EQ(prompts.shown[1].text, "Communication error!!\nStation: 001");
}

TEST_F(MonitorAll, AbortGivesUpThePanelStationAndKeepsTheLink) {
    drive->SetSilent(3, true);
    prompts.monitorAnswers = {false};
    engine.PollCycle();
    EXPECT_EQ(windows.clearedPanels, (std::vector<int>{3}));
    EXPECT_EQ(engine.Table()[3].monitored, 0);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(engine.Window(), MonitorWindowKind::All);
    EXPECT_EQ(windows.singleCloses, 0);
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_EQ(Heard(), Join({Cycle(1), Cycle(5)}));
    // "Link" on the panel again: polled at the next tick.
    engine.Table()[3].monitored = 1;
    drive->SetSilent(3, false);
    drive->ClearFramesHeard();
    engine.PollCycle();
    EXPECT_EQ(Heard(), Join({Cycle(1), Cycle(3), Cycle(5)}));
}

TEST_F(MonitorAll, AWindowClosedUnderTheErrorDialogEndsTheCycle) {
    drive->SetIgnoreReads(1, 0x00F2, true);
    prompts.onMonitorError = [&] { engine.WindowClosed(); };
    engine.PollCycle();
    EXPECT_EQ(Heard(), Join({{Cycle(1)[0]}, Frames(3, Cycle(1)[1])}));
    EXPECT_EQ(windows.allRefreshes, 1);
}

TEST_F(MonitorBench, Page50PollsStations251To254AndNever255) {
    StartLinked({251, 252, 254}, 251);
    ASSERT_TRUE(engine.StartAll({251, 252, 254}));
    EXPECT_EQ(windows.openedPage, 50);
    engine.Table()[252].monitored = 0;  // "Unlink" on its panel
    drive->ClearFramesHeard();
    engine.PollCycle();
    const Frames frames = Heard();
    ASSERT_EQ(frames.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(frames[i].substr(0, 3), ":FB");
    for (std::size_t i = 4; i < 8; ++i) EXPECT_EQ(frames[i].substr(0, 3), ":FE");
    EXPECT_EQ(frames[0], ":FB0300080002F8");
}

TEST_F(MonitorBench, AStationAnsweringOnlyTheSecondEchoIsMonitored) {
    StartLinked({4}, 4);
    drive->SetIgnoreNext(1);
    ASSERT_TRUE(engine.StartAll({4}));
    EXPECT_EQ(Heard(), (Frames{":04080000A53718", ":04080000A53718"}));
    EXPECT_EQ(engine.Table()[4].monitored, 1);
    EXPECT_EQ(windows.openedPage, 0);
}

TEST_F(MonitorBench, CancelOpensNoWindowAndKeepsTheFlagsSoFar) {
    StartLinked({1, 3}, 1);
    // Each station pumps twice before, twice after its echo and twice at the
    // end: Cancel at the first pump of the second station.
    prompts.onPump = [&](int n) {
        if (n == 7) app.cancelFlag = 1;
    };
    EXPECT_FALSE(engine.StartAll({1, 3}));
    EXPECT_EQ(windows.allOpens, 0);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_EQ(engine.Table()[1].monitored, 1);
    EXPECT_EQ(engine.Table()[3].monitored, 0);
    EXPECT_EQ(Heard(), (Frames{":01080000A5371B"}));
    EXPECT_EQ(engine.Window(), MonitorWindowKind::None);
}

TEST_F(MonitorBench, NoStationAnsweringOpensOnTheListsPageOrPageZero) {
    StartLinked({1}, 1);
    ASSERT_TRUE(engine.StartAll({}));  // separators only: nothing is sent
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(windows.openedPage, 0);
    engine.WindowClosed();
    ASSERT_TRUE(engine.StartAll({12}));
    EXPECT_EQ(windows.openedPage, 2);
}

}  // namespace
