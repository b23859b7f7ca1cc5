// Status panes, the online-edit switch and the monitor timer.
#include "app/command_ids.h"
#include "app/frame_state.h"
#include "frame_fixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

namespace kolt::testing {
namespace {

TEST_F(FrameTest, PanesWithNothingOpen) {
    EXPECT_EQ(Pane(1), "Ver: x.x");
    EXPECT_EQ(Pane(2), "No station linked");
    EXPECT_EQ(Pane(3), "Model: xxxxxxxxxxx");
    EXPECT_EQ(Pane(4), "Offline Edit");
}

TEST_F(FrameTest, PanesWhileLinked) {
    app.linkedFlag = 1;
    app.softwareVersion = 12;
    app.currentStation = 7;
    app.currentModel = 7;
    frame->RefreshStatusPanes();
    EXPECT_EQ(Pane(1), "Ver: 1.2");
    EXPECT_EQ(Pane(2), "Linking  007");
    EXPECT_EQ(Pane(3), "Model: D200-2.2");

    app.currentModel = 11;  // a drive reporting a code without a model
    frame->RefreshStatusPanes();
    EXPECT_EQ(Pane(3), "Model: xxxxxxxxxxx");
}

TEST_F(FrameTest, ModelPaneShowsTheDocumentsModel) {
    app.currentModel = 9;
    NewDocument();
    EXPECT_EQ(Pane(3), "Model: T400-1.5");
    EXPECT_EQ(Pane(1), "Ver: x.x");
}

TEST_F(FrameTest, OnlineEditToggles) {
    EXPECT_FALSE(frame->Action(cmd::kOnlineEdit)->isChecked());
    frame->Action(cmd::kOnlineEdit)->trigger();
    EXPECT_EQ(app.settings.onlineEdit, 1);
    EXPECT_TRUE(frame->Action(cmd::kOnlineEdit)->isChecked());
    EXPECT_EQ(Pane(4), "Online Edit");
    frame->Action(cmd::kOnlineEdit)->trigger();
    EXPECT_EQ(app.settings.onlineEdit, 0);
    EXPECT_FALSE(frame->Action(cmd::kOnlineEdit)->isChecked());
    EXPECT_EQ(Pane(4), "Offline Edit");
}

TEST_F(FrameTest, PaneWidthsAreScreenFractions) {
    const int width = QGuiApplication::primaryScreen()->geometry().width();
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(frame->StatusPane(i)->width(), width * kPaneWidths[i].numerator / kPaneWidths[i].denominator) << i;
    EXPECT_EQ(frame->StatusPane(0)->minimumWidth(), width / 4);
}

TEST_F(FrameTest, TimerPollsOnlyWhileMonitoringALinkedStation) {
    EXPECT_EQ(frame->MonitorTimer()->interval(), 400);
    EXPECT_TRUE(frame->MonitorTimer()->isActive());
    int polls = 0;
    bool busyDuringPoll = false;
    frame->SetPollCycle([&] {
        ++polls;
        busyDuringPoll = app.busyFlag != 0;
    });
    int ticks = 0;
    QObject::connect(frame->MonitorTimer(), &QTimer::timeout, [&] { ++ticks; });

    app.linkedFlag = 1;  // linked, but no monitor window
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    EXPECT_EQ(polls, 0);

    app.monitoringFlag = 1;
    app.busyFlag = 1;  // a dialog is up
    ticks = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    EXPECT_EQ(polls, 0);

    app.busyFlag = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls >= 1; }, 5000));
    EXPECT_TRUE(busyDuringPoll);
    EXPECT_EQ(app.busyFlag, 0);
}

}  // namespace
}  // namespace kolt::testing
