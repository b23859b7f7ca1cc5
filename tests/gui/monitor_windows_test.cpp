// The monitor windows on their own: what they show from the station monitor
// table, what their buttons ask of the engine, the all-station paging rules,
// Link/Unlink of a panel, and the monitor error dialog. No drive is needed:
// the engine's port stays closed and its posted commands are only counted.
#include "app/ui/qt_prompts.h"
#include "core/fake_prompts.h"
#include "core/link_test_support.h"
#include "dialogs_helpers.h"
#include "link/modbus_port.h"
#include "monitor/monitor_engine.h"
#include "monitor/ui/lamp.h"
#include "monitor/ui/mon_error_dialog.h"
#include "monitor/ui/mon_multi_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/ui/monitor_dialog.h"
#include "monitor/ui/monitor_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <memory>

namespace kolt::testing {
namespace {

class MonitorWindowTest : public ::testing::Test {
protected:
    CMarbenApp app;
    FakePrompts fake;
    CModbusPort port{&fake};
    FakeDocumentHost host{app};
    LinkContext ctx{app, port, fake, host};
    CUndrawnMonitorWindows windows;  // the dialogs under test are made by the tests themselves
    CMonitorEngine engine{ctx, windows};
    int posts = 0;

    void SetUp() override { engine.SetPostHook([this] { ++posts; }); }

    StationRecord& Rec(int s) { return engine.Table()[s]; }
};

QString Text(CMonitorPanel* p, const char* field) { return p->Field(field)->text(); }

// ---------------------------------------------------------------- single window

TEST_F(MonitorWindowTest, SingleWindowShowsTheStationsRecord) {
    CMonSingleDialog w(engine, app.busyFlag, 7, {});
    EXPECT_EQ(w.windowTitle(), "Station: 007");
    StationRecord& r = Rec(7);
    r.setFreq = 5000;
    r.outFreq = 2500;
    r.outVolt = 2300;
    r.outAmp = 100;
    r.busVolt = 3110;
    r.faultCode = 11;
    r.running = 1;
    r.reverse = 1;
    r.terminals = {1, 0, 0, 0, 1, 0};
    w.Refresh();

    CMonitorPanel* p = w.Panel();
    EXPECT_EQ(Text(p, "runState"), "RUN");
    EXPECT_EQ(Text(p, "direction"), "<< REV");
    EXPECT_EQ(Text(p, "setFreq"), "050.00");
    EXPECT_EQ(Text(p, "outputFreq"), "025.00");
    EXPECT_EQ(Text(p, "outputVolt"), "230.0");
    EXPECT_EQ(Text(p, "outputAmp"), "010.0");
    EXPECT_EQ(Text(p, "outputPower"), "230.00");
    EXPECT_EQ(Text(p, "busVolt"), "311.0");
    EXPECT_EQ(Text(p, "fault"), " E.S.");
    const bool expected[6] = {true, false, false, false, true, false};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p->TerminalCheck(i)->isChecked(), expected[i]) << i;
        EXPECT_EQ(p->Lamp(i)->state(), expected[i] ? CLamp::State::On : CLamp::State::Off) << i;
    }

    // A stopped drive going forward without a fault, and "Fun. data" of F01 (one decimal).
    r.running = 0;
    r.reverse = 0;
    r.faultCode = 12;
    r.paramValues[0][1] = 100;
    p->FunctionList()->setCurrentIndex(1);
    w.Refresh();
    EXPECT_EQ(Text(p, "runState"), "STOP");
    EXPECT_EQ(Text(p, "direction"), "FWD >>");
    EXPECT_EQ(Text(p, "fault"), "");
    EXPECT_EQ(Text(p, "funData"), "10.0");
    EXPECT_EQ(r.functionGroup * 100 + r.functionIndex, 1);
}

TEST_F(MonitorWindowTest, SingleWindowOpensOnF00WithTheCodesAndNoPendingRequests) {
    Rec(3).runRequest = 1;
    Rec(9).toggleRequests[5] = 1;
    CMonSingleDialog w(engine, app.busyFlag, 9, {});
    QComboBox* list = w.Panel()->FunctionList();
    ASSERT_EQ(list->count(), 111);
    EXPECT_EQ(list->itemText(0), "F00");
    EXPECT_EQ(list->itemText(54), "F54");
    EXPECT_EQ(list->itemText(55), "C00");
    EXPECT_EQ(list->itemText(110), "C55");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(Rec(3).runRequest, 0);
    EXPECT_EQ(Rec(9).toggleRequests[5], 0);
    EXPECT_EQ(w.Panel()->FrequencyInput()->maxLength(), 6);
}

