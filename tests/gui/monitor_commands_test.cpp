// The Monitor command end to end: the main window, its link and its monitor
// windows against a virtual drive on a pseudo-terminal that COM1 resolves to.
// Every wait is for a state the test steers (a value the window shows, a
// register the drive holds), never for a time.
#include "app/ui/monitor_commands.h"
#include "drive_frame_fixture.h"
#include "monitor/ui/lamp.h"
#include "monitor/ui/mon_multi_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/ui/monitor_dialog.h"
#include "monitor/ui/monitor_panel.h"
#include "monitor/ui/trend_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace kolt::testing {
namespace {

constexpr int kWaitMs = 8000;

class MonitorGuiTest : public DriveFrameTest {
protected:
    std::unique_ptr<CMonitorCommands> monitor;

    void TearDown() override {
        frame.reset();
        monitor.reset();
        DriveFrameTest::TearDown();
    }
    // The frame linked to `linkTo` among the drive's stations.
    void StartLinked(std::vector<int> stations, const QString& linkTo) {
        StartDrive(std::move(stations));
        MakeLinkedFrame(false);
        monitor = std::make_unique<CMonitorCommands>(app, *link);
        monitor->Install(*frame);
        frame->show();
        EXPECT_FALSE(Enabled(cmd::kMonitor));
        LinkWithText(linkTo);
        ASSERT_EQ(app.linkedFlag, 1);
        EXPECT_TRUE(Enabled(cmd::kMonitor));
    }
    // The Monitor command with "Single Station:" at `station`, or with "All Station:" and `range`.
    void Monitor(int station, const QString& range = {}) {
        WhenModal<CMonitorDialog>([station, range](CMonitorDialog* d) {
            if (range.isEmpty()) {
                d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(station - 1);
            } else {
                d->findChild<QRadioButton*>("allRadio")->click();
                d->findChild<QLineEdit*>("rangeEdit")->setText(range);
            }
            d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        frame->RunCommand(cmd::kMonitor);
    }
    std::uint16_t Register(int station, bool controlWord) {
        std::uint16_t v = 0;
        drive->WithStation(station,
                           [&](sim::VirtualStation& s) { v = controlWord ? s.ControlWord() : s.FrequencyCommand(); });
        return v;
    }
    // Waits until the limits poll has brought the drive's F07 (the reset limit is 5.00 Hz).
    void WaitForLimits(int station) {
        const std::int32_t f07 = drive->ParamValue(station, 7);
        ASSERT_GT(f07, 500);
        ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->Engine().Table()[station].freqUpper == f07; }, kWaitMs));
    }
    static QString Field(CMonitorPanel* p, const char* name) { return p->Field(name)->text(); }
    // The single-station monitor of a station that has just gone silent: its
    // cycle has asked and waits on the line for a reply that will not come.
    void WaitOnASilentStation() {
        StartLinked({2}, "2");
        Monitor(2);
        ASSERT_NE(monitor->SingleWindow(), nullptr);
        drive->SetSilent(2, true);
        drive->ClearFramesHeard();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !drive->FramesHeard().empty(); }, kWaitMs));
        ASSERT_TRUE(monitor->CycleInFlight());
    }
    bool MonitorErrorShown() const {
        return std::any_of(fake.shown.begin(), fake.shown.end(), [](const Shown& m) { return m.kind == "monitor"; });
    }
};

double LastY(const QLineSeries* series) { return series->count() ? series->points().back().y() : -1; }

