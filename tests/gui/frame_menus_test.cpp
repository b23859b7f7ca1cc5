// The main frame's menus, toolbar, command enabling, status panes and monitor
// timer; the document window always fills the workspace, and the menus' Alt
// mnemonics stay away from a running edit.
#include "app/ui/child_frame.h"
#include "frame_fixture.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QMdiArea>
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
    EXPECT_EQ(Entries("operationMenu"),
              (QStringList{"&Link...", "&Read...\tCtrl+R", "&Write...\tCtrl+W", "&Monitor...", "&Backup Bus...",
                           "Re&store Bus...", "Bus &Drift...", "Online &Edit"}));
    // The maximised document leaves the frame's title alone.
    EXPECT_EQ(std::tuple(Entries("fileMenu").size(), frame->windowTitle(), frame->DocumentWindow()->windowTitle()),
              std::tuple(11, QStringLiteral("KOLT Quendal 1.2"), QStringLiteral("Untitled")));
    // Ctrl+W belongs to Write, not to the document window's own menu.
    for (QAction* a : frame->DocumentWindow()->systemMenu()->actions())
        EXPECT_FALSE(a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W))) << a->text().toStdString();
    frame->RunCommand(cmd::kFileClose);  // not modified: no question
    EXPECT_EQ(Entries("fileMenu").size(), 5);

    // The toolbar's Write is the menu's, so it shares the enabling.
    EXPECT_TRUE(frame->findChild<QToolBar*>(QStringLiteral("toolbar"))->actions().contains(frame->Action(cmd::kWrite)));
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
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(runs, 1);
    // Opening a menu refreshes its entries after a change behind the frame's back.
    app.linkedFlag = 1;
    emit frame->menuBar()->findChild<QMenu*>(QStringLiteral("operationMenu"))->aboutToShow();
    EXPECT_TRUE(Enabled(cmd::kRead));
    // The pane texts are the frame rules tests'; here, that a command refreshes them.
    std::tie(app.softwareVersion, app.currentStation, app.currentModel) = std::tuple(12, 7, 7);
    frame->Action(cmd::kOnlineEdit)->trigger();
    EXPECT_EQ((QStringList{QString::number(app.settings.onlineEdit), Pane(1), Pane(2), Pane(3), Pane(4)}),
              (QStringList{"1", "Ver: 1.2", "Linking  007", "Model: D200-2.2", "Online Edit"}));
}

TEST_F(FrameTest, TimerPollsOnlyWhileMonitoringALinkedStationAndNotBusy) {
    EXPECT_EQ(frame->MonitorTimer()->interval(), 400);
    int polls = 0, ticks = 0;
    bool busyDuringPoll = false;
    frame->SetPollCycle([&] { ++polls; busyDuringPoll = app.busyFlag != 0; });
    QObject::connect(frame->MonitorTimer(), &QTimer::timeout, [&] { ++ticks; });
    app.linkedFlag = 1;  // linked but no monitor window
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    EXPECT_EQ(polls, 0);
    app.monitoringFlag = 1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls >= 1; }, 5000));
    EXPECT_TRUE(busyDuringPoll && app.busyFlag == 0);  // held up while the cycle runs only
}

TEST_F(FrameTest, DocumentWindowCannotBeRestoredToACaptionStrip) {
    frame->resize(900, 700);
    frame->show();
    NewDocument();
    CChildFrame* window = frame->DocumentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
              Qt::WindowCloseButtonHint);

    // Whatever asks it to become a normal window, it goes back to filling the workspace.
    auto* area = frame->findChild<QMdiArea*>();
    window->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }));
    EXPECT_TRUE(window->geometry() == area->viewport()->rect() && qobject_cast<CMarbenView*>(frame->View())->Grid()->height() > 200);
}

TEST_F(FrameTest, AltCombinationsDoNotReachTheMenusWhileACellIsEdited) {
    frame->resize(900, 700);
    frame->show();
    QApplication::setActiveWindow(frame.get());
    CMarbenDoc* doc = NewDocument();
    CParamGrid* grid = qobject_cast<CMarbenView*>(frame->View())->Grid();
    ASSERT_TRUE(grid->EditCell(8, 4, EditStart::Key, QLatin1Char('6')));  // F07
    CInPlaceEdit* editor = grid->Editor();
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_0);
    ASSERT_EQ(editor->text(), "60");

    for (Qt::Key key : {Qt::Key_F, Qt::Key_O, Qt::Key_H, Qt::Key_5}) {
        QTest::keyClick(editor, key, Qt::AltModifier);  // no menu opens, the edit goes on
        ASSERT_EQ(std::tuple(QApplication::activePopupWidget(), grid->Editor(), editor->text()),
                  std::tuple(nullptr, editor, QStringLiteral("60"))) << key;
    }
    // Alt+Backspace is the editor's undo: the last change goes, and a second undo brings it back.
    for (const char* after : {"6", "60"}) {
        QTest::keyClick(editor, Qt::Key_Backspace, Qt::AltModifier);
        EXPECT_EQ(editor->text(), after);
    }
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(doc->values[0][7], 6000);
}

}  // namespace
}  // namespace kolt::testing
