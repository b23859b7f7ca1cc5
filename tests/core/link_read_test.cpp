#include "link/read_procedure.h"

#include "app/texts.h"
#include "catalogue/models.h"
#include "link/transaction_report.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kF07 = 7, kC25 = 125, kC25Slot = 80;

class ReadProcedure : public LinkBench {
protected:
    // Station 3 of model 5, with F07 and C25 away from their defaults.
    void StartStation3() {
        StartDrive(QuickDrive({1, 3}, 5));
        drive->SetParamValue(3, kF07, 4500);
        drive->SetParamValue(3, kC25, 3);
        LinkStation(1);
        app.currentModel = 0;
        app.softwareVersion = 99;
    }
};

}  // namespace

TEST_F(ReadProcedure, ReadIntoANewDocumentTakesEveryValueAndTheLinkState) {
    StartStation3();
    app.staging.compareMode = 1;
    app.staging.names[0] = "old";
    app.staging.values[0][200] = 77;

    ASSERT_TRUE(RunReadCommand(ctx, {3, true, true}));
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_NE(host.doc, nullptr);
    EXPECT_EQ(host.creations, 1);
    const CMarbenDoc& doc = *host.doc;
    EXPECT_EQ(Setting(doc, kF07), 4500);
    EXPECT_EQ(Setting(doc, kC25Slot), 3);
    EXPECT_EQ(Setting(doc, 0), 5);  // F00: the drive's capacity code
    EXPECT_EQ(doc.model, 5);
    EXPECT_FALSE(doc.IsCompare());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(app.currentModel, 5);
    EXPECT_EQ(app.softwareVersion, 12);
    EXPECT_EQ(app.freshRead, 0);  // taken by the new document
    EXPECT_EQ(app.staging.compareMode, 0);
    EXPECT_EQ(app.staging.names[0], "");
    EXPECT_EQ(app.staging.values[0][200], 0);  // beyond the parameters: cleared
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_TRUE(port.IsOpen());

    // Two transactions for version and capacity, then one per parameter.
    EXPECT_EQ(port.TransactionCount(), 3 + 2 + 111);
    ASSERT_EQ(prompts.progressTexts.size(), 111u);
    EXPECT_EQ(prompts.progressTexts[7], "Read Inverter Function Parameter...F07");
    EXPECT_EQ(prompts.progressTexts.back(), "Read Inverter Function Parameter...C55");
    EXPECT_FALSE(prompts.progressCancellable);
    EXPECT_EQ(prompts.progressHigh, 56);
    EXPECT_EQ(prompts.progressSteps, 56);
    EXPECT_FALSE(prompts.progressOpen);
}

TEST_F(ReadProcedure, OnlyAdvancedReadIntoTheOpenDocumentKeepsBasicDefaults) {
    StartStation3();
    app.currentModel = 5;
    CMarbenDoc& doc = OpenNewDocument();
    doc.values[0][kF07] = 1234;  // an edit that the refill replaces by the default

    ASSERT_TRUE(RunReadCommand(ctx, {3, false, true}));
    EXPECT_EQ(host.creations, 1);  // the open document was refilled, not replaced
    EXPECT_EQ(host.doc.get(), &doc);
    EXPECT_EQ(Setting(doc, kF07), DefaultValue(kF07, 5, true));
    EXPECT_EQ(Setting(doc, kC25Slot), 3);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(app.readF, 0);
    EXPECT_EQ(app.readC, 1);
    EXPECT_EQ(prompts.progressTexts.front(), "Read Inverter Function Parameter...C00");
    EXPECT_EQ(port.TransactionCount(), 3 + 2 + 56);
    // The first question is the save prompt (Yes/No) only when the document was modified.
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ReadProcedure, ReadFailingMidwayLeavesEverythingAsItWas) {
    StartStation3();
    app.currentModel = 2;
    CMarbenDoc& doc = OpenNewDocument();
    const SlotValues before = doc.values[0];
    const SlotValues bufferBefore = app.staging.values[0];
    // Link: echo, version, capacity; read: version, capacity, F00..F29; then silence.
    drive->SetSilentAfter(3 + 2 + 30);

    EXPECT_FALSE(RunReadCommand(ctx, {3, true, true}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "TIME-OUT !!");
    EXPECT_EQ(prompts.shown[0].kind, "comm");
    EXPECT_EQ(prompts.progressTexts.back(), "Read Inverter Function Parameter...F30");
    EXPECT_FALSE(prompts.progressOpen);
    EXPECT_EQ(doc.values[0], before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(app.staging.values[0], bufferBefore);
    EXPECT_EQ(app.currentStation, 1);
    EXPECT_EQ(app.currentModel, 2);
    EXPECT_EQ(app.softwareVersion, 99);
    EXPECT_EQ(app.linkedFlag, 1);  // the link stays
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(ReadProcedure, GarbledAndRefusedRepliesAreReported) {
    StartStation3();
    drive->SetBadLrc(3, true);
    EXPECT_FALSE(ReadParameters(ctx, 3, true, true));
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Check Sum Error !!"});
    EXPECT_EQ(port.TransactionCount(), 3 + 3);
    drive->SetBadLrc(3, false);

    // A register the drive does not have.
    prompts.shown.clear();
    EXPECT_EQ(port.TransactWithRetry(ModbusRequest::WriteReg(3, 0x0300, 1)), kExceptionReply);
    ReportTransactionFailure(kExceptionReply, port, prompts);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Address Error !");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
}

TEST_F(ReadProcedure, NotLinkedReadsNothing) {
    StartDrive(QuickDrive({1}));
    EXPECT_FALSE(ReadParameters(ctx, 1, true, true));
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"KOLT Not Link With PC !!"});
    EXPECT_EQ(prompts.shown[0].kind, "comm");
    EXPECT_EQ(drive->FramesSeen(), 0);
}

TEST_F(ReadProcedure, CompareDocumentIsClosedAndANewOneCreated) {
    StartStation3();
    CMarbenDoc& old = OpenNewDocument();
    old.compareMode = 1;
    app.staging.compareMode = 1;
    ASSERT_TRUE(RunReadCommand(ctx, {3, true, true}));
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(host.creations, 2);
    ASSERT_NE(host.doc, nullptr);
    EXPECT_FALSE(host.doc->IsCompare());
    EXPECT_EQ(Setting(*host.doc, kF07), 4500);

    // A document in print preview is not refilled either. The fresh document
    // is modified: No to its save question.
    host.printPreview = true;
    prompts.yesNoAnswers = {false};
    ASSERT_TRUE(RunReadCommand(ctx, {3, true, true}));
    EXPECT_EQ(host.closes, 2);
    EXPECT_EQ(host.creations, 3);
}

TEST_F(ReadProcedure, SaveQuestionComesFirstAndAFailedSaveStopsTheRead) {
    StartStation3();
    CMarbenDoc& doc = OpenNewDocument();
    doc.SetModifiedFlag(true);
    const long before = port.TransactionCount();

    prompts.yesNoAnswers = {true};  // Yes, then the save dialog is cancelled
    EXPECT_FALSE(RunReadCommand(ctx, {3, true, true}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "yesno");
    EXPECT_EQ(port.TransactionCount(), before);
    EXPECT_EQ(app.busyFlag, 0);

    prompts.shown.clear();
    prompts.yesNoAnswers = {false};  // No: read without saving
    EXPECT_TRUE(RunReadCommand(ctx, {3, true, false}));
    EXPECT_EQ(Setting(doc, kF07), 4500);
}
