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
#include <QLineSeries>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

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

    void Start(std::vector<int> stations) {
        StartDrive(std::move(stations));
        MakeLinkedFrame(false);
        monitor = std::make_unique<CMonitorCommands>(app, link->Context());
        monitor->Install(*frame);
        frame->show();
    }

    void LinkTo(const QString& stations) {
        LinkWithText(stations);
        ASSERT_EQ(app.linkedFlag, 1);
    }
    void Unlink() {
        WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
        frame->RunCommand(cmd::kLink);
    }
    // The Monitor command with "Single Station:" at `station`, or with "All Station:" and `range`.
    void MonitorSingle(int station) {
        WhenModal<CMonitorDialog>([station](CMonitorDialog* d) {
            d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(station - 1);
            d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        frame->RunCommand(cmd::kMonitor);
    }
    void MonitorAll(const QString& range) {
        WhenModal<CMonitorDialog>([range](CMonitorDialog* d) {
            d->findChild<QRadioButton*>("allRadio")->click();
            d->findChild<QLineEdit*>("rangeEdit")->setText(range);
            d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        frame->RunCommand(cmd::kMonitor);
    }
    std::uint16_t ControlWord(int station) {
        std::uint16_t w = 0;
        drive->WithStation(station, [&](sim::VirtualStation& s) { w = s.ControlWord(); });
        return w;
    }
    std::uint16_t FrequencyCommand(int station) {
        std::uint16_t f = 0;
        drive->WithStation(station, [&](sim::VirtualStation& s) { f = s.FrequencyCommand(); });
        return f;
    }
    static QString Field(CMonitorPanel* p, const char* name) { return p->Field(name)->text(); }
};

TEST_F(MonitorGuiTest, SingleStationWatchesRunsAndClosesOnUnlink) {
    Start({1, 3});
    EXPECT_FALSE(Enabled(cmd::kMonitor));
    LinkTo("3");
    EXPECT_TRUE(Enabled(cmd::kMonitor));

    MonitorSingle(3);
    CMonSingleDialog* w = monitor->SingleWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Station: 003");
    EXPECT_EQ(app.monitoringFlag, 1);
    EXPECT_EQ(app.currentStation, 3);
    CMonitorPanel* p = w->Panel();

    // The limits poll brings the drive's F07 (the reset limit is 5.00 Hz).
    const std::int32_t f07 = drive->ParamValue(3, 7);
    ASSERT_GT(f07, 500);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->Engine().Table()[3].freqUpper == f07; }, kWaitMs));

    // A frequency above the reset limit, then RUN and REV before the command runs.
    QTest::keyClicks(p->FrequencyInput(), "12.5");
    p->Button("freqSet")->click();
    EXPECT_EQ(p->FrequencyInput()->text(), "012.50");
    ASSERT_TRUE(QTest::qWaitFor([&] { return FrequencyCommand(3) == 1250; }, kWaitMs));
    p->Button("run")->click();
    p->Button("rev")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return (ControlWord(3) & 0x3) == 0x3; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(p, "runState") == "RUN" && Field(p, "setFreq") == "012.50"; },
                                kWaitMs));
    EXPECT_EQ(Field(p, "direction"), "<< REV");
    EXPECT_EQ(fake.shown.size(), 0u);

    // While the window is open the command does nothing (no second dialog).
    frame->RunCommand(cmd::kMonitor);
    EXPECT_EQ(monitor->SingleWindow(), w);

    // Unlink closes the window; the ticks stop polling.
    QPointer<CMonSingleDialog> guard(w);
    Unlink();
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_EQ(monitor->SingleWindow(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, kWaitMs));
}

TEST_F(MonitorGuiTest, LostSingleStationAbortClosesTheLinkAndTheWindow) {
    Start({2});
    LinkTo("2");
    MonitorSingle(2);
    ASSERT_NE(monitor->SingleWindow(), nullptr);
    fake.monitorAnswers = {false};
    drive->SetSilent(2, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->SingleWindow() == nullptr; }, kWaitMs));
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    EXPECT_FALSE(Enabled(cmd::kMonitor));
}

