// Read and Write from the main window against the virtual drive.
#include "link_fixture.h"

#include "catalogue/models.h"

namespace kolt::testing {
namespace {

constexpr int kF01 = 1;    // 0.1~999.0 s
constexpr int kF02 = 2;
constexpr int kC10 = 110;  // 0~1

TEST_F(LinkGuiTest, ReadWithoutADocumentOpensOneWithTheDrivesValues) {
    StartDrive({1, 2});
    drive->SetParamValue(2, kF01, 123);
    drive->SetParamValue(2, kC10, 1);
    MakeFrame();
    LinkWithText("1");
    ASSERT_EQ(app.linkedFlag, 1);
    ASSERT_EQ(frame->Document(), nullptr);

    ReadWith(2, true, true);
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_NE(frame->Document(), nullptr);
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(DocValue(kF01), 123);
    EXPECT_EQ(DocValue(kC10), 1);
    EXPECT_EQ(SettingCell(kF01), "12.3");
    EXPECT_EQ(SettingCell(kC10), "1");
    // Reading another station makes it the current one.
    EXPECT_EQ(app.currentStation, 2);
    EXPECT_EQ(Pane(2), "Linking  002");
    EXPECT_EQ(Pane(3), QString::fromStdString("Model: " + ModelName(kModel)));
    EXPECT_EQ(prompts.progressTexts.front(), "Read Inverter Function Parameter...F00");
    EXPECT_EQ(prompts.progressTexts.back(), "Read Inverter Function Parameter...C55");
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_TRUE(frame->Action(cmd::kWrite)->isEnabled());
}

TEST_F(LinkGuiTest, ReadIntoTheOpenDocumentTakesOnlyTheChosenGroup) {
    StartDrive({1});
    drive->SetParamValue(1, kF01, 321);
    drive->SetParamValue(1, kC10, 1);
    MakeFrame();
    LinkWithText("1");
    CMarbenDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    const std::int32_t f01Default = doc->defaults[static_cast<std::size_t>(SlotOfNumber(kF01))];
    EditSetting(kF02, "7");  // the document is modified: the Yes/No save question comes
    ASSERT_TRUE(doc->IsModified());
    prompts.yesNoAnswers = {false};

    ReadWith(1, /*basic=*/false, /*advanced=*/true);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(frame->Document(), doc);  // the same document, refilled
    EXPECT_EQ(DocValue(kC10), 1);
    EXPECT_EQ(SettingCell(kC10), "1");
    EXPECT_EQ(DocValue(kF01), f01Default);  // the basic group takes the defaults
    EXPECT_EQ(DocValue(kF02), doc->defaults[static_cast<std::size_t>(SlotOfNumber(kF02))]);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(prompts.progressTexts.front(), "Read Inverter Function Parameter...C00");
}

TEST_F(LinkGuiTest, ReadTimeOutLeavesTheDocumentAsItWas) {
    StartDrive({1});
    MakeFrame();
    LinkWithText("1");
    CMarbenDoc* doc = NewDocument();
    const auto before = doc->values[0];
    drive->SetSilent(1, true);
    ReadWith(1, true, true);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "TIME-OUT !!");
    EXPECT_EQ(frame->Document(), doc);
    EXPECT_EQ(doc->values[0], before);
    EXPECT_EQ(app.linkedFlag, 1);  // the link stays
}

class WriteGuiTest : public LinkGuiTest {
protected:
    CMarbenDoc* doc = nullptr;
    // Stations 1..3 with 2 silent; the document sets F01 to 25.0 s.
    void SetUpWrite() {
        StartDrive({1, 2, 3}, {2});
        MakeFrame();
        LinkWithText("1");
        ASSERT_EQ(app.linkedFlag, 1);
        doc = NewDocument();
        ASSERT_NE(doc, nullptr);
        EditSetting(kF01, "25");
        ASSERT_EQ(DocValue(kF01), 250);
        prompts.shown.clear();
    }
};

TEST_F(WriteGuiTest, ContinuePastASilentStation) {
    SetUpWrite();
    prompts.continueAnswers = {true};
    const auto settingsBefore = doc->values[0];
    WriteTo("1-3");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "continue");
    EXPECT_EQ(prompts.shown[0].text, "Communication Error !!\nContinue to Next Station ?");
    EXPECT_EQ(drive->ParamValue(1, kF01), 250);
    EXPECT_EQ(drive->ParamValue(3, kF01), 250);
    EXPECT_NE(drive->ParamValue(2, kF01), 250);
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(Pane(2), "Linking  003");
    EXPECT_EQ(prompts.progressTexts.back(), "Write Inverter Function Parameter To Module...C47");
    EXPECT_EQ(doc->values[0], settingsBefore);  // the command never changes the document
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(WriteGuiTest, AbortAtASilentStation) {
    SetUpWrite();
    prompts.continueAnswers = {false};
    WriteTo("1,2,3");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "continue");
    EXPECT_EQ(drive->ParamValue(1, kF01), 250);
    EXPECT_NE(drive->ParamValue(3, kF01), 250);
    EXPECT_EQ(app.currentStation, 2);
    EXPECT_EQ(Pane(2), "Linking  002");
    EXPECT_FALSE(prompts.progressOpen);
    EXPECT_TRUE(link->Port().IsOpen());
}

TEST_F(WriteGuiTest, CancelInTheDialogWritesNothing) {
    SetUpWrite();
    const long before = drive->FramesSeen();
    WhenModal<CWriteParaDialog>([](CWriteParaDialog* d) { d->reject(); });
    frame->RunCommand(cmd::kWrite);
    EXPECT_EQ(drive->FramesSeen(), before);
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace kolt::testing
