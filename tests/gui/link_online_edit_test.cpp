// Online edits in the parameter view go to the linked drive: accepted,
// refused and reverted, and the factory-default question.
#include "link_fixture.h"

namespace kolt::testing {
namespace {

constexpr int kF01 = 1;
constexpr int kF07 = 7;  // frequency upper limit, 1.00~200.00 Hz
constexpr int kF52 = 52;

class OnlineEditTest : public LinkGuiTest {
protected:
    CMarbenDoc* doc = nullptr;
    void SetUpOnline() {
        StartDrive({1});
        MakeFrame();
        app.settings.onlineEdit = 1;
        LinkWithText("1");
        ASSERT_EQ(app.linkedFlag, 1);
        doc = NewDocument();
        ASSERT_NE(doc, nullptr);
        doc->SetModifiedFlag(false);
        prompts.shown.clear();
    }
    // The edit's write runs from the event loop after the edit ends.
    bool WaitForMessages(std::size_t count) {
        return SpinUntil([&] { return prompts.shown.size() >= count; });
    }
};

TEST_F(OnlineEditTest, AcceptedWriteKeepsTheValue) {
    SetUpOnline();
    EXPECT_EQ(Pane(4), "Online Edit");
    EditSetting(kF01, "12");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(prompts.shown[0].text, "Write Parameter Successfully !!");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_EQ(drive->ParamValue(1, kF01), 120);
    EXPECT_EQ(DocValue(kF01), 120);
    EXPECT_EQ(SettingCell(kF01), "12.0");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(View()->Station(), 1);
    EXPECT_EQ(app.busyFlag, 0);
    // One edit, one frame, one message.
    SpinUntil([] { return false; }, 100);
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(OnlineEditTest, RefusedWriteRevertsCellAndDocument) {
    SetUpOnline();
    // A document that allows more than the drive does: 250 Hz passes the grid,
    // the drive refuses it.
    const int slot = SlotOfNumber(kF07);
    doc->maxBySlot[static_cast<std::size_t>(slot)] = 30000;
    doc->maxByNumber[kF07] = 30000;
    const std::int32_t before = DocValue(kF07);
    const QString textBefore = SettingCell(kF07);
    EditSetting(kF07, "250");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(prompts.shown[0].text, "Data Over Range !");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(DocValue(kF07), before);
    EXPECT_EQ(SettingCell(kF07), textBefore);
    EXPECT_NE(drive->ParamValue(1, kF07), 25000);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(OnlineEditTest, SilentDriveRevertsTheEdit) {
    SetUpOnline();
    const std::int32_t before = DocValue(kF01);
    drive->SetSilent(1, true);
    EditSetting(kF01, "33");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(prompts.shown[0].text, "TIME-OUT !!");
    EXPECT_EQ(DocValue(kF01), before);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(OnlineEditTest, FactoryResetQuestion) {
    SetUpOnline();
    drive->SetParamValue(1, kF01, 777);
    const long writesBefore = drive->FramesSeen();

    // No: nothing is sent and the edit goes back.
    prompts.yesNoAnswers = {false};
    EditSetting(kF52, "10");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(prompts.shown[0].text, "Code: F52\nReset to factory default (50 Hz)?");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_EQ(drive->FramesSeen(), writesBefore);
    EXPECT_EQ(DocValue(kF52), 0);
    EXPECT_EQ(drive->ParamValue(1, kF01), 777);

    // Yes: the drive resets, and the document shows F52 as 0 again.
    prompts.shown.clear();
    prompts.yesNoAnswers = {true};
    EditSetting(kF52, "10");
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(prompts.shown[1].text, "Write Parameter Successfully !!");
    EXPECT_NE(drive->ParamValue(1, kF01), 777);
    EXPECT_EQ(DocValue(kF52), 0);
    EXPECT_EQ(SettingCell(kF52), "0");
}

TEST_F(OnlineEditTest, OfflineWhenNotLinked) {
    SetUpOnline();
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
    frame->RunCommand(cmd::kLink);
    ASSERT_EQ(app.linkedFlag, 0);
    const long frames = drive->FramesSeen();
    EditSetting(kF01, "44");
    SpinUntil([] { return false; }, 100);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(DocValue(kF01), 440);
    EXPECT_EQ(SettingCell(kF01), "44.0");
    EXPECT_EQ(drive->FramesSeen(), frames);
}

}  // namespace
}  // namespace kolt::testing
