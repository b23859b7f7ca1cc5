#include "link/read_procedure.h"

#include "link/inverter_compare.h"

#include "link_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kF07 = 7, kC25 = 125, kC25Slot = 80;

class ReadProcedure : public LinkBench {
protected:
    // Station 3 of model 5, with F07 and C25 away from their defaults; linked to station 1.
    void SetUp() override {
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
    app.staging.compareMode = 1;
    app.staging.names[0] = "old";
    app.staging.values[0][200] = 77;

    ASSERT_TRUE(RunReadCommand(ctx, {3, true, true}));
    ASSERT_NE(host.doc, nullptr);
    const CMarbenDoc& doc = *host.doc;
    // F07, C25 and F00 (the drive's capacity code) as the drive holds them; the
    // fresh read taken by the new document.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), host.creations, Setting(doc, kF07), Setting(doc, kC25Slot),
                              Setting(doc, 0), doc.model, doc.IsCompare(), doc.IsModified(), app.freshRead),
              std::make_tuple(0u, 1, 4500, 3, 5, 5, false, true, 0));
    EXPECT_EQ(std::tie(app.currentStation, app.currentModel, app.softwareVersion, app.busyFlag, app.linkedFlag),
              std::make_tuple(3, 5, 12, 0, 1));
    // The read buffer starts clean, also beyond the parameters.
    EXPECT_EQ(std::tie(app.staging.compareMode, app.staging.names[0], app.staging.values[0][200]),
              std::make_tuple(0, "", 0));

    // Version and capacity, then one transaction per parameter.
    ASSERT_EQ(prompts.progressTexts.size(), 111u);
    EXPECT_EQ(std::make_tuple(port.TransactionCount(), prompts.progressTexts[7], prompts.progressTexts.back(),
                              prompts.progressSteps, prompts.progressCancellable || prompts.progressOpen),
              std::make_tuple(3 + 2 + 111, "Read Inverter Function Parameter...F07",
                              "Read Inverter Function Parameter...C55", 56, false));
}

TEST_F(ReadProcedure, OnlyBasicReadPutsEveryAdvancedParameterBackToItsDefault) {
    app.currentModel = 5;
    CMarbenDoc& doc = OpenNewDocument();
    constexpr int kC00Slot = 55, kC55Slot = 110;
    for (int slot : {kC00Slot, kC25Slot, kC55Slot}) doc.values[0][slot] = 7;  // edits the refill must replace

    ASSERT_TRUE(RunReadCommand(ctx, {3, true, false}));
    // F07 from the drive; model 5's factory defaults: C00 0, C25 17, C55 0.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), Setting(doc, kF07), Setting(doc, kC00Slot), Setting(doc, kC25Slot),
                              Setting(doc, kC55Slot), port.TransactionCount()),
              std::make_tuple(0u, 4500, 0, 17, 0, 3 + 2 + 55));
}

TEST_F(ReadProcedure, OnlyAdvancedReadIntoTheOpenDocumentKeepsBasicDefaults) {
    app.currentModel = 5;
    CMarbenDoc& doc = OpenNewDocument();
    doc.values[0][kF07] = 1234;  // an edit that the refill replaces by the default
    doc.stationTitles[2] = "feed pump";  // the drive supplies neither titles nor the print block
    doc.printFields[kPrintRemark3] = "line 3";

    ASSERT_TRUE(RunReadCommand(ctx, {3, false, true}));
    // The open document refilled, not replaced; F07 at model 5's default, 50.00 Hz.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), host.creations, doc.stationTitles[2], doc.printFields[7],
                              Setting(doc, kF07), Setting(doc, kC25Slot), doc.IsModified()),
              std::make_tuple(0u, 1, "feed pump", "line 3", 5000, 3, true));
    EXPECT_EQ(std::make_tuple(prompts.progressTexts.front(), port.TransactionCount()),
              std::make_tuple("Read Inverter Function Parameter...C00", 3 + 2 + 56));
}

