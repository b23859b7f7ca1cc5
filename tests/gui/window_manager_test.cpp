// Keyboard focus and stacking as a desktop's window manager decides them.
// ctest runs these through under_window_manager.sh (a display of their own
// with openbox managing it); anywhere else they are skipped. Every wait is
// for the window manager's state (the active window, the focus widget).
#include "app/ui/monitor_commands.h"
#include "drive_frame_fixture.h"
#include "link/ui/read_para_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/ui/monitor_dialog.h"
#include "monitor/ui/trend_window.h"
#include "view/ui/find_goto_dialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace kolt::testing {
namespace {

constexpr int kWaitMs = 10000;

bool IsActive(QWidget* w) {
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, kWaitMs);
}
bool HasKeyboard(QWidget* w) {
    return QTest::qWaitFor([w] { return QApplication::focusWidget() == w && w->window()->isActiveWindow(); }, kWaitMs);
}
void PressOk(QWidget* d) {
    d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
}

class WindowManagerTest : public DriveFrameTest {
protected:
    std::unique_ptr<CMonitorCommands> monitor;

    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || qEnvironmentVariableIsEmpty("KOLT_TEST_WM"))
            GTEST_SKIP() << "needs a window manager: ctest runs it through under_window_manager.sh";
    }
    void TearDown() override {
        frame.reset();
        monitor.reset();
        DriveFrameTest::TearDown();
    }
    void ShowFrame() {
        frame->resize(1000, 700);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(IsActive(frame.get()));
    }
    // Once the next box holds the keyboard: its owner goes to `owner`, OK is pressed.
    static void PressOkInBox(QWidget** owner) {
        WhenModal<QMessageBox>([owner](QMessageBox* box) {
            *owner = box->parentWidget();
            EXPECT_TRUE(IsActive(box)) << box->text().toStdString();
            box->button(QMessageBox::Ok)->click();
        });
    }
};

TEST_F(WindowManagerTest, FindAndTheLinkDialogKeepTheKeyboardAfterABox) {
    MakeFrame(ParameterViewFactory(app, prompts));
    ShowFrame();
    frame->ShowDocument(CreateNewDocument(app));
    qobject_cast<CMarbenView*>(frame->View())->OnEditFind();
    auto* find = frame->findChild<CFindGotoDialog*>();
    ASSERT_NE(find, nullptr);
    auto* text = find->findChild<QLineEdit*>("findText");
    ASSERT_TRUE(HasKeyboard(text));
    text->setText("no such words");
    QWidget* owner = nullptr;
    PressOkInBox(&owner);
    find->findChild<QPushButton*>("findNextButton")->click();  // the search runs from the event loop
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner != nullptr; }, kWaitMs));
    EXPECT_EQ(owner, find);
    EXPECT_TRUE(HasKeyboard(text));

    // A box raised while a dialog of the program is up sits over the dialog.
    find->hide();
    CLinkDialog dialog(app, frame.get());
    owner = nullptr;
    WhenModal<CLinkDialog>([&](CLinkDialog* d) {
        QWidget* stations = d->findChild<QLineEdit*>("stationEdit");
        EXPECT_TRUE(HasKeyboard(stations));
        PressOkInBox(&owner);
        prompts.Message("COM Port already opened!", "Communication Message", Icon::Information);
        EXPECT_EQ(owner, d);
        EXPECT_TRUE(HasKeyboard(stations));
        d->reject();
    });
    dialog.exec();
}

TEST_F(WindowManagerTest, ProgressMonitorAndTrendWindowsAreSeenAndKeepTheKeyboard) {
    StartDrive({1});
    MakeLinkedFrame(true, &prompts);  // every message in a Qt window
    monitor = std::make_unique<CMonitorCommands>(app, *link);
    monitor->Install(*frame);
    ShowFrame();
    LinkWithText("1");
    ASSERT_EQ(app.linkedFlag, 1);
    // The read blocks the event loop between its steps; what the screen shows
    // where the progress window stands must be the progress window itself.
    frame->ShowDocument(CreateNewDocument(app));
    QImage seen, drawn;
    WhenModal<CReadParaDialog>(PressOk);
    QTimer::singleShot(0, [&] {
        const auto atStep = [](QWidget* w) {
            auto* text = w->findChild<QLabel*>("progressText");
            return text && !text->text().isEmpty();
        };
        WhenModalMatches(atStep, [&](QWidget* w) {
            const QRect r = w->geometry();
            seen = w->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
            drawn = w->grab().toImage();
        }, "the progress window at a step");
    });
    frame->RunCommand(cmd::kRead);
    ASSERT_FALSE(seen.isNull());
    EXPECT_EQ(seen.convertToFormat(QImage::Format_RGB32), drawn.convertToFormat(QImage::Format_RGB32));

    WhenModal<CMonitorDialog>(PressOk);
    frame->RunCommand(cmd::kMonitor);  // the monitor window
    auto* window = frame->findChild<CMonSingleDialog*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsActive(window));
    auto* polled = window->findChild<QLineEdit*>("setFreq");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !polled->text().isEmpty(); }, kWaitMs));

    // "Over Range !!", then the keyboard is back in the field to be mended.
    auto* input = window->findChild<QLineEdit*>("freqInput");
    input->setFocus();
    ASSERT_TRUE(HasKeyboard(input));
    input->setText("700");
    QWidget* owner = nullptr;
    PressOkInBox(&owner);
    window->findChild<QPushButton*>("freqSet")->click();
    EXPECT_EQ(owner, window);
    EXPECT_TRUE(HasKeyboard(input));

    // The trend window's file dialog is its own: cancelled, the trend window is in front.
    window->findChild<QPushButton*>("trend")->click();
    auto* trend = frame->findChild<CTrendWindow*>();
    ASSERT_NE(trend, nullptr);
    ASSERT_TRUE(IsActive(trend));
    owner = nullptr;
    WhenModal<QFileDialog>([&owner](QFileDialog* d) {
        owner = d->parentWidget();
        d->reject();
    });
    trend->findChild<QPushButton*>("saveCsv")->click();
    EXPECT_EQ(owner, trend);
    EXPECT_TRUE(IsActive(trend));
}

// The pointer leaves the cut-off cell in one jump, to a widget beside the
// grid; or it stays, and another window comes up over it.
TEST_F(WindowManagerTest, TitleTipGoesWithThePointerOrTheWindow) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new QLabel(QStringLiteral("toolbar"));
    bar->setMinimumHeight(40);
    auto* grid = new CGridCtrl;
    layout->addWidget(bar);
    layout->addWidget(grid);
    grid->SetColumnCount(2);
    grid->SetRowCount(3);
    grid->SetItemText(1, 0, QStringLiteral("a text far too long for its narrow column"));
    grid->SetColumnWidthPx(0, 80);
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(IsActive(&window));
    const QPoint cell = grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(0, 0)).center());
    for (const bool jump : {true, false}) {
        QCursor::setPos(cell);
        ASSERT_TRUE(QTest::qWaitFor([&] { return grid->TitleTip()->isVisible(); }, kWaitMs)) << jump;
        QDialog other(&window);
        if (jump)
            QCursor::setPos(bar->mapToGlobal(bar->rect().center()));
        else
            other.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !grid->TitleTip()->isVisible(); }, kWaitMs)) << jump;
        other.hide();
        window.activateWindow();
        ASSERT_TRUE(IsActive(&window));
    }
}

}  // namespace
}  // namespace kolt::testing