TEST_F(MonitorGuiTest, SingleStationWatchesRunsTrendsFollowsTitlesAndClosesOnUnlink) {
    StartLinked({1, 3}, "3");
    Monitor(3);
    CMonSingleDialog* w = monitor->SingleWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(std::tuple(w->windowTitle(), app.monitoringFlag, app.currentStation), std::tuple("Station: 003", 1, 3));
    CMonitorPanel* p = w->Panel();
    p->Button("trend")->click();
    CTrendWindow* t = monitor->TrendWindow(3);
    ASSERT_NE(t, nullptr);
    p->Button("trend")->click();  // raises the same window
    EXPECT_EQ(std::tuple(t->windowTitle(), monitor->TrendWindow(3)), std::tuple("Trend - Station: 003", t));

    // A frequency above the reset limit, then RUN: the drive runs, the trend
    // shows a rising output frequency, the set frequency and the RUN mark.
    WaitForLimits(3);
    QTest::keyClicks(p->FrequencyInput(), "12.5");
    p->Button("freqSet")->click();
    EXPECT_EQ(p->FrequencyInput()->text(), "012.50");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Register(3, false) == 1250; }, kWaitMs));
    p->Button("run")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(p, "runState") == "RUN" && Field(p, "setFreq") == "012.50"; },
                                kWaitMs));
    QLineSeries* out = t->Series(TrendQuantity::OutFreq);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastY(out) > 0 && t->Plot()->Marks().size() == 1; }, kWaitMs));
    EXPECT_EQ(std::tuple(t->Plot()->Marks()[0].label, LastY(t->Series(TrendQuantity::SetFreq))), std::tuple("RUN", 12.5));
    EXPECT_TRUE(t->ValuesLabel()->text().contains("Set freq. 12.50 Hz")) << t->ValuesLabel()->text().toStdString();
    p->Button("rev")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(p, "direction") == "<< REV"; }, kWaitMs));
    EXPECT_EQ(std::tuple(Register(3, true) & 0x3, fake.shown.size()), std::tuple(0x3, 0u));
    // Pause freezes the picture while the record grows; Resume catches up.
    const CTrendRecorder& trend = monitor->Engine().Trend();
    t->PauseButton()->click();
    EXPECT_EQ(std::tuple(t->Paused(), t->PauseButton()->text()), std::tuple(true, "&Resume"));
    const qreal frozen = out->points().back().x();
    const std::uint64_t pushed = trend.Ring(3)->Pushed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return trend.Ring(3)->Pushed() >= pushed + 2; }, kWaitMs));
    EXPECT_FALSE(t->Update());
    EXPECT_EQ(out->points().back().x(), frozen);
    t->PauseButton()->click();
    EXPECT_GT(out->points().back().x(), frozen);

    // The title follows the open document's station title.
    CMarbenDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(w->windowTitle(), "Station: 003-");
    doc->stationTitles[2] = "Boiler feed";
    emit frame->stationTitlesChanged();
    EXPECT_EQ(w->windowTitle(), "Station: 003-Boiler feed");
    frame->CloseDocumentWindow();
    EXPECT_EQ(w->windowTitle(), "Station: 003");

    // While the window is open the command does nothing (no second dialog).
    frame->RunCommand(cmd::kMonitor);
    EXPECT_EQ(monitor->SingleWindow(), w);
    // Unlink closes the window; the ticks stop polling; the trend keeps its record.
    QPointer<CMonSingleDialog> guard(w);
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(std::tuple(app.monitoringFlag, monitor->SingleWindow()), std::tuple(0, nullptr));
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, kWaitMs));
    EXPECT_EQ(monitor->TrendWindow(3), t);
    EXPECT_GE(trend.Ring(3)->Pushed(), pushed + 2);
}

TEST_F(MonitorGuiTest, LostSingleStationAbortClosesTheLinkAndTheWindow) {
    StartLinked({2}, "2");
    Monitor(2);
    ASSERT_NE(monitor->SingleWindow(), nullptr);
    fake.monitorAnswers = {false};
    drive->SetSilent(2, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->SingleWindow() == nullptr; }, kWaitMs));
    EXPECT_EQ(std::tuple(app.linkedFlag + app.monitoringFlag, link->Port().IsOpen(), Enabled(cmd::kMonitor)),
              std::tuple(0, false, false));
}

