#include "link/online_write.h"

#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

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
    int reverts = 0, focuses = 0, station = 0;

    void Edit(int number, std::int32_t value) {
        values_ = doc_.values[0];
        texts_ = cellText;
        modified_ = doc_.IsModified();
        doc_.values[0][static_cast<std::size_t>(SlotOfNumber(number))] = value;
        cellText[number] = FormatParamValue(value, number);
        doc_.SetModifiedFlag(true);
    }
    void ShowSettingText(int number, const std::string& text) override { cellText[number] = text; }
    void RevertEdit() override {
        ++reverts;
        doc_.values[0] = values_;
        cellText = texts_;
        doc_.SetModifiedFlag(modified_);
    }
    void FocusGrid() override { ++focuses; }
    void Repaint() override {}
    void RecordStation(int s) override { station = s; }

private:
    CMarbenDoc& doc_;
    SlotValues values_{};
    std::map<int, std::string> texts_;
    bool modified_ = false;
};

class OnlineWrite : public LinkBench {
protected:
    void SetUp() override {
        StartDrive(QuickDrive({1, 2}, 2));
        LinkStation(1);
        app.settings.onlineEdit = 1;
        doc = &OpenNewDocument();
        view = std::make_unique<FakeEditView>(*doc);
    }

    CMarbenDoc* doc = nullptr;
    std::unique_ptr<FakeEditView> view;
};

}  // namespace

TEST_F(OnlineWrite, AcceptedEditStaysAndIsShown) {
    view->Edit(kF07, 4500);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    EXPECT_EQ(Boxes(prompts), Texts{"Write Message: Write Parameter Successfully !!"});
    EXPECT_EQ(std::make_tuple(drive->ParamValue(1, kF07), Setting(*doc, kF07), view->cellText[kF07], doc->IsModified()),
              std::make_tuple(4500, 4500, "45.00", true));
    EXPECT_EQ(std::tie(view->reverts, view->focuses, view->station, app.busyFlag), std::make_tuple(0, 1, 1, 0));
}

TEST_F(OnlineWrite, RefusedEditIsTakenBackCompletely) {
    const std::int32_t old = Setting(*doc, kF07);
    view->cellText[kF07] = "old";
    view->Edit(kF07, MaxValue(kF07) + 1);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    EXPECT_EQ(Boxes(prompts), Texts{"Error Message: Data Over Range !"});
    EXPECT_EQ(std::make_tuple(Setting(*doc, kF07), view->cellText[kF07], doc->IsModified(), drive->ParamValue(1, kF07)),
              std::make_tuple(old, "old", false, old));
    // The link stays; an exception reply is not repeated.
    EXPECT_EQ(std::make_tuple(app.linkedFlag, port.TransactionCount()), std::make_tuple(1, 3L + 1));
}

TEST_F(OnlineWrite, FactoryResetIsAskedFirst) {
    const long frames = drive->FramesSeen();
    view->Edit(kF52, 20);
    prompts.yesNoAnswers = {false};
    OnViewEditCommitted(ctx, *doc, *view, kF52);
    // No: nothing sent.
    EXPECT_EQ(std::make_tuple(Boxes(prompts), prompts.shown[0].icon, drive->FramesSeen(), Setting(*doc, kF52), doc->IsModified()),
              std::make_tuple(Texts{"Write Message: Code: F52\nReset to factory default (60 Hz)?"}, Icon::Exclamation, frames, 0,
                              false));

    // Yes: the drive goes back to its defaults and F52 shows 0 again.
    drive->SetParamValue(1, kF07, 1234);
    view->Edit(kF52, 10);
    OnViewEditCommitted(ctx, *doc, *view, kF52);
    EXPECT_EQ(std::make_tuple(prompts.Texts().back(), drive->ParamValue(1, kF07) != 1234, Setting(*doc, kF52), view->cellText[kF52]),
              std::make_tuple("Write Parameter Successfully !!", true, 0, std::string("0")));
}

TEST_F(OnlineWrite, OfflineOrUnlinkedEditsStayInTheDocumentOnly) {
    app.settings.onlineEdit = 0;
    view->Edit(kF07, 4400);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    app.settings.onlineEdit = 1;
    app.linkedFlag = 0;
    view->Edit(kF07, 4300);
    OnViewEditCommitted(ctx, *doc, *view, kF07);
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), Setting(*doc, kF07), view->cellText[kF07], view->reverts),
              std::make_tuple(0u, 4300, "43.00", 0));

    EXPECT_FALSE(WriteOneParameter(ctx, 1, kF07, 4000));
    EXPECT_EQ(std::make_tuple(Boxes(prompts), port.TransactionCount()),  // only the link's transactions
              std::make_tuple(Texts{"Communication Message: KOLT Not Link With PC !!"}, 3L));
}

TEST_F(OnlineWrite, DefiniteDialogWritesToItsOwnStation) {
    FakeEditView dialog(*doc);
    dialog.Edit(kF07, 4200);
    app.busyFlag = 1;  // the modal dialog's
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF07, 4200);
    // The busy flag still up (the dialog is still open), and the view follows.
    EXPECT_EQ(std::make_tuple(app.busyFlag, drive->ParamValue(2, kF07) == 4200, drive->ParamValue(1, kF07) == 4200,
                              view->cellText[kF07]),
              std::make_tuple(1, true, false, "42.00"));
    // Refused, or F52 answered No: the dialog takes its edit back.
    dialog.Edit(kF07, MaxValue(kF07) + 1);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF07, MaxValue(kF07) + 1);
    EXPECT_EQ(Setting(*doc, kF07), 4200);
    prompts.yesNoAnswers = {false};
    dialog.Edit(kF52, 10);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF52, 10);
    EXPECT_EQ(std::make_tuple(Setting(*doc, kF52), dialog.reverts, prompts.Texts()),
              std::make_tuple(0, 2, Texts{"Write Parameter Successfully !!", "Data Over Range !",
                                          "Code: F52\nReset to factory default (50 Hz)?"}));

    // F52 = 0 resets nothing: as in the view's grid, nothing is sent.
    const long frames = drive->FramesSeen();
    dialog.Edit(kF52, 0);
    OnDefiniteEditCommitted(ctx, *doc, *view, &dialog, 2, kF52, 0);
    EXPECT_EQ(std::make_tuple(drive->FramesSeen(), prompts.shown.size()), std::make_tuple(frames, 3u));
}
