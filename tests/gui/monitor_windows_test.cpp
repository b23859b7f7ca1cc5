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

// The colour a field is drawn in, at its right end (its texts are short and sit left).
QColor Drawn(QWidget* w) {
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() - 6, image.height() / 2);
}

// ---------------------------------------------------------------- single window

TEST_F(MonitorWindowTest, SingleWindowButtonsSetRequestsAndPostControlWordCommands) {
    CMonSingleDialog w(engine, app.busyFlag, 4, {});
    CMonitorPanel* p = w.Panel();
    StationRecord& r = Rec(4);
    // Each button and the request it sets (the one it clears is what it set before).
    for (auto [button, request] : {std::pair{"run", &r.runRequest}, {"rev", &r.reverseRequest},
                                   {"stop", &r.stopRequest}, {"fwd", &r.forwardRequest},
                                   {"faultReset", &r.faultResetRequest}}) {
        p->Button(button)->click();
        EXPECT_EQ(*request, 1) << button;
    }
    EXPECT_EQ(r.runRequest + r.reverseRequest, 0);  // cleared by STOP and FWD
    p->TerminalCheck(5)->click();                   // RY1
    EXPECT_EQ(std::tuple(r.toggleRequests[5], posts, engine.PostedCount()), std::tuple(1, 6, 6u));
    // While a message or a command holds the busy flag the buttons do nothing,
    // and a check button keeps the state the drive reported.
    app.busyFlag = 1;
    p->Button("run")->click();
    p->TerminalCheck(0)->click();
    EXPECT_EQ(std::tuple(r.runRequest + r.toggleRequests[0], p->TerminalCheck(0)->isChecked(), posts),
              std::tuple(0, false, 6));
}

TEST_F(MonitorWindowTest, SingleWindowInputFieldsTypeCheckAndPost) {
    CMonSingleDialog w(engine, app.busyFlag, 2, {});
    w.show();
    CMonitorPanel* p = w.Panel();
    QLineEdit* f = p->FrequencyInput();
    // Three digits before the point, two after, one point.
    QTest::keyClicks(f, "1234");
    EXPECT_EQ(f->text(), "123");
    f->clear();
    QTest::keyClicks(f, "5.0.17");
    EXPECT_EQ(f->text(), "5.01");
    // Limits never read: 0.00 .. 5.00 Hz, so 5.01 is refused and nothing is sent.
    p->Button("freqSet")->click();
    EXPECT_EQ(std::tuple(fake.shown.size(), f->selectedText(), posts), std::tuple(1u, "5.01", 0));
    // Typed over the selection: what was typed, in its order.
    QTest::keyClicks(f, "45");
    EXPECT_EQ(f->text(), "45");
    f->selectAll();
    QTest::keyClicks(f, "4");
    p->Button("freqSet")->click();
    EXPECT_EQ(std::tuple(f->text(), Rec(2).freqCommand, posts), std::tuple("004.00", 400, 1));

    p->FunctionList()->setCurrentIndex(52);  // F52: 0, 10 or 20 only
    QLineEdit* d = p->SetDataInput();
    QTest::keyClicks(d, "15");
    p->Button("setDataSet")->click();
    EXPECT_EQ(std::tuple(fake.shown.size(), d->selectedText()), std::tuple(2u, "15"));
    QTest::keyClicks(d, "20");
    p->Button("setDataSet")->click();
    EXPECT_EQ(std::tuple(d->text(), Rec(2).setData[0][52], posts), std::tuple("20", 20, 2));
    // Another parameter clears the field.
    p->FunctionList()->setCurrentIndex(60);  // C05
    EXPECT_EQ(std::tuple(d->text(), Rec(2).SelectedNumber()), std::tuple("", 105));
}

