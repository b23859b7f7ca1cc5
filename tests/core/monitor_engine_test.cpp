// The monitor engine against the virtual drive: starts, poll cycles, the
// three commands and what a lost or garbled station does.
#include "monitor_test_support.h"

#include "monitor/monitor_texts.h"

using namespace kolt;
using namespace kolt::testing;

namespace {

using Frames = std::vector<std::string>;

// Request frames, written out: each station's four polls with F00 selected.
const Frames kCycle1 = {":010300080002F2", ":010300F2000901", ":010300EF00030A", ":010300000001FB"};
const Frames kCycle3 = {":030300080002F0", ":030300F20009FF", ":030300EF000308", ":030300000001F9"};
const Frames kCycle5 = {":050300080002EE", ":050300F20009FD", ":050300EF000306", ":050300000001F7"};
const std::string kReadControlWord3 = ":030300E6000113";

Frames Join(std::initializer_list<Frames> parts) {
    Frames out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

class MonitorSingle : public MonitorBench {
protected:
    void SetUp() override {
        StartLinked({3, 4}, 3);
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
    EXPECT_EQ(std::tuple(app.currentStation, app.softwareVersion, app.currentModel), std::tuple(3, 12, 3));
    // The table starts over, F00 of the station holding the capacity code.
    EXPECT_EQ(std::tuple(Flags(), windows.openedStation, windows.singleRefreshes, engine.Table()[3].freqUpper,
                         engine.Table()[3].paramValues[0][0], engine.MonitorMayStart()),
              std::tuple("linked monitoring single", 3, 1, 500, 3, false));
}

TEST_F(MonitorBench, SingleStartFailuresOpenNothing) {
    StartLinked({1}, 1);
    // A station that does not answer: "TIME-OUT !!" after three calls.
    EXPECT_FALSE(engine.StartSingle(2));
    EXPECT_EQ(std::tuple(Boxes(prompts), Heard().size(), windows.singleOpens),
              std::tuple(Texts{"Communication Message: TIME-OUT !!"}, 3u, 0));
    // The window cannot be made: no monitoring.
    windows.allowOpen = false;
    EXPECT_FALSE(engine.StartSingle(1));
    EXPECT_EQ(Flags(), "linked");
    // Not linked: the message and no frame.
    app.linkedFlag = 0;
    drive->ClearFramesHeard();
    prompts.shown.clear();
    EXPECT_FALSE(engine.StartSingle(1));
    EXPECT_EQ(std::tuple(Boxes(prompts), Heard()), std::tuple(Texts{"Communication Message: KOLT Not Link With PC !!"}, Frames{}));
}

TEST_F(MonitorSingle, ACyclePollsLimitsValuesStatusParameterAndRefreshesThrice) {
    drive->SetParamValue(3, 7, 6000);
    drive->SetParamValue(3, 8, 150);
    drive->SetFault(3, 24);
    engine.PollCycle();
    EXPECT_EQ(Heard(), kCycle3);
    const StationRecord& r = engine.Table()[3];
    EXPECT_EQ(std::tuple(r.freqUpper, r.freqLower, r.faultCode, r.paramValues[0][0]), std::tuple(6000, 150, 24, 3));
    EXPECT_EQ(std::tuple(windows.singleRefreshes, prompts.shown.size()), std::tuple(1 + 3, 0u));
    // The next cycle reads the parameter chosen in "Fun. no.": C10 at position
    // 65 (register 0x006E), F01 at position 1 (one decimal).
    for (auto [position, number, value, frame, text] :
         {std::tuple{65, 110, 1, ":0303006E00018B", "1"}, {1, 1, 125, ":030300010001F8", "12.5"}}) {
        engine.SelectFunction(3, position);
        drive->SetParamValue(3, number, value);
        EXPECT_EQ(Cycle().back(), frame);
        EXPECT_EQ(engine.FunDataText(3), text);
    }
    EXPECT_EQ(r.paramValues[1][10], 1);
}

TEST_F(MonitorSingle, RepliesAndControlWordsGoToTheReplyingStation) {
    drive->SetReplyAddress(3, 4);
    drive->SetParamValue(3, 7, 6000);
    engine.SelectFunction(4, 7);  // station 4's own selection: F07
    engine.PollCycle();
    // The request asked for station 3's F00 (capacity 3); the value is filed
    // under the replying station's selection.
    EXPECT_EQ(std::tuple(engine.Table()[4].freqUpper, engine.Table()[4].paramValues[0][7], engine.Table()[3].freqUpper,
                         engine.Table()[3].paramValues[0][7]),
              std::tuple(6000, 3, 500, 0));
    // The control word read from 3 comes back from 4: 4's requests go to 4.
    engine.SetRequest(4, MonitorButton::Run);
    engine.PostCommand(MonitorCommand::ControlWord, 3);
    EXPECT_EQ(Run(), (Frames{kReadControlWord3, ":040600E600010F"}));
}

TEST_F(MonitorSingle, AFailedPollEndsTheCycleKeepingTheValuesRead) {
    // The read left unanswered, the frames sent (three calls for it) and the refreshes before it.
    for (auto [ignored, frames, refreshes] :
         {std::tuple{0x0008, 3u, 0}, {0x00F2, 4u, 0}, {0x00EF, 5u, 1}, {0x0000, 6u, 2}}) {
        SCOPED_TRACE(ignored);
        drive->SetIgnoreReads(3, static_cast<std::uint16_t>(ignored), true);
        windows.singleRefreshes = 0;
        prompts.shown.clear();
        EXPECT_EQ(Cycle().size(), frames);
        drive->SetIgnoreReads(3, static_cast<std::uint16_t>(ignored), false);
        // Continue: one dialog, the link and the window stay.
        EXPECT_EQ(std::tuple(windows.singleRefreshes, Boxes(prompts), Flags()),
                  std::tuple(refreshes, Texts{"Monitor Message: Communication error!!\nStation: 003"},
                             "linked monitoring single"));
    }
}

TEST_F(MonitorSingle, AGarbledReplyIsACheckSumErrorALostStationAskedAboutAbortCloses) {
    drive->SetBadLrc(3, true);
    EXPECT_EQ(Cycle().size(), 3u);
    EXPECT_EQ(std::tuple(Boxes(prompts), Flags()),
              std::tuple(Texts{"Communication Message: Check Sum Error !!"}, "linked monitoring single"));
    drive->SetBadLrc(3, false);
    drive->SetSilent(3, true);
    engine.PollCycle();  // Continue
    EXPECT_TRUE(port.IsOpen());
    prompts.monitorAnswers = {false};
    engine.PollCycle();
    EXPECT_EQ(std::tuple(Kinds(), port.IsOpen(), Flags(), windows.singleCloses),
              std::tuple(Texts{"comm", "monitor", "monitor"}, false, "", 1));
    EXPECT_GE(host.statusRefreshes, 1);
    // Nothing is polled any more.
    drive->ClearFramesHeard();
    engine.Tick();
    EXPECT_TRUE(Heard().empty());
}

TEST_F(MonitorSingle, TicksPollOnlyWhileLinkedIdleAndMonitoringAndFeedTheObserver) {
    std::vector<int> seen;
    engine.SetStationObserver([&](int station, const StationRecord&) { seen.push_back(station); });
    app.busyFlag = 1;
    engine.Tick();
    EXPECT_TRUE(Heard().empty());
    app.busyFlag = 0;
    engine.Tick();
    EXPECT_EQ(std::tuple(Heard(), app.busyFlag), std::tuple(kCycle3, 0));
    // A failed parameter poll still gives a sample, a failed status poll none.
    drive->SetIgnoreReads(3, 0x0000, true);
    engine.PollCycle();
    drive->SetIgnoreReads(3, 0x00EF, true);
    engine.PollCycle();
    EXPECT_EQ(seen, (std::vector<int>{3, 3}));
    engine.WindowClosed();
    drive->ClearFramesHeard();
    engine.Tick();
    EXPECT_EQ(std::tuple(Heard(), app.monitoringFlag), std::tuple(Frames{}, 0));
}

// ------------------------------------------------------------------ commands

TEST_F(MonitorSingle, ControlWordRequestsGoInOneWriteOnTopOfTheWordRead) {
    int hooks = 0;
    engine.SetPostHook([&] { ++hooks; });
    using B = MonitorButton;
    const struct {
        std::uint16_t word;  // the drive's control word before
        bool polled;         // the terminals' states read first
        std::vector<MonitorButton> presses;
        const char *write, *later;  // the first message's write; the later ones write back what they read
    } cases[] = {
        {0x0040, false, {B::Run, B::Reverse}, ":030600E60043CE", ":030600E60043CE"},  // S2 kept, run and reverse set
        // The later press wins; the drive drops the fault-reset bit once done.
        {0x0043, false, {B::Run, B::Stop, B::Forward, B::FaultReset}, ":030600E60048C9", ":030600E60040D1"},
        {0x0020, false, {B::S1}, ":030600E60020F1", ""},  // S1 on but not reported yet: set
        {0x0020, true, {B::S1}, ":030600E6000011", ""},   // reported on: cleared
        {0x0000, true, {B::RY1, B::AIN}, ":030600E61800F9", ":030600E61800F9"},  // bits 12 and 11 in one write
    };
    for (const auto& c : cases) {
        ASSERT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(3, 0x00E6, c.word)), kNormalReply);
        if (c.polled) engine.PollCycle();
        hooks = 0;
        for (MonitorButton b : c.presses) engine.PressButton(3, b);
        EXPECT_EQ(hooks, static_cast<int>(c.presses.size()));  // posted, not run
        // One read and one write per message; the first write carries every request.
        const Frames frames = Run();
        ASSERT_EQ(frames.size(), 2 * c.presses.size()) << c.write;
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(frames[i], i % 2 == 0 ? kReadControlWord3 : i == 1 ? c.write : c.later) << c.write;
    }
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(MonitorSingle, AFailedControlWordReadWritesNothingAndKeepsTheRequests) {
    drive->SetIgnoreReads(3, 0x00E6, true);
    engine.PressButton(3, MonitorButton::Run);
    EXPECT_EQ(Run(), (Frames(3, kReadControlWord3)));
    EXPECT_EQ(std::tuple(Kinds(), engine.Table()[3].runRequest), std::tuple(Texts{"monitor"}, 1));
    drive->SetIgnoreReads(3, 0x00E6, false);
    engine.PressButton(3, MonitorButton::Reverse);
    EXPECT_EQ(Run(), (Frames{kReadControlWord3, ":030600E600030E"}));
    EXPECT_EQ(engine.Table()[3].runRequest, 0);
}

TEST_F(MonitorSingle, FrequencyAndSetDataAreCheckedThenWritten) {
    // Before the first limits poll: 0.00 .. 5.00 Hz.
    EXPECT_FALSE(engine.SetFrequencyText(3, "5.01").accepted);
    EXPECT_EQ(std::tuple(Boxes(prompts), prompts.shown[0].icon, engine.PostedCount(), Flags()),
              std::tuple(Texts{"Error Message: Over Range !!\n\nRange Value: \nF08: 0.00 Hz ~ \nF07: 5.00 Hz"},
                         Icon::Information, 0u, "linked monitoring single"));
    const SetOutcome accepted = engine.SetFrequencyText(3, "5.00");
    EXPECT_EQ(std::tuple(accepted.accepted, accepted.text), std::tuple(true, "005.00"));
    EXPECT_EQ(Run(), (Frames{":030600E701F41B"}));
    // After the limits poll the drive's own limits apply.
    engine.PollCycle();
    EXPECT_TRUE(engine.SetFrequencyText(3, "50").accepted);
    EXPECT_EQ(engine.Table()[3].freqCommand, 5000);
    engine.RunPostedCommands();

    prompts.shown.clear();
    engine.SelectFunction(3, 52);
    EXPECT_FALSE(engine.SetDataText(3, "15").accepted);
    EXPECT_EQ(std::tuple(Boxes(prompts), engine.PostedCount()),
              std::tuple(Texts{"Error Message: Over Range !!\n\nCode: F52\n\nRange Value: 0, 10, 20"}, 0u));
    EXPECT_EQ(engine.SetDataText(3, "10").text, "10");
    EXPECT_EQ(Run(), (Frames{":0310002B000102000AB5"}));
    // F53 is read-only: any value is sent, and the drive's refusal is shown.
    prompts.shown.clear();
    engine.SelectFunction(3, 53);
    EXPECT_TRUE(engine.SetDataText(3, "99").accepted);
    engine.RunPostedCommands();
    EXPECT_EQ(std::tuple(Boxes(prompts), app.linkedFlag), std::tuple(Texts{"Error Message: Write Mode Error !"}, 1));
}

TEST_F(MonitorSingle, ButtonsAreIgnoredWhileBusyAndCommandsNeedTheLink) {
    app.busyFlag = 1;
    engine.PressButton(3, MonitorButton::Run);
    EXPECT_TRUE(engine.SetFrequencyText(3, "1").ignored);
    EXPECT_TRUE(engine.SetDataText(3, "1").ignored);
    engine.SelectFunction(3, 7);  // the list still reacts
    EXPECT_EQ(std::tuple(engine.PostedCount(), engine.Table()[3].runRequest, engine.Table()[3].SelectedNumber()),
              std::tuple(0u, 0, 7));
    app.busyFlag = 0;
    engine.HandleCommand(9, 3);  // unknown wParam: ignored
    EXPECT_TRUE(Heard().empty());
    app.linkedFlag = 0;
    for (int w : {1, 2, 3}) engine.HandleCommand(w, 3);
    EXPECT_EQ(std::tuple(Boxes(prompts), Heard()), std::tuple(Texts(3, "Communication Message: KOLT Not Link With PC !!"), Frames{}));
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
};

TEST_F(MonitorAll, TheEchoScanMarksTheStationsThatAnswerAndCyclesPollThemOnTheirPage) {
    EXPECT_EQ(prompts.progressTexts, (Texts{"Station_001 ... ... ...", "Station_002 ... ... ...",
                                            "Station_003 ... ... ...", "Station_005 ... ... ..."}));
    EXPECT_EQ(std::tuple(prompts.progressCancellable, prompts.progressHigh, prompts.progressSteps, prompts.progressCloses,
                         Monitored(), app.currentStation, Flags(), windows.openedPage, windows.allRefreshes),
              std::tuple(true, 4, 4, 1, std::vector<int>{1, 3, 5}, 5, "linked monitoring all", 0, 1));

    EXPECT_EQ(Cycle(), Join({kCycle1, kCycle3, kCycle5}));
    EXPECT_EQ(windows.allRefreshes, 1 + 9);
    // Page 1 (stations 6..10): station 9 answers but was never marked.
    windows.page = 1;
    EXPECT_TRUE(Cycle().empty());
}

TEST_F(MonitorAll, ALimitsPollFailureEndsThePageALaterFailureDoesNot) {
    drive->SetIgnoreReads(1, 0x0008, true);
    EXPECT_EQ(Cycle(), (Frames(3, kCycle1[0])));
    drive->SetIgnoreReads(1, 0x0008, false);
    drive->SetIgnoreReads(1, 0x00F2, true);
    EXPECT_EQ(Cycle(), Join({{kCycle1[0]}, Frames(3, kCycle1[1]), kCycle3, kCycle5}));
    EXPECT_EQ(std::tuple(Kinds(), prompts.shown[1].text),
              std::tuple(Texts{"monitor", "monitor"}, "Communication error!!\nStation: 001"));
    // A window closed under the error dialog ends the cycle.
    prompts.onMonitorError = [&] { engine.WindowClosed(); };
    windows.allRefreshes = 0;
    EXPECT_EQ(Cycle(), Join({{kCycle1[0]}, Frames(3, kCycle1[1])}));
    EXPECT_EQ(windows.allRefreshes, 0);
}

TEST_F(MonitorAll, AbortGivesUpThePanelStationAndKeepsTheLink) {
    drive->SetSilent(3, true);
    prompts.monitorAnswers = {false};
    engine.PollCycle();
    EXPECT_EQ(std::tuple(windows.clearedPanels, Monitored(), Flags(), windows.singleCloses),
              std::tuple(std::vector<int>{3}, std::vector<int>{1, 5}, "linked monitoring all", 0));
    EXPECT_EQ(Cycle(), Join({kCycle1, kCycle5}));
    // "Link" on the panel again: polled at the next tick.
    engine.Table()[3].monitored = 1;
    drive->SetSilent(3, false);
    EXPECT_EQ(Cycle(), Join({kCycle1, kCycle3, kCycle5}));
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
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(frames[i].substr(0, 3), i < 4 ? ":FB" : ":FE");
    EXPECT_EQ(frames[0], ":FB0300080002F8");
}

TEST_F(MonitorBench, ASecondEchoFollowsASilentOrGarbledFirstOne) {
    StartLinked({4}, 4);
    drive->SetIgnoreNext(1);
    ASSERT_TRUE(engine.StartAll({4}));
    EXPECT_EQ(std::tuple(Heard(), Monitored()), std::tuple(Frames(2, ":04080000A53718"), std::vector<int>{4}));
    engine.WindowClosed();
    drive->SetBadLrc(4, true);
    drive->ClearFramesHeard();
    ASSERT_TRUE(engine.StartAll({4}));
    EXPECT_EQ(std::tuple(Heard(), Monitored()), std::tuple(Frames(2, ":04080000A53718"), std::vector<int>{}));
}

TEST_F(MonitorBench, CancelOpensNoWindowAndKeepsTheFlagsSoFar) {
    StartLinked({1, 3}, 1);
    // Each station pumps twice before, twice after its echo and twice at the
    // end: Cancel at the first pump of the second station.
    prompts.onPump = [&](int n) {
        if (n == 7) app.cancelFlag = 1;
    };
    EXPECT_FALSE(engine.StartAll({1, 3}));
    EXPECT_EQ(std::tuple(windows.allOpens, Flags(), Monitored(), Heard()),
              std::tuple(0, "linked", std::vector<int>{1}, Frames{":01080000A5371B"}));
}

TEST_F(MonitorBench, TheWindowOpensOnThePageOfTheFirstAnsweringOrListedStation) {
    StartLinked({5, 10}, 5);
    // 5 and 10 answer, 12 does not; separators only send nothing.
    for (auto [stations, page] : {std::pair{std::vector<int>{5}, 0}, {{10}, 1}, {{10, 5}, 0}, {{12}, 2}, {{}, 0}}) {
        ASSERT_TRUE(engine.StartAll(stations));
        EXPECT_EQ(windows.openedPage, page) << (stations.empty() ? 0 : stations[0]);
        engine.WindowClosed();
    }
}

}  // namespace
