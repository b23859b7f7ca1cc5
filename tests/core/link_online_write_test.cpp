#include "link/online_write.h"

#include "app/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "link/transaction_report.h"
#include "link_test_support.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kF07 = 7, kF52 = 52;

// The grid side of an online edit: it stores the edit in the document first
// and keeps what it needs to take it back.
class FakeEditView : public IOnlineEditView {
public:
    explicit FakeEditView(CMarbenDoc& doc) : doc_(doc) {}

    std::map<int, std::string> cellText;
    int reverts = 0, focuses = 0, repaints = 0, station = 0;

    void Edit(int number, std::int32_t value) {
        const auto slot = static_cast<std::size_t>(SlotOfNumber(number));
        number_ = number;
        oldValue_ = doc_.values[0][slot];
        oldText_ = cellText[number];
        oldModified_ = doc_.IsModified();
        doc_.values[0][slot] = value;
        cellText[number] = FormatParamValue(value, number);
        doc_.SetModifiedFlag(true);
    }

    void ShowSettingText(int number, const std::string& text) override { cellText[number] = text; }
    void RevertEdit() override {
        ++reverts;
        doc_.values[0][static_cast<std::size_t>(SlotOfNumber(number_))] = oldValue_;
        cellText[number_] = oldText_;
        doc_.SetModifiedFlag(oldModified_);
    }
    void FocusGrid() override { ++focuses; }
    void Repaint() override { ++repaints; }
    void RecordStation(int s) override { station = s; }

private:
    CMarbenDoc& doc_;
    int number_ = 0;
    std::int32_t oldValue_ = 0;
    std::string oldText_;
    bool oldModified_ = false;
};

class OnlineWrite : public LinkBench {
protected:
    void SetUp() override {
        StartDrive(QuickDrive({1, 2}, 2));
        LinkStation(1);
        app.settings.onlineEdit = 1;
        doc = &OpenNewDocument();
        view = std::make_unique<FakeEditView>(*doc);
        view->cellText[kF07] = FormatParamValue(Setting(*doc, kF07), kF07);
        view->cellText[kF52] = FormatParamValue(0, kF52);
    }

    CMarbenDoc* doc = nullptr;
    std::unique_ptr<FakeEditView> view;
};

}  // namespace

TEST_F(OnlineWrite, AcceptedEditStaysAndIsShown) {
    view->Edit(kF07, 4500);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Write Parameter Successfully !!");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_EQ(drive->ParamValue(1, kF07), 4500);
    EXPECT_EQ(Setting(*doc, kF07), 4500);
    EXPECT_EQ(view->cellText[kF07], FormatParamValue(4500, kF07));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view->reverts, 0);
    EXPECT_EQ(view->focuses, 1);
    EXPECT_EQ(view->repaints, 1);
    EXPECT_EQ(view->station, 1);
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(OnlineWrite, RefusedEditIsTakenBackCompletely) {
    const std::int32_t old = Setting(*doc, kF07);
    const std::string oldText = view->cellText[kF07];
    const std::int32_t refused = MaxValue(kF07) + 1;
    view->Edit(kF07, refused);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Data Over Range !");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
    EXPECT_EQ(view->reverts, 1);
    EXPECT_EQ(Setting(*doc, kF07), old);
    EXPECT_EQ(view->cellText[kF07], oldText);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(drive->ParamValue(1, kF07), refused);
    EXPECT_EQ(app.linkedFlag, 1);  // the link stays
    EXPECT_EQ(port.TransactionCount(), 3 + 1);  // an exception reply is not repeated
}

TEST_F(OnlineWrite, FactoryResetQuestionAnsweredNoSendsNothing) {
    const long frames = drive->FramesSeen();
    view->Edit(kF52, 20);
    prompts.yesNoAnswers = {false};
    OnViewEditCommitted(ctx, *doc, *view, kF52);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(prompts.shown[0].text, "Code: F52\nReset to factory default (60 Hz)?");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Exclamation);
    EXPECT_EQ(drive->FramesSeen(), frames);
    EXPECT_EQ(view->reverts, 1);
    EXPECT_EQ(Setting(*doc, kF52), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(OnlineWrite, FactoryResetAnsweredYesResetsTheDriveAndShowsZero) {
    drive->SetParamValue(1, kF07, 1234);
    view->Edit(kF52, 10);
    OnViewEditCommitted(ctx, *doc, *view, kF52);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"Code: F52\nReset to factory default (50 Hz)?",
                                                         "Write Parameter Successfully !!"}));
    EXPECT_NE(drive->ParamValue(1, kF07), 1234);  // the drive went back to its defaults
    EXPECT_EQ(Setting(*doc, kF52), 0);
    EXPECT_EQ(view->cellText[kF52], FormatParamValue(0, kF52));
}