TEST_F(MonitorWindowTest, SingleWindowOpensOnF00IgnoresEnterAndClosesWithExit) {
    app.monitoringFlag = 1;
    Rec(3).runRequest = 1;
    Rec(9).toggleRequests[5] = 1;
    auto* w = new CMonSingleDialog(engine, app.busyFlag, 9, {});
    QPointer<CMonSingleDialog> guard(w);
    w->show();
    EXPECT_EQ(w->windowTitle(), "Station: 009");
    QComboBox* list = w->Panel()->FunctionList();
    ASSERT_EQ(list->count(), 111);
    for (auto [i, code] : {std::pair{0, "F00"}, {54, "F54"}, {55, "C00"}, {110, "C55"}}) EXPECT_EQ(list->itemText(i), code);
    // On F00, no request left pending.
    EXPECT_EQ(std::tuple(list->currentIndex(), Rec(3).runRequest + Rec(9).toggleRequests[5],
                         w->Panel()->FrequencyInput()->maxLength()),
              std::tuple(0, 0, 6));
    QTest::keyClick(w->Panel()->FrequencyInput(), Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_Enter);
    EXPECT_EQ(std::tuple(w->isVisible(), posts), std::tuple(true, 0));
    int closed = 0;
    QObject::connect(w, &CMonSingleDialog::closed, [&] { ++closed; });
    w->findChild<QPushButton*>("exit")->click();
    EXPECT_EQ(std::tuple(closed, app.monitoringFlag), std::tuple(1, 0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

// ---------------------------------------------------------------- all-station window

class MultiWindowTest : public MonitorWindowTest {
protected:
    std::unique_ptr<CMonMultiDialog> w;
    void Open(int page, StationTitleSource titles = {}) {
        w = std::make_unique<CMonMultiDialog>(engine, app.busyFlag, page, std::move(titles));
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
    }
    CMonitorPanel* P(int k) { return w->Panel(k - 1); }
    QLineEdit* Label(int k) { return P(k)->findChild<QLineEdit*>("stationLabel"); }
    // One wheel step over `over` (the window when none): 120 is a notch away from the user.
    void Wheel(int delta, QWidget* over = nullptr) {
        over = over ? over : w.get();
        QWheelEvent e(QPointF(2, 2), over->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(over, &e);
    }
    // The enabled state of Link, Unlink and RUN, and whether the panel is active: e.g. "LUr-".
    std::string Controls(int k) {
        std::string out;
        for (auto [name, c] : {std::pair{"link", 'L'}, {"unlink", 'U'}, {"run", 'R'}})
            out += P(k)->Button(name)->isEnabled() ? c : static_cast<char>(c + 32);
        return out + (P(k)->IsActive() ? "+" : "-");
    }
};

TEST_F(MultiWindowTest, PagesStepWithinZeroToFifty) {
    Open(45);
    EXPECT_EQ(std::tuple(w->windowTitle(), w->ScrollBar()->minimum(), w->ScrollBar()->maximum(),
                         w->ScrollBar()->value(), Label(1)->text()),
              std::tuple("Monitor All Station", 0, 50, 45, "Station: 226"));
    QTest::keyClick(w.get(), Qt::Key_PageDown);
    EXPECT_EQ(std::pair(w->Page(), w->ScrollBar()->value()), std::pair(50, 50));
    w->SetPage(3);
    QTest::keyClick(w.get(), Qt::Key_PageUp);
    EXPECT_EQ(w->Page(), 0);
    // One notch toward the user: three pages down; away: back up; on the bar the same.
    Wheel(-120);
    EXPECT_EQ(w->Page(), 3);
    Wheel(120);
    EXPECT_EQ(w->Page(), 0);
    Wheel(-120, w->ScrollBar());
    EXPECT_EQ(w->Page(), 3);
    // Over a panel's unfocused "Fun. no." list the wheel pages too and chooses nothing.
    Rec(16).monitored = 1;
    w->SetPage(3);
    Wheel(120, P(1)->FunctionList());
    EXPECT_EQ(std::tuple(w->Page(), Rec(16).functionIndex), std::tuple(0, 0));
    // The bar's own steps: a line and a page.
    w->SetPage(3);
    w->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w->Page(), 4);
    w->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(w->Page(), 14);
}

TEST_F(MultiWindowTest, PanelsFollowTheMonitoredFlagsLinkUnlinkAndClear) {
    // Page 50: station 254 monitored, 251 not, and an empty dead fifth panel.
    Rec(254).monitored = 1;
    Open(50);
    EXPECT_EQ(std::tuple(Label(4)->text(), Label(5)->text(), Controls(1) + Controls(4) + Controls(5)),
              std::tuple("Station: 254", "", "Lur-lUR+lur-"));
    EXPECT_EQ(std::pair(P(1)->FunctionList()->count(), P(4)->FunctionList()->count()), std::pair(0, 111));

    w->SetPage(0);
    CMonitorPanel* p = P(2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Lamp(i)->state(), CLamp::State::Unmonitored);
    app.busyFlag = 1;  // a message is open: ignored
    p->Button("link")->click();
    EXPECT_EQ(Controls(2), "Lur-");
    app.busyFlag = 0;
    p->Button("link")->click();  // no frame is sent for a Link
    EXPECT_EQ(std::tuple(Rec(2).monitored, Controls(2), p->FunctionList()->count(), posts), std::tuple(1, "lUR+", 111, 0));
    Rec(2).terminals = {0, 1, 0, 0, 0, 0};
    Rec(2).outVolt = 2300;
    w->Refresh();
    EXPECT_EQ(std::tuple(p->Lamp(0)->state(), p->Lamp(1)->state(), Text(p, "outputVolt")),
              std::tuple(CLamp::State::Off, CLamp::State::On, "230.0"));
    // Panel buttons act on their own station.
    p->Button("run")->click();
    EXPECT_EQ(std::tuple(Rec(2).runRequest, posts), std::tuple(1, 1));
    p->Button("unlink")->click();
    EXPECT_EQ(std::tuple(Rec(2).monitored, Controls(2), p->TerminalCheck(1)->isChecked(), Text(p, "outputVolt"),
                         p->FunctionList()->count()),
              std::tuple(0, "Lur-", false, "", 0));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Lamp(i)->state(), CLamp::State::Unmonitored);

    // The engine's Abort clears the flag, then the panel; one not on the page stays.
    Rec(3).monitored = 1;
    w->SetPage(0);
    w->ClearPanel(8);
    EXPECT_EQ(Controls(3), "lUR+");
    Rec(3).monitored = 0;
    w->ClearPanel(3);
    EXPECT_EQ(Controls(3), "Lur-");
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
    EXPECT_EQ(std::tuple(P(1)->FunctionList()->currentText(), Rec(1).SelectedNumber()), std::tuple("C05", 105));
    w->SetPage(1);
    EXPECT_EQ(P(1)->FunctionList()->currentText(), "F07");
}

TEST_F(MultiWindowTest, LabelsCarryTheStationTitlesNumberFirst) {
    std::array<std::string, 255> titles{};  // by station
    titles[7] = "Conveyor";
    titles[9] = "Main supply fan of the paint shop, north wall, that goes on and on past 64 characters";
    Open(1, [&](int s) { return &titles[static_cast<std::size_t>(s)]; });
    EXPECT_EQ(std::tuple(Label(1)->text(), Label(2)->text()), std::tuple("Station: 006-", "Station: 007-Conveyor"));
    titles[8] = "Mixer";
    w->Relabel();
    EXPECT_EQ(Label(3)->text(), "Station: 008-Mixer");
    // A title too long for the panel: its beginning shows, the whole text is the tip.
    const QString whole = QString::fromStdString("Station: 009-" + titles[9]);
    EXPECT_EQ(std::tuple(Label(4)->text(), Label(4)->cursorPosition(), Label(4)->toolTip()), std::tuple(whole, 0, whole));
}

TEST_F(MultiWindowTest, APanelShowsTheStationsRecordAndMarksATrip) {
    Rec(3).monitored = 1;
    Open(0);
    CMonitorPanel* p = P(3);
    const QColor plain = Drawn(p->Field("fault")), red(255, 0, 0);
    ASSERT_NE(plain, red);
    StationRecord& r = Rec(3);
    r.setFreq = 5000, r.outFreq = 2500, r.outVolt = 2300, r.outAmp = 100, r.busVolt = 3110;
    r.faultCode = 11, r.running = 1, r.reverse = 1;
    r.terminals = {1, 0, 0, 0, 1, 0};
    w->Refresh();
    for (auto [field, text] : {std::pair{"runState", "RUN"}, {"direction", "<< REV"}, {"setFreq", "050.00"},
                               {"outputFreq", "025.00"}, {"outputVolt", "230.0"}, {"outputAmp", "010.0"},
                               {"outputPower", "230.00"}, {"busVolt", "311.0"}, {"fault", " E.S."}})
        EXPECT_EQ(Text(p, field), text) << field;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p->TerminalCheck(i)->isChecked(), i == 0 || i == 4) << i;
        EXPECT_EQ(p->Lamp(i)->state(), i == 0 || i == 4 ? CLamp::State::On : CLamp::State::Off) << i;
    }
    // Tripped: "Error message:" and the station label in red.
    EXPECT_EQ(std::tuple(Drawn(p->Field("fault")), Drawn(Label(3))), std::tuple(red, red));
    // A stopped drive going forward without a named fault, and "Fun. data" of F01 (one decimal).
    r.running = 0, r.reverse = 0, r.faultCode = 12;
    r.paramValues[0][1] = 100;
    p->FunctionList()->setCurrentIndex(1);
    w->Refresh();
    for (auto [field, text] : {std::pair{"runState", "STOP"}, {"direction", "FWD >>"}, {"fault", ""}, {"funData", "10.0"}})
        EXPECT_EQ(Text(p, field), text) << field;
    EXPECT_EQ(std::tuple(Drawn(p->Field("fault")), Drawn(Label(3))), std::tuple(plain, Drawn(Label(2))));
    // Tripped again, then reset; tripped again, then unlinked: no red either way.
    for (bool unlink : {false, true}) {
        r.faultCode = 2;
        w->Refresh();
        EXPECT_EQ(Drawn(p->Field("fault")), red);
        if (unlink) p->Button("unlink")->click();
        else r.faultCode = 0;
        w->Refresh();
        EXPECT_NE(Drawn(p->Field("fault")), red) << unlink;
        EXPECT_EQ(Drawn(Label(3)), Drawn(Label(2))) << unlink;
    }
}

