// The Qt prompts, the About box and Help Contents.
#include "app/command_ids.h"
#include "app/ui/about_dialog.h"
#include "frame_fixture.h"

#include <QFile>
#include <QProgressBar>
#include <QPushButton>

namespace kolt::testing {
namespace {

TEST(QtNameFilters, ConvertsBarSeparatedFilters) {
    EXPECT_EQ(QtNameFilters("KOLT Files (*.kpf; *.kcf)|*.kpf; *.kcf|Parameter Files (*.kpf)|*.kpf|Compare Files "
                            "(*.kcf)|*.kcf|All Files (*.*)|*.*|"),
              (QStringList{"KOLT Files (*.kpf *.kcf)", "Parameter Files (*.kpf)", "Compare Files (*.kcf)",
                           "All Files (*.*)"}));
    EXPECT_EQ(QtNameFilters("Compara Files (*.kcf)|*.kcf||"), (QStringList{"Compara Files (*.kcf)"}));
    EXPECT_EQ(CaptionText("Open\n"), "Open");
}

TEST(QtPrompts, MessageWindowsCarryTheirButtonsAndTitles) {
    CMarbenApp app;
    QtPrompts prompts(app);

    QString title, quit;
    int busyMeanwhile = -1;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        busyMeanwhile = app.busyFlag;
        title = box->windowTitle();
        quit = box->buttons().size() == 1 ? box->buttons().first()->text() : QString();
        box->buttons().first()->click();
    });
    prompts.CommMessage("TIME-OUT !!");
    EXPECT_EQ(title, "Communication Message");
    EXPECT_EQ(quit, "&Quit");
    EXPECT_EQ(busyMeanwhile, 1);  // up while the window waits, down again after
    EXPECT_EQ(app.busyFlag, 0);

    for (const bool pressContinue : {true, false}) {
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            ASSERT_NE(ButtonByText(box, "&Continue"), nullptr);
            ASSERT_NE(ButtonByText(box, "&Abort"), nullptr);
            ButtonByText(box, pressContinue ? "&Continue" : "&Abort")->click();
        });
        EXPECT_EQ(prompts.ContinueAbort("Continue to Next Station ?"), pressContinue);
        EXPECT_EQ(title, "Write Message");
    }

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        title = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(prompts.YesNo("Code: F52\nReset to factory default (50 Hz)?", "Write Message", Icon::Exclamation));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title, "Write Message");
}

TEST(QtPrompts, ProgressWindowCancelSetsTheFlag) {
    CMarbenApp app;
    QtPrompts prompts(app);
    prompts.ProgressOpen(true);
    ASSERT_NE(prompts.ProgressWindow(), nullptr);
    EXPECT_TRUE(prompts.ProgressWindow()->windowFlags() & Qt::FramelessWindowHint);
    prompts.ProgressRange(0, 4);
    prompts.ProgressStep();
    prompts.ProgressText("Station_003 ... ... ...");
    auto* bar = prompts.ProgressWindow()->findChild<QProgressBar*>(QStringLiteral("progressBar"));
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(prompts.ProgressWindow()->findChild<QLabel*>(QStringLiteral("progressText"))->text(),
              "Station_003 ... ... ...");
    prompts.ProgressWindow()->findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
    EXPECT_EQ(app.cancelFlag, 1);
    prompts.PumpOne();
    EXPECT_EQ(prompts.ProgressWindow(), nullptr);
    prompts.ProgressStep();  // after the window went: nothing to do, no crash
    prompts.ProgressClose();

    prompts.ProgressOpen(false);
    EXPECT_EQ(prompts.ProgressWindow()->findChild<QPushButton*>(QStringLiteral("progressCancel")), nullptr);
    prompts.ProgressClose();
    EXPECT_EQ(prompts.ProgressWindow(), nullptr);
}

TEST_F(FrameTest, AboutBoxAndItsLink) {
    QString title, body;
    WhenModal<CAboutDlg>([&](CAboutDlg* d) {
        title = d->windowTitle();
        body = d->findChild<QLabel*>(QStringLiteral("aboutText"))->text();
        EXPECT_EQ(app.busyFlag, 1);
        d->accept();
    });
    frame->RunCommand(cmd::kAppAbout);
    EXPECT_EQ(title, "About KOLT Quendal");
    EXPECT_EQ(body, "KOLT Quendal\nVersion: 1.2");
    EXPECT_EQ(app.busyFlag, 0);

    CAboutDlg about(prompts, frame.get());
    QUrl opened;
    about.SetOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    about.OpenLink();
    EXPECT_EQ(opened.scheme(), "https");

    about.SetOpener([](const QUrl&) { return false; });
    QString text;
    AnswerMessageBox(QMessageBox::Ok, &text);
    about.OpenLink();
    EXPECT_EQ(text, QString::fromUtf8("提供的超级链接或者制定的文件无法执行"));
}

TEST_F(FrameTest, HelpContentsWithoutTheHelpFile) {
    QString text;
    AnswerMessageBox(QMessageBox::Ok, &text);
    frame->RunCommand(cmd::kHelpContents);
    EXPECT_EQ(text, "Not Find Help File!!");
}

}  // namespace
}  // namespace kolt::testing