TEST_F(OnlineWrite, OfflineOrUnlinkedEditsStayInTheDocumentOnly) {
    app.settings.onlineEdit = 0;
    view->Edit(kF07, 4400);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    app.settings.onlineEdit = 1;
    app.linkedFlag = 0;
    view->Edit(kF07, 4300);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(port.TransactionCount(), 3);
    EXPECT_EQ(Setting(*doc, kF07), 4300);
    EXPECT_EQ(view->cellText[kF07], FormatParamValue(4300, kF07));
    EXPECT_EQ(view->reverts, 0);
}

TEST_F(OnlineWrite, SilentStationTimesOutAndTheEditIsReverted) {
    drive->SetSilent(1, true);
    const std::int32_t old = Setting(*doc, kF07);
    view->Edit(kF07, 4100);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"TIME-OUT !!"});
    EXPECT_EQ(Setting(*doc, kF07), old);
    EXPECT_EQ(port.TransactionCount(), 3 + 3);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(OnlineWrite, DefiniteDialogWritesToItsOwnStation) {
    FakeEditView dialog(*doc);
    dialog.Edit(kF07, 4200);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF07, 4200);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Write Parameter Successfully !!"});
    EXPECT_EQ(drive->ParamValue(2, kF07), 4200);
    EXPECT_NE(drive->ParamValue(1, kF07), 4200);
    EXPECT_EQ(view->cellText[kF07], FormatParamValue(4200, kF07));  // the view follows
    EXPECT_EQ(view->repaints, 1);
    EXPECT_EQ(dialog.reverts, 0);

    // Refused: the dialog takes its edit back.
    prompts.shown.clear();
    dialog.Edit(kF07, MaxValue(kF07) + 1);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF07, MaxValue(kF07) + 1);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Data Over Range !"});
    EXPECT_EQ(dialog.reverts, 1);
    EXPECT_EQ(Setting(*doc, kF07), 4200);

    // F52 answered No: nothing sent, the dialog's edit goes back.
    prompts.shown.clear();
    const long frames = drive->FramesSeen();
    prompts.yesNoAnswers = {false};
    dialog.Edit(kF52, 10);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF52, 10);
    EXPECT_EQ(drive->FramesSeen(), frames);
    EXPECT_EQ(dialog.reverts, 2);
    EXPECT_EQ(Setting(*doc, kF52), 0);
}

TEST_F(OnlineWrite, WriteOneParameterNeedsALink) {
    app.linkedFlag = 0;
    EXPECT_FALSE(WriteOneParameter(ctx, 1, kF07, 4000));
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"KOLT Not Link With PC !!"});
    EXPECT_EQ(prompts.shown[0].kind, "comm");
    EXPECT_EQ(port.TransactionCount(), 3);
}

// A drive that answers with an exception code of no known meaning still gets
// a message that says what happened, not an empty box.
TEST(OnlineWriteReply, UnknownExceptionCodeIsNamed) {
    TestLine line;
    ASSERT_TRUE(line.Ok());
    CMarbenApp app;
    FakePrompts prompts;
    CModbusPort port(&prompts);
    FakeDocumentHost host(app);
    LinkContext ctx{app, port, prompts, host};
    ASSERT_EQ(port.Open(line.SlavePath(), 2048, 2048), 0u);
    app.linkedFlag = 1;

    std::string request;
    std::thread far([&] {
        request = line.Receive(1000);
        line.Send(":0190026D\r\n");  // exception 02 to function 10
    });
    EXPECT_FALSE(WriteOneParameter(ctx, 1, kF07, 4000));
    far.join();
    EXPECT_EQ(request.substr(0, 5), ":0110");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Exception Reply ! (Code: 02)");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(port.TransactionCount(), 1);
    port.Close();
}