// ---------------------------------------------------------------- start and error dialogs

TEST(MonitorStartDialog, SingleOrRangeOfStations) {
    CMonitorDialog d(17);
    auto* combo = d.findChild<QComboBox*>("stationCombo");
    auto* range = d.findChild<QLineEdit*>("rangeEdit");
    EXPECT_EQ(std::tuple(d.windowTitle(), combo->count(), combo->currentText(), range->text(), range->isEnabled(),
                         d.Stations()),
              std::tuple("Monitor", 254, "17", "1-254", false, std::vector<int>{17}));
    d.findChild<QRadioButton*>("allRadio")->click();
    EXPECT_EQ(std::tuple(range->isEnabled(), combo->isEnabled()), std::tuple(true, false));
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
    EXPECT_EQ(std::tuple(shown, title, app.busyFlag), std::tuple("Communication error!!\nStation: 005", "Monitor Message", 0));
    // Abort, the close box and Escape give Abort; Enter takes the default button, Continue.
    const std::pair<std::function<void(CMonErrorDialog*)>, bool> answers[] = {
        {[](CMonErrorDialog* d) { d->findChild<QPushButton*>("abortButton")->click(); }, false},
        {[](CMonErrorDialog* d) { d->close(); }, false},
        {[](CMonErrorDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, false},
        {[](CMonErrorDialog* d) { QTest::keyClick(d, Qt::Key_Return); }, true},
    };
    for (const auto& [act, result] : answers) {
        WhenModal<CMonErrorDialog>(act);
        EXPECT_EQ(prompts.MonitorError("x"), result);
    }
}

}  // namespace
}  // namespace kolt::testing