TEST_F(MonitorWindowTest, SingleWindowButtonsSetRequestsAndPostControlWordCommands) {
    CMonSingleDialog w(engine, app.busyFlag, 4, {});
    CMonitorPanel* p = w.Panel();
    p->Button("run")->click();
    p->Button("rev")->click();
    EXPECT_EQ(Rec(4).runRequest, 1);
    EXPECT_EQ(Rec(4).reverseRequest, 1);
    EXPECT_EQ(Rec(4).forwardRequest, 0);
    p->Button("stop")->click();
    EXPECT_EQ(Rec(4).runRequest, 0);
    EXPECT_EQ(Rec(4).stopRequest, 1);
    p->Button("faultReset")->click();
    EXPECT_EQ(Rec(4).faultResetRequest, 1);
    p->TerminalCheck(5)->click();  // RY1
    EXPECT_EQ(Rec(4).toggleRequests[5], 1);
    EXPECT_EQ(posts, 5);
    EXPECT_EQ(engine.PostedCount(), 5u);

    // While a message or a command holds the busy flag the buttons do nothing,
    // and a check button keeps the state the drive reported.
    app.busyFlag = 1;
    p->Button("fwd")->click();
    p->TerminalCheck(0)->click();
    EXPECT_EQ(Rec(4).forwardRequest, 0);
    EXPECT_EQ(Rec(4).toggleRequests[0], 0);
    EXPECT_FALSE(p->TerminalCheck(0)->isChecked());
    EXPECT_EQ(posts, 5);
}

TEST_F(MonitorWindowTest, SingleWindowFrequencyFieldTypesChecksAndPosts) {
    CMonSingleDialog w(engine, app.busyFlag, 2, {});
    w.show();
    QLineEdit* f = w.Panel()->FrequencyInput();
    // Three digits before the point, two after, one point.
    QTest::keyClicks(f, "1234");
    EXPECT_EQ(f->text(), "123");
    f->clear();
    QTest::keyClicks(f, "5.0.17");
    EXPECT_EQ(f->text(), "5.01");

    // Limits never read: 0.00 .. 5.00 Hz, so 5.01 is refused and nothing is sent.
    w.Panel()->Button("freqSet")->click();
    EXPECT_EQ(fake.shown.size(), 1u);
    EXPECT_EQ(f->selectedText(), "5.01");
    EXPECT_EQ(posts, 0);

    f->clear();
    QTest::keyClicks(f, "5");
    w.Panel()->Button("freqSet")->click();
    EXPECT_EQ(f->text(), "005.00");
    EXPECT_EQ(Rec(2).freqCommand, 500);
    EXPECT_EQ(posts, 1);
}

TEST_F(MonitorWindowTest, SingleWindowSetDataFollowsTheSelectedParameter) {
    CMonSingleDialog w(engine, app.busyFlag, 2, {});
    w.show();
    CMonitorPanel* p = w.Panel();
    p->FunctionList()->setCurrentIndex(52);  // F52: 0, 10 or 20 only
    QLineEdit* d = p->SetDataInput();
    QTest::keyClicks(d, "15");
    p->Button("setDataSet")->click();
    EXPECT_EQ(fake.shown.size(), 1u);
    EXPECT_EQ(d->selectedText(), "15");
    EXPECT_EQ(posts, 0);
    d->clear();
    QTest::keyClicks(d, "10");
    p->Button("setDataSet")->click();
    EXPECT_EQ(Rec(2).setData[0][52], 10);
    EXPECT_EQ(posts, 1);

    // Another parameter clears the field.
    p->FunctionList()->setCurrentIndex(60);  // C05
    EXPECT_EQ(d->text(), "");
    EXPECT_EQ(Rec(2).functionGroup, 1);
    EXPECT_EQ(Rec(2).functionIndex, 5);
}