TEST_F(MonitorGuiTest, AllStationsOpensOnTheAnsweringStationsAndGivesUpALinkedSilentOne) {
    StartLinked({7, 9}, "7");
    Monitor(0, "6-10");
    CMonMultiDialog* w = monitor->MultiWindow();
    ASSERT_NE(w, nullptr);
    CMonitorPanel* p7 = w->Panel(1);
    CMonitorPanel* p8 = w->Panel(2);
    // Page 1: stations 6..10.
    EXPECT_EQ(std::tuple(w->Page(), fake.progressTexts.front(), p7->IsActive(), p8->IsActive(), w->Panel(3)->IsActive()),
              std::tuple(1, "Station_006 ... ... ...", true, false, true));
    drive->WithStation(9, [](sim::VirtualStation& s) { s.SetFault(24); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(w->Panel(3), "fault") == " ER2"; }, kWaitMs));
    EXPECT_EQ(Field(p7, "fault"), "");

    // Station 8 does not answer: Link brings the error at the next tick, Abort unlinks it.
    fake.monitorAnswers = {false};
    p8->Button("link")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p8->IsActive(); }, kWaitMs));
    EXPECT_EQ(std::tuple(monitor->Engine().Table()[8].monitored, app.linkedFlag, p8->Lamp(0)->state()),
              std::tuple(0, 1, CLamp::State::Unmonitored));
    w->close();
    EXPECT_EQ(std::tuple(app.monitoringFlag, monitor->MultiWindow()), std::tuple(0, nullptr));
}

TEST_F(MonitorGuiTest, RunAndSetMadeDuringAnAllStationCycleGoOutRightAfterIt) {
    StartLinked({1, 2}, "1");
    Monitor(0, "1-2");
    CMonMultiDialog* w = monitor->MultiWindow();
    ASSERT_NE(w, nullptr);
    WaitForLimits(1);
    drive->SetDelayMs(60);  // a cycle of eight polls now takes about half a second
    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor->CycleInFlight(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->CycleInFlight(); }, kWaitMs));
    drive->ClearFramesHeard();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !drive->FramesHeard().empty(); }, kWaitMs));
    CMonitorPanel* p = w->Panel(0);
    p->Button("run")->click();
    QTest::keyClicks(p->FrequencyInput(), "3");
    p->Button("freqSet")->click();
    ASSERT_TRUE(monitor->CycleInFlight());  // both were made while the cycle ran
    // Control word read, RUN written, then 3.00 Hz: in the order made, and
    // before any poll of a later cycle.
    const std::vector<std::string> sent = {":010300E6000115", ":010600E6000112", ":010600E7012CE5"};
    std::vector<std::string> heard;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        heard = drive->FramesHeard();
        return std::search(heard.begin(), heard.end(), sent.begin(), sent.end()) != heard.end();
    }, kWaitMs));
    EXPECT_LE(std::search(heard.begin(), heard.end(), sent.begin(), sent.end()) - heard.begin(), 8);
    EXPECT_EQ(std::pair(Register(1, true) & 0x1, static_cast<int>(Register(1, false))), std::pair(1, 300));
    EXPECT_EQ(fake.shown.size(), 0u);
}

// The window, the link or the program going while the cycle waits on a silent
// station ends that wait: no monitor error is asked and nothing hangs.
TEST_F(MonitorGuiTest, ClosingTheWindowDuringASilentStationsPollEndsTheCycle) {
    WaitOnASilentStation();
    monitor->SingleWindow()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor->CycleInFlight() && !link->Bus().Busy(); }, kWaitMs));
    EXPECT_FALSE(MonitorErrorShown());
    EXPECT_EQ(app.linkedFlag * 10 + app.monitoringFlag, 10);  // linked, not monitoring
}

TEST_F(MonitorGuiTest, UnlinkDuringASilentStationsPollEndsTheCycle) {
    WaitOnASilentStation();
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(std::tuple(MonitorErrorShown(), app.linkedFlag + app.monitoringFlag, monitor->SingleWindow()),
              std::tuple(false, 0, nullptr));
}

TEST_F(MonitorGuiTest, ExitDuringASilentStationsPollEndsTheProgramCleanly) {
    WaitOnASilentStation();
    frame->RunCommand(cmd::kAppExit);
    monitor.reset();
    link.reset();  // the bus thread joined, the port closed
    EXPECT_FALSE(MonitorErrorShown());
}

}  // namespace
}  // namespace kolt::testing