TEST_F(MonitorGuiTest, AllStationsOpensOnTheAnsweringStationsAndGivesUpALinkedSilentOne) {
    Start({7, 9});
    LinkTo("7");
    MonitorAll("6-10");
    CMonMultiDialog* w = monitor->MultiWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Page(), 1);  // stations 6..10
    EXPECT_EQ(fake.progressTexts.front(), "Station_006 ... ... ...");
    CMonitorPanel* p7 = w->Panel(1);
    CMonitorPanel* p8 = w->Panel(2);
    EXPECT_TRUE(p7->IsActive());
    EXPECT_FALSE(p8->IsActive());
    EXPECT_TRUE(w->Panel(3)->IsActive());

    drive->WithStation(9, [](sim::VirtualStation& s) { s.SetFault(24); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(w->Panel(3), "fault") == " ER2"; }, kWaitMs));
    EXPECT_EQ(Field(p7, "fault"), "");

    // Station 8 does not answer: Link brings the error at the next tick, Abort unlinks it.
    fake.monitorAnswers = {false};
    p8->Button("link")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p8->IsActive(); }, kWaitMs));
    EXPECT_EQ(monitor->Engine().Table()[8].monitored, 0);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(p8->Lamp(0)->state(), CLamp::State::Unmonitored);

    w->close();
    EXPECT_EQ(app.monitoringFlag, 0);
    EXPECT_EQ(monitor->MultiWindow(), nullptr);
}

// The samples of a station's record whose output frequency has risen: one
// above 0 and a later one above that.
bool RecordedRise(const CTrendRecorder& trend, int station) {
    const TrendRing* ring = trend.Ring(station);
    if (!ring) return false;
    std::uint16_t lowest = 0;
    for (std::size_t i = 0; i < ring->Size(); ++i) {
        const std::uint16_t f = ring->At(i).outFreq;
        if (lowest > 0 && f > lowest) return true;
        if (f > 0 && (lowest == 0 || f < lowest)) lowest = f;
    }
    return false;
}

double LastY(const QLineSeries* series) { return series->count() ? series->points().back().y() : -1; }

TEST_F(MonitorGuiTest, TrendWindowDrawsTheRecordOfARunningDrive) {
    Start({2});
    LinkTo("2");
    MonitorSingle(2);
    CMonSingleDialog* w = monitor->SingleWindow();
    ASSERT_NE(w, nullptr);
    CMonitorPanel* p = w->Panel();
    p->Button("trend")->click();
    CTrendWindow* t = monitor->TrendWindow(2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->windowTitle(), "Trend - Station: 002");
    p->Button("trend")->click();  // raises the same window
    EXPECT_EQ(monitor->TrendWindow(2), t);

    const std::int32_t f07 = drive->ParamValue(2, 7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->Engine().Table()[2].freqUpper == f07; }, kWaitMs));
    QTest::keyClicks(p->FrequencyInput(), "20");
    p->Button("freqSet")->click();
    p->Button("run")->click();
    const CTrendRecorder& trend = monitor->Engine().Trend();
    ASSERT_TRUE(QTest::qWaitFor([&] { return RecordedRise(trend, 2); }, kWaitMs));

    // The view shows it: a rising output frequency, the set frequency of 20 Hz, the RUN mark.
    QLineSeries* out = t->Series(TrendQuantity::OutFreq);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastY(out) > 0 && t->Plot()->Marks().size() == 1; }, kWaitMs));
    EXPECT_EQ(t->Plot()->Marks()[0].label, "RUN");
    EXPECT_DOUBLE_EQ(LastY(t->Series(TrendQuantity::SetFreq)), 20.0);
    EXPECT_TRUE(t->ValuesLabel()->text().contains("Set freq. 20.00 Hz")) << t->ValuesLabel()->text().toStdString();

    // Pause freezes the picture while the record grows; Resume catches up.
    t->PauseButton()->click();
    EXPECT_TRUE(t->Paused());
    EXPECT_EQ(t->PauseButton()->text(), "&Resume");
    const qreal frozen = out->points().back().x();
    const std::uint64_t pushed = trend.Ring(2)->Pushed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return trend.Ring(2)->Pushed() >= pushed + 2; }, kWaitMs));
    EXPECT_FALSE(t->Update());
    EXPECT_EQ(out->points().back().x(), frozen);
    t->PauseButton()->click();
    EXPECT_GT(out->points().back().x(), frozen);

    // The record stays with its window after the monitor closes.
    w->close();
    EXPECT_EQ(monitor->TrendWindow(2), t);
    EXPECT_GE(trend.Ring(2)->Pushed(), pushed + 2);
}

TEST_F(MonitorGuiTest, WindowsFollowTheOpenDocumentsStationTitles) {
    Start({4});
    LinkTo("4");
    MonitorSingle(4);
    CMonSingleDialog* w = monitor->SingleWindow();
    ASSERT_NE(w, nullptr);
    CMarbenDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(w->windowTitle(), "Station: 004-");
    doc->stationTitles[3] = "Boiler feed";
    emit frame->stationTitlesChanged();
    EXPECT_EQ(w->windowTitle(), "Station: 004-Boiler feed");
    frame->CloseDocumentWindow();
    EXPECT_EQ(w->windowTitle(), "Station: 004");
}

}  // namespace
}  // namespace kolt::testing