TEST_F(MonitorWindowTest, SingleWindowIgnoresEnterAndClosesWithExit) {
    app.monitoringFlag = 1;
    auto* w = new CMonSingleDialog(engine, app.busyFlag, 2, {});
    QPointer<CMonSingleDialog> guard(w);
    w->show();
    QTest::keyClick(w->Panel()->FrequencyInput(), Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_Enter);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(posts, 0);
    int closed = 0;
    QObject::connect(w, &CMonSingleDialog::closed, [&] { ++closed; });
    w->findChild<QPushButton*>("exit")->click();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(app.monitoringFlag, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

// ---------------------------------------------------------------- all-station window

class MultiWindowTest : public MonitorWindowTest {
protected:
    std::unique_ptr<CMonMultiDialog> w;
    void Open(int page) {
        w = std::make_unique<CMonMultiDialog>(engine, app.busyFlag, page, StationTitleSource{});
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
    }
    CMonitorPanel* P(int k) { return w->Panel(k - 1); }
    QString Label(int k) { return P(k)->findChild<QLineEdit*>("stationLabel")->text(); }
    void Wheel(int delta) {
        QWheelEvent e(QPointF(50, 50), w->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w.get(), &e);
    }
};

TEST_F(MultiWindowTest, PagesStepWithinZeroToFifty) {
    Open(45);
    EXPECT_EQ(w->windowTitle(), "Monitor All Station");
    EXPECT_EQ(w->ScrollBar()->minimum(), 0);
    EXPECT_EQ(w->ScrollBar()->maximum(), 50);
    EXPECT_EQ(w->ScrollBar()->value(), 45);
    EXPECT_EQ(Label(1), "Station: 226");

    QTest::keyClick(w.get(), Qt::Key_PageDown);
    EXPECT_EQ(w->Page(), 50);
    EXPECT_EQ(w->ScrollBar()->value(), 50);
    w->SetPage(3);
    QTest::keyClick(w.get(), Qt::Key_PageUp);
    EXPECT_EQ(w->Page(), 0);

    // One notch toward the user: three pages down; away: back up.
    Wheel(-120);
    EXPECT_EQ(w->Page(), 3);
    Wheel(120);
    EXPECT_EQ(w->Page(), 0);
    // A notch on the bar itself pages the same way.
    QWheelEvent e(QPointF(2, 2), w->ScrollBar()->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, -120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w->ScrollBar(), &e);
    EXPECT_EQ(w->Page(), 3);
    // Over a panel's unfocused "Fun. no." list the wheel pages too and chooses nothing.
    Rec(16).monitored = 1;
    w->SetPage(3);
    QComboBox* list = P(1)->FunctionList();
    QWheelEvent overList(QPointF(2, 2), list->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list, &overList);
    EXPECT_EQ(w->Page(), 0);
    EXPECT_EQ(Rec(16).functionIndex, 0);
    w->SetPage(3);
    // The bar's own steps: a line and a page.
    w->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w->Page(), 4);
    w->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(w->Page(), 14);
}

TEST_F(MultiWindowTest, LastPageHasAnEmptyDisabledFifthPanel) {
    Rec(254).monitored = 1;
    Open(50);
    EXPECT_EQ(Label(1), "Station: 251");
    EXPECT_EQ(Label(4), "Station: 254");
    EXPECT_EQ(Label(5), "");
    EXPECT_FALSE(P(5)->Button("link")->isEnabled());
    EXPECT_FALSE(P(5)->Button("unlink")->isEnabled());
    EXPECT_FALSE(P(5)->Button("run")->isEnabled());
    EXPECT_FALSE(P(5)->IsActive());
    // Station 254 is monitored, 251 is not.
    EXPECT_TRUE(P(4)->IsActive());
    EXPECT_FALSE(P(4)->Button("link")->isEnabled());
    EXPECT_TRUE(P(4)->Button("unlink")->isEnabled());
    EXPECT_TRUE(P(1)->Button("link")->isEnabled());
    EXPECT_FALSE(P(1)->Button("run")->isEnabled());
    EXPECT_EQ(P(1)->FunctionList()->count(), 0);
    EXPECT_EQ(P(4)->FunctionList()->count(), 111);
}

TEST_F(MultiWindowTest, LinkAndUnlinkAPanel) {
    Open(0);
    CMonitorPanel* p = P(2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Lamp(i)->state(), CLamp::State::Unmonitored);

    app.busyFlag = 1;  // a message is open: ignored
    p->Button("link")->click();
    EXPECT_EQ(Rec(2).monitored, 0);
    app.busyFlag = 0;

    p->Button("link")->click();
    EXPECT_EQ(Rec(2).monitored, 1);
    EXPECT_TRUE(p->IsActive());
    EXPECT_FALSE(p->Button("link")->isEnabled());
    EXPECT_TRUE(p->Button("unlink")->isEnabled());
    EXPECT_TRUE(p->Button("run")->isEnabled());
    EXPECT_EQ(p->FunctionList()->count(), 111);
    EXPECT_EQ(posts, 0);  // no frame is sent for a Link

    Rec(2).terminals = {0, 1, 0, 0, 0, 0};
    Rec(2).outVolt = 2300;
    w->Refresh();
    EXPECT_EQ(p->Lamp(0)->state(), CLamp::State::Off);
    EXPECT_EQ(p->Lamp(1)->state(), CLamp::State::On);
    EXPECT_EQ(Text(p, "outputVolt"), "230.0");
    // Panel buttons act on their own station.
    p->Button("run")->click();
    EXPECT_EQ(Rec(2).runRequest, 1);
    EXPECT_EQ(posts, 1);

    p->Button("unlink")->click();
    EXPECT_EQ(Rec(2).monitored, 0);
    EXPECT_FALSE(p->IsActive());
    EXPECT_TRUE(p->Button("link")->isEnabled());
    EXPECT_FALSE(p->Button("unlink")->isEnabled());
    EXPECT_FALSE(p->TerminalCheck(1)->isChecked());
    EXPECT_EQ(Text(p, "outputVolt"), "");
    EXPECT_EQ(p->FunctionList()->count(), 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Lamp(i)->state(), CLamp::State::Unmonitored);
}

TEST_F(MultiWindowTest, FunctionPositionIsRememberedPerStationAcrossPages) {
    Rec(1).monitored = 1;
    Rec(6).monitored = 1;
    Open(0);
    P(1)->FunctionList()->setCurrentIndex(60);  // C05
    w->SetPage(1);
    EXPECT_EQ(P(1)->FunctionList()->currentIndex(), 0);  // station 6: still F00
    P(1)->FunctionList()->setCurrentIndex(7);
    w->SetPage(0);
    EXPECT_EQ(P(1)->FunctionList()->currentText(), "C05");
    EXPECT_EQ(Rec(1).functionGroup * 100 + Rec(1).functionIndex, 105);
    w->SetPage(1);
    EXPECT_EQ(P(1)->FunctionList()->currentText(), "F07");
}

TEST_F(MultiWindowTest, ClearPanelActsOnlyOnTheShownPage) {
    Rec(3).monitored = 1;
    Rec(8).monitored = 1;
    Open(0);
    ASSERT_TRUE(P(3)->IsActive());
    w->ClearPanel(8);  // not on this page
    EXPECT_TRUE(P(3)->IsActive());
    Rec(3).monitored = 0;  // the engine clears the flag first
    w->ClearPanel(3);
    EXPECT_FALSE(P(3)->IsActive());
    EXPECT_TRUE(P(3)->Button("link")->isEnabled());
}

TEST_F(MultiWindowTest, LabelsCarryTheStationTitles) {
    std::array<std::string, 255> titles{};  // by station
    titles[7] = "Conveyor";
    w = std::make_unique<CMonMultiDialog>(engine, app.busyFlag, 1,
                                          [&](int s) { return &titles[static_cast<std::size_t>(s)]; });
    EXPECT_EQ(Label(1), "Station: 006-");
    EXPECT_EQ(Label(2), "Station: 007-Conveyor");
    titles[8] = "Mixer";
    w->Relabel();
    EXPECT_EQ(Label(3), "Station: 008-Mixer");
}

// ---------------------------------------------------------------- start and error dialogs

TEST(MonitorStartDialog, SingleOrRangeOfStations) {
    CMonitorDialog d(17);
    EXPECT_EQ(d.windowTitle(), "Monitor");
    auto* combo = d.findChild<QComboBox*>("stationCombo");
    auto* range = d.findChild<QLineEdit*>("rangeEdit");
    EXPECT_EQ(combo->count(), 254);
    EXPECT_EQ(combo->currentText(), "17");
    EXPECT_EQ(range->text(), "1-254");
    EXPECT_FALSE(range->isEnabled());
    EXPECT_EQ(d.Stations(), std::vector<int>{17});

    d.findChild<QRadioButton*>("allRadio")->click();
    EXPECT_TRUE(range->isEnabled());
    EXPECT_FALSE(combo->isEnabled());
    range->setText("5-,7");
    EXPECT_EQ(d.Stations(), (std::vector<int>{5, 6, 7}));
}

TEST(MonitorErrorDialog, ContinueAbortAndTheCloseBox) {
    CMarbenApp app;
    QtPrompts prompts(app);
    QString shown, title;
    WhenModal<CMonErrorDialog>([&](CMonErrorDialog* d) {
        shown = d->findChild<QLabel*>("messageText")->text();
        title = d->windowTitle();
        EXPECT_EQ(app.busyFlag, 1);
        d->findChild<QPushButton*>("continueButton")->click();
    });
    EXPECT_TRUE(prompts.MonitorError("Communication error!!\nStation: 005"));
    EXPECT_EQ(shown, "Communication error!!\nStation: 005");
    EXPECT_EQ(title, "Monitor Message");
    EXPECT_EQ(app.busyFlag, 0);

    WhenModal<CMonErrorDialog>([](CMonErrorDialog* d) { d->findChild<QPushButton*>("abortButton")->click(); });
    EXPECT_FALSE(prompts.MonitorError("x"));
    // The close box and Escape count as Abort.
    WhenModal<CMonErrorDialog>([](CMonErrorDialog* d) { d->close(); });
    EXPECT_FALSE(prompts.MonitorError("x"));
    WhenModal<CMonErrorDialog>([](CMonErrorDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_FALSE(prompts.MonitorError("x"));
    // Enter takes the default button, Continue.
    WhenModal<CMonErrorDialog>([](CMonErrorDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    EXPECT_TRUE(prompts.MonitorError("x"));
}

}  // namespace
}  // namespace kolt::testing
