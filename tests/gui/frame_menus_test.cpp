// The main frame's menus, toolbar, command enabling, status panes and monitor timer.
#include "frame_fixture.h"

#include <QTimer>
#include <QToolBar>

#include <tuple>

namespace kolt::testing {
namespace {

TEST_F(FrameTest, MenusFollowTheDocument) {
    EXPECT_EQ(Entries("fileMenu"),
              (QStringList{"&New...\tCtrl+N", "&Open...\tCtrl+O", "Co&mpare", "Recent File", "E&xit"}));
    EXPECT_FALSE(Entries("operationMenu").contains("&Write...\tCtrl+W"));
    NewDocument();
    EXPECT_EQ(Entries("fileMenu").size(), 11);
    EXPECT_EQ(Entries("operationMenu"),
              (QStringList{"&Link...", "&Read...\tCtrl+R", "&Write...\tCtrl+W", "&Monitor...", "Online &Edit"}));
    EXPECT_EQ(frame->windowTitle(), "KOLT Quendal 1.2");  // the maximised document leaves it alone
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "Untitled");
    // Ctrl+W belongs to Write, not to the document window's own menu.
    for (QAction* a : frame->DocumentWindow()->systemMenu()->actions())
        EXPECT_FALSE(a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W))) << a->text().toStdString();
    frame->RunCommand(cmd::kFileClose);  // not modified: no question
    EXPECT_EQ(Entries("fileMenu").size(), 5);

    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->actions().contains(frame->Action(cmd::kWrite)));  // so it shares the enabling
}

// The rules themselves are the core's (frame rules tests); here, that the frame
// asks them, and what it adds: no handler, no command.
TEST_F(FrameTest, EnablingFollowsTheState) {
    int runs = 0;
    for (int id : {cmd::kLink, cmd::kRead, cmd::kWrite}) frame->SetCommandHandler(id, [&runs] { ++runs; });
    EXPECT_EQ(std::make_tuple(Enabled(cmd::kLink), Enabled(cmd::kRead)), std::make_tuple(true, false));
    app.linkedFlag = 1;
    NewDocument();
    frame->Document()->compareMode = 2;
    frame->UpdateCommandUi();
    EXPECT_EQ(std::make_tuple(Enabled(cmd::kRead), Enabled(cmd::kWrite)), std::make_tuple(true, false));
    app.linkedFlag = 0;
    frame->UpdateCommandUi();
    // Commands not built yet stay off rather than doing nothing.
    for (int id : {cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kGoTo, cmd::kStationTitle, cmd::kCompareFileFile})
        EXPECT_FALSE(Enabled(id)) << id;
    // A disabled command does nothing even when asked for directly.
    frame->RunCommand(cmd::kRead);
    EXPECT_EQ(runs, 0);
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(runs, 1);
    // Opening a menu refreshes its entries after a change behind the frame's back.
    app.linkedFlag = 1;
    emit frame->menuBar()->findChild<QMenu*>(QStringLiteral("operationMenu"))->aboutToShow();
    EXPECT_TRUE(Enabled(cmd::kRead));
}

// The pane texts are the frame rules tests'; here, that the frame shows them and refreshes them.
TEST_F(FrameTest, StatusPanes) {
    const auto panes = [&] { return QStringList{Pane(1), Pane(2), Pane(3), Pane(4)}; };
    app.linkedFlag = 1;
    app.softwareVersion = 12;
    app.currentStation = 7;
    app.currentModel = 7;
    frame->Action(cmd::kOnlineEdit)->trigger();  // the toggle refreshes the panes
    EXPECT_EQ(app.settings.onlineEdit, 1);
    EXPECT_EQ(panes(), (QStringList{"Ver: 1.2", "Linking  007", "Model: D200-2.2", "Online Edit"}));
}

TEST_F(FrameTest, TimerPollsOnlyWhileMonitoringALinkedStationAndNotBusy) {
    EXPECT_EQ(frame->MonitorTimer()->interval(), 400);
    int polls = 0, ticks = 0;
    bool busyDuringPoll = false;
    frame->SetPollCycle([&] { ++polls; busyDuringPoll = app.busyFlag != 0; });
    QObject::connect(frame->MonitorTimer(), &QTimer::timeout, [&] { ++ticks; });
    for (int monitoring : {0, 1}) {  // linked but no monitor window; then a dialog up
        app.linkedFlag = 1;
        app.monitoringFlag = monitoring;
        app.busyFlag = monitoring;
        ticks = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
        EXPECT_EQ(polls, 0);
    }
    app.busyFlag = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls >= 1; }, 5000));
    EXPECT_TRUE(busyDuringPoll);  // held up while the cycle runs
    EXPECT_EQ(app.busyFlag, 0);
}

}  // namespace
}  // namespace kolt::testing
