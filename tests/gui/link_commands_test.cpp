// Link and Unlink from the main window against the virtual drive: one
// station, a scan past a silent station, and Cancel while the scan runs.
#include "link_fixture.h"

#include "catalogue/models.h"

namespace kolt::testing {
namespace {

TEST_F(LinkGuiTest, LinksOneStationAndShowsItInTheStatusBar) {
    StartDrive({1});
    MakeFrame();
    EXPECT_EQ(Pane(2), "No station linked");
    EXPECT_FALSE(frame->Action(cmd::kRead)->isEnabled());
    EXPECT_TRUE(frame->Action(cmd::kLink)->isEnabled());

    // COM1 shows the device it resolves to: the virtual drive's terminal.
    QString com1;
    WhenModal<CLinkDialog>([&com1](CLinkDialog* d) { com1 = d->findChild<QComboBox*>("comPortCombo")->itemText(0); });
    LinkWithText("1");
    EXPECT_TRUE(com1.contains(QString::fromStdString(drive->SlavePath()))) << com1.toStdString();
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.currentStation, 1);
    EXPECT_EQ(app.softwareVersion, 12);
    EXPECT_EQ(app.currentModel, kModel);
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(Pane(1), "Ver: 1.2");
    EXPECT_EQ(Pane(2), "Linking  001");
    EXPECT_EQ(Pane(3), QString::fromStdString("Model: " + ModelName(kModel)));
    EXPECT_TRUE(frame->Action(cmd::kRead)->isEnabled());
    EXPECT_TRUE(link->Port().IsOpen());

    // Linked: the dialog offers only Unlink and Close; Unlink closes the port.
    bool linkEnabled = true;
    WhenModal<CLinkDialog>([&linkEnabled](CLinkDialog* d) {
        linkEnabled = d->findChild<QPushButton*>("linkButton")->isEnabled();
        QTest::mouseClick(d->findChild<QPushButton*>("unlinkButton"), Qt::LeftButton);
    });
    frame->RunCommand(cmd::kLink);
    EXPECT_FALSE(linkEnabled);
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    EXPECT_EQ(Pane(1), "Ver: x.x");
    EXPECT_EQ(Pane(2), "No station linked");
    EXPECT_FALSE(frame->Action(cmd::kRead)->isEnabled());
}

TEST_F(LinkGuiTest, SilentStationTimesOutAndLeavesThePortClosed) {
    StartDrive({1});
    MakeFrame();
    LinkWithText("2");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "comm");
    EXPECT_EQ(prompts.shown[0].text, "TIME-OUT !!");
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    EXPECT_EQ(Pane(2), "No station linked");
}

TEST_F(LinkGuiTest, ScanSkipsASilentFirstStation) {
    StartDrive({7});
    MakeFrame();
    LinkWithText("4,7,9");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.currentStation, 7);
    EXPECT_EQ(prompts.progressOpens, 1);
    EXPECT_TRUE(prompts.progressCancellable);
    EXPECT_EQ(prompts.progressTexts,
              (std::vector<std::string>{"Station_004 ... ... ...", "Station_007 ... ... ..."}));
    EXPECT_EQ(prompts.progressCloses, 1);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(Pane(2), "Linking  007");
}

TEST_F(LinkGuiTest, CancelStopsTheScanWhileItRuns) {
    StartDrive({30});
    MakeFrame(/*qtMessages=*/true);
    bool scanFlagWhileShown = false;
    bool linkDisabledWhileShown = false;
    QString textWhileShown;
    WhenModalNamed("progressWindow", [&](QWidget* w) {
        scanFlagWhileShown = app.scanFlag != 0;
        frame->UpdateCommandUi();
        linkDisabledWhileShown = !frame->Action(cmd::kLink)->isEnabled();
        textWhileShown = w->findChild<QLabel*>("progressText")->text();
        QTest::mouseClick(w->findChild<QPushButton*>("progressCancel"), Qt::LeftButton);
    });
    LinkWithText("1-30");
    EXPECT_TRUE(scanFlagWhileShown);
    EXPECT_TRUE(linkDisabledWhileShown);
    EXPECT_TRUE(textWhileShown.startsWith("Station_0")) << textWhileShown.toStdString();
    EXPECT_EQ(app.cancelFlag, 1);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    // The scan never reached the one station that would have answered.
    EXPECT_EQ(drive->RequestsForUs(), 0);
    EXPECT_EQ(app.linkedList[30], 30);
    // Cancel closed the window itself (it goes away on the next turn of the loop).
    EXPECT_TRUE(!qtPrompts.ProgressWindow() || !qtPrompts.ProgressWindow()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Pane(2), "No station linked");
}

TEST_F(LinkGuiTest, TheDialogStoresTheLineSettings) {
    StartDrive({1});
    MakeFrame();
    app.settings.baudRate = 9600;
    WhenModal<CLinkDialog>([](CLinkDialog* d) {
        QTest::mouseClick(d->findChild<QPushButton*>("defaultButton"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("linkButton"), Qt::LeftButton);
    });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.settings.baudRate, 38400);

    // Close changes nothing.
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("closeButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_TRUE(link->Port().IsOpen());
}

}  // namespace
}  // namespace kolt::testing
