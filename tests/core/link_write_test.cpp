#include "link/write_procedure.h"

#include "catalogue/catalogue.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kModel = 4;
constexpr int kF07 = 7, kC25 = 125, kC25Slot = 80;
const std::string kProgress = "Write Inverter Function Parameter To Module...";

class WriteProcedure : public LinkBench {
protected:
    // Stations of model 4, linked to the first; a document for the same model
    // with F07 and C25 away from the drive's values.
    CMarbenDoc& Setup(std::vector<int> stations, std::set<int> silent = {}) {
        auto o = QuickDrive(stations, kModel);
        o.silent = std::move(silent);
        StartDrive(o);
        LinkStation(stations.front());
        app.currentModel = kModel;
        CMarbenDoc& doc = OpenNewDocument();
        doc.values[0][kF07] = 4000;
        doc.values[0][kC25Slot] = 2;
        return doc;
    }

    static WriteRequest To(std::vector<int> stations, bool basic = true, bool advanced = true) {
        return {std::move(stations), basic, advanced};
    }

    bool Written(int station, int f07 = 4000) {
        return drive->ParamValue(station, kF07) == f07 && drive->ParamValue(station, kC25) == 2;
    }
};

}  // namespace

TEST_F(WriteProcedure, SingleStationGetsEveryWritableSettingAndItsVersionIsShown) {
    CMarbenDoc& doc = Setup({2});
    doc.values[0][52] = 10;  // a factory reset here would undo F07
    app.softwareVersion = 0;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({2})), WriteOutcome::Completed);
    // Parameters not written still advance the bar.
    EXPECT_EQ(std::make_tuple(prompts.shown.size(), Written(2), app.softwareVersion, doc.IsModified(), prompts.progressOpen,
                              prompts.progressSteps),
              std::make_tuple(0u, true, 12, false, false, 56));

    const int writable = 99;  // F01..F51 and C00..C47: F00, F52 and the read-only ones never go
    const auto& texts = prompts.progressTexts;
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(writable));
    EXPECT_EQ(std::make_tuple(texts.front(), texts.back()), std::make_tuple(kProgress + "F01", kProgress + "C47"));
    for (const char* never : {"F00", "F52", "F53", "F54", "C48", "C55"})
        EXPECT_EQ(std::find(texts.begin(), texts.end(), kProgress + never), texts.end()) << never;
    EXPECT_EQ(drive->RequestsForUs(), 3 + 1 + 1 + writable);
}

TEST_F(WriteProcedure, SilentMiddleStationAsksContinueOrAbort) {
    CMarbenDoc& doc = Setup({1, 2, 3}, {2});
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Completed);  // Continue
    EXPECT_EQ(Boxes(prompts), Texts{"Write Message: Communication Error !!\nContinue to Next Station ?"});
    EXPECT_EQ(std::make_tuple(Written(1) && Written(3), app.currentStation), std::make_tuple(true, 3));

    doc.values[0][kF07] = 4100;
    prompts.continueAnswers = {false};
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Ended);
    // Station 3 not reached; station 2 was the last attempted.
    EXPECT_EQ(std::make_tuple(Written(1, 4100) && Written(3, 4000), app.currentStation, prompts.progressOpens, app.linkedFlag),
              std::make_tuple(true, 2, prompts.progressCloses, 1));
}

TEST_F(WriteProcedure, CapacityMismatchWritesNothingToThatDrive) {
    CMarbenDoc& doc = Setup({1, 2});
    drive->SetParamValue(1, 0, kModel + 2);  // station 1 reports another model
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2})), WriteOutcome::Completed);
    EXPECT_EQ(Boxes(prompts), (Texts{"Error Message: Parameter F00: Inverter Horse Power Capacity Error !",
                                     "Write Message: Continue to Next Station ?"}));
    EXPECT_TRUE(!Written(1) && Written(2));
}

TEST_F(WriteProcedure, GarbledReplyEndsTheWholeCommandWithoutAsking) {
    CMarbenDoc& doc = Setup({1, 2, 3});
    drive->SetBadLrc(2, true);
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Ended);
    EXPECT_EQ(prompts.Texts(), Texts{"Check Sum Error !!"});
    EXPECT_TRUE(Written(1) && !Written(3));
}

TEST_F(WriteProcedure, RefusedValueShowsTheDrivesTextAndSkipsTheRestOfTheStation) {
    CMarbenDoc& doc = Setup({1, 2});
    doc.values[0][kC25Slot] = MaxValue(kC25) + 1;  // the drive refuses it
    const int kC26 = 126, kC26Slot = 81;
    const int c26Before = drive->ParamValue(1, kC26);
    doc.values[0][kC26Slot] = c26Before == MinValue(kC26) ? MinValue(kC26) + 1 : MinValue(kC26);
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2})), WriteOutcome::Ended);
    // Station 2 is the last: no question after its refusal.
    EXPECT_EQ(Boxes(prompts), (Texts{"Error Message: Data Over Range !", "Write Message: Continue to Next Station ?",
                                     "Error Message: Data Over Range !"}));
    // C26 skipped after the refusal.
    EXPECT_EQ(std::make_tuple(drive->ParamValue(1, kF07), drive->ParamValue(1, kC26), prompts.progressTexts.back()),
              std::make_tuple(4000, c26Before, kProgress + "C25"));
}

TEST_F(WriteProcedure, OnlyTheChosenGroupIsWritten) {
    CMarbenDoc& doc = Setup({1});
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1}, false, true)), WriteOutcome::Completed);
    EXPECT_EQ(std::make_pair(drive->ParamValue(1, kF07) == 4000, drive->ParamValue(1, kC25)), std::make_pair(false, 2));
    EXPECT_EQ(prompts.progressTexts.front(), kProgress + "C00");
}

TEST_F(WriteProcedure, NothingIsSentWithoutStationLinkOrOnACompareDocument) {
    CMarbenDoc& doc = Setup({1});
    const long frames = drive->FramesSeen();
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({})), WriteOutcome::NotStarted);
    doc.compareMode = 2;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1})), WriteOutcome::NotStarted);  // silently
    doc.compareMode = 0;
    app.linkedFlag = 0;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1})), WriteOutcome::NotStarted);
    EXPECT_EQ(Boxes(prompts), (Texts{"Write Message: No station selected !!",
                                     "Communication Message: KOLT Not Link With PC !!"}));
    EXPECT_EQ(drive->FramesSeen(), frames);
}
