// The Qt prompts, the About box and Help Contents.
#include "app/ui/about_dialog.h"
#include "frame_fixture.h"

#include <QPushButton>

#include <tuple>

namespace kolt::testing {
namespace {

TEST(QtPrompts, MessageWindowsHoldTheBusyFlagAndCarryTheirButtons) {
    CMarbenApp app;
    QtPrompts prompts(app);
    QString title, buttons;
    int busyMeanwhile = -1;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Records the box and presses the button labelled `press`.
    const auto answer = [&](const QString& press) {
        WhenModal<QMessageBox>([&, press](QMessageBox* box) {
            busyMeanwhile = app.busyFlag;
            title = box->windowTitle();
            icon = box->icon();
            buttons.clear();
            QAbstractButton* pressed = box->buttons().first();  // closes the box even with a wrong label
            for (QAbstractButton* b : box->buttons()) {
                buttons += b->text() + ";";
                if (b->text() == press) pressed = b;
            }
            EXPECT_TRUE(buttons.contains(press + ";")) << buttons.toStdString();
            pressed->click();
        });
    };
    answer("&Quit");
    prompts.CommMessage("TIME-OUT !!");
    // The busy flag is up while the window waits, down again after.
    EXPECT_EQ(std::tuple(title, buttons, busyMeanwhile, app.busyFlag), std::tuple("Communication Message", "&Quit;", 1, 0));

    for (const bool pressContinue : {true, false}) {
        answer(pressContinue ? "&Continue" : "&Abort");
        EXPECT_EQ(prompts.ContinueAbort("Continue to Next Station ?"), pressContinue);
        EXPECT_EQ(title, "Write Message");
    }

    answer("&No");
    EXPECT_FALSE(prompts.YesNo("Code: F52\nReset to factory default (50 Hz)?", "Write Message", Icon::Exclamation));
    EXPECT_EQ(icon, QMessageBox::Warning);
}

// Cancel in the progress window is driven end to end in link_commands_test.
TEST(QtPrompts, ProgressCallsAfterCancelAreHarmless) {
    CMarbenApp app;
    QtPrompts prompts(app);
    prompts.ProgressOpen(true);
    ASSERT_NE(prompts.ProgressWindow(), nullptr);
    prompts.ProgressWindow()->findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
    prompts.PumpOne();
    EXPECT_EQ(std::tuple(app.cancelFlag, prompts.ProgressWindow()), std::tuple(1, nullptr));
    prompts.ProgressStep();  // the window has gone: nothing to do, no crash
    prompts.ProgressText("Station_003 ... ... ...");
    prompts.ProgressClose();

    // Closing the window from the program is no Cancel; Esc in it is.
    app.cancelFlag = 0;
    prompts.ProgressOpen(true);
    prompts.ProgressClose();
    prompts.PumpOne();
    EXPECT_EQ(app.cancelFlag, 0);
    prompts.ProgressOpen(true);
    QTest::keyClick(prompts.ProgressWindow(), Qt::Key_Escape);
    prompts.PumpOne();
    EXPECT_EQ(std::tuple(app.cancelFlag, prompts.ProgressWindow()), std::tuple(1, nullptr));
}

// What the About box's link and Help Contents say when there is nothing to open.
TEST_F(FrameTest, AboutLinkAndHelpWithNothingToOpen) {
    CAboutDlg about(prompts, frame.get());
    QUrl opened;
    about.SetOpener([&](const QUrl& url) {
        opened = url;
        return false;  // the desktop could not open it
    });
    QString text;
    AnswerMessageBox(QMessageBox::Ok, &text);
    about.OpenLink();
    EXPECT_EQ(opened.scheme(), "https");
    EXPECT_EQ(text, QString::fromUtf8("提供的超级链接或者制定的文件无法执行"));

    // Help Contents names both places it looked: the installation folder, then
    // share/kolt beside the program's folder (these tests run from build/tests).
    AnswerMessageBox(QMessageBox::Ok, &text);
    frame->RunCommand(cmd::kHelpContents);
    EXPECT_EQ(text, "Not Find Help File!!\n\nLooked in:\n" + dir.path() + "\n" KOLT_TEST_BIN_DIR "/share/kolt");
}

}  // namespace
}  // namespace kolt::testing