TEST_F(ReadProcedure, ReadFailingMidwayLeavesEverythingAsItWas) {
    app.currentModel = 2;
    CMarbenDoc& doc = OpenNewDocument();
    const SlotValues before = doc.values[0];
    const SlotValues bufferBefore = app.staging.values[0];
    // Link: echo, version, capacity; read: version, capacity, F00..F29; then silence.
    drive->SetSilentAfter(3 + 2 + 30);

    EXPECT_FALSE(RunReadCommand(ctx, {3, true, true}));
    EXPECT_EQ(std::make_tuple(Boxes(prompts), prompts.progressTexts.back(), prompts.progressOpen, doc.IsModified()),
              std::make_tuple(Texts{"Communication Message: TIME-OUT !!"}, "Read Inverter Function Parameter...F30",
                              false, false));
    EXPECT_EQ(std::tie(doc.values[0], app.staging.values[0]), std::tie(before, bufferBefore));
    // Station, model and version untouched; the link stays.
    EXPECT_EQ(std::tie(app.currentStation, app.currentModel, app.softwareVersion, app.busyFlag, app.linkedFlag),
              std::make_tuple(1, 2, 99, 0, 1));
}

TEST_F(ReadProcedure, CompareOrPreviewDocumentIsClosedAndANewOneCreated) {
    CMarbenDoc& old = OpenNewDocument();
    old.compareMode = 1;
    app.staging.compareMode = 1;
    ASSERT_TRUE(RunReadCommand(ctx, {3, true, false}));
    EXPECT_EQ(std::make_tuple(host.closes, host.creations, host.doc->IsCompare()), std::make_tuple(1, 2, false));

    // The fresh document is modified: No to its save question.
    host.printPreview = true;
    prompts.yesNoAnswers = {false};
    ASSERT_TRUE(RunReadCommand(ctx, {3, true, false}));
    EXPECT_EQ(std::tie(host.closes, host.creations), std::make_tuple(2, 3));
}

TEST_F(ReadProcedure, SaveQuestionComesFirstAndAFailedSaveStopsTheRead) {
    CMarbenDoc& doc = OpenNewDocument();
    doc.SetModifiedFlag(true);
    const long before = port.TransactionCount();

    prompts.yesNoAnswers = {true};  // Yes, then the save dialog is cancelled
    EXPECT_FALSE(RunReadCommand(ctx, {3, true, true}));
    EXPECT_EQ(std::make_tuple(prompts.shown.at(0).kind, port.TransactionCount(), app.busyFlag),
              std::make_tuple("yesno", before, 0));

    prompts.yesNoAnswers = {false};  // No: read without saving
    EXPECT_TRUE(RunReadCommand(ctx, {3, true, false}));
    EXPECT_EQ(Setting(doc, kF07), 4500);
}

TEST_F(ReadProcedure, NotLinkedReadsNothing) {
    app.linkedFlag = 0;
    const long frames = drive->FramesSeen();
    EXPECT_FALSE(ReadParameters(ctx, 3, true, true));
    EXPECT_EQ(std::make_tuple(prompts.Texts(), drive->FramesSeen()), std::make_tuple(Texts{"KOLT Not Link With PC !!"}, frames));
}

// Compare Inverter with Default reads as Read does; its whole flow is a window test.
TEST_F(ReadProcedure, InverterCompareAsksToSaveBeforeAnyFrameAndCancelChangesNothing) {
    app.settings.hz50 = 1;
    OpenNewDocument().SetModifiedFlag(true);
    const long before = port.TransactionCount();
    prompts.yesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(RunInverterCompareCommand(ctx, {3, false}));
    EXPECT_EQ(Boxes(prompts), Texts{"KOLT Quendal 1.2: The file has been modified!\nDo you want to save file?\n"});
    EXPECT_EQ(std::make_tuple(port.TransactionCount(), host.closes, host.creations, app.currentStation, app.settings.hz50,
                              app.staging.compareMode, app.busyFlag),
              std::make_tuple(before, 0, 1, 1, 1, 0, 0));
}
