#include "link/write_procedure.h"

#include "app/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "link_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kModel = 4;
constexpr int kF07 = 7, kC25 = 125, kC25Slot = 80;

class WriteProcedure : public LinkBench {
protected:
    // Stations of model 4, linked to the first; a document for the same model
    // with F07 and C25 away from the drive's values.
    CMarbenDoc& Setup(std::vector<int> stations, std::set<int> silent = {}) {
        auto o = QuickDrive(stations, kModel);
        o.silent = std::move(silent);
        StartDrive(o);
        for (int s : stations)
            if (!o.silent.count(s)) {
                LinkStation(s);
                break;
            }
        app.currentModel = kModel;
        CMarbenDoc& doc = OpenNewDocument();
        doc.values[0][kF07] = 4000;
        doc.values[0][kC25Slot] = 2;
        return doc;
    }

    WriteRequest To(std::vector<int> stations, bool basic = true, bool advanced = true) {
        return {std::move(stations), basic, advanced};
    }

    bool Written(int station) {
        return drive->ParamValue(station, kF07) == 4000 && drive->ParamValue(station, kC25) == 2;
    }
};

}  // namespace

TEST(WriteRules, NeverWritesCapacityFactoryResetOrReadOnlyParameters) {
    for (int n : {0, 52, 53, 54, 148, 149, 155}) EXPECT_FALSE(IsWrittenByWriteCommand(n)) << n;
    for (int n : {1, 7, 51, 100, 125, 147}) EXPECT_TRUE(IsWrittenByWriteCommand(n)) << n;
    EXPECT_FALSE(IsWrittenByWriteCommand(60));
    EXPECT_EQ(WriteProgressText(1), "Write Inverter Function Parameter To Module...F01");
    EXPECT_EQ(WriteProgressText(100), "Write Inverter Function Parameter To Module...C00");
}

TEST_F(WriteProcedure, SingleStationGetsEveryWritableSettingAndItsVersionIsShown) {
    CMarbenDoc& doc = Setup({2});
    doc.values[0][52] = 10;  // a factory reset here would undo F07
    app.softwareVersion = 0;
    const int refreshes = host.statusRefreshes;

    EXPECT_EQ(RunWriteCommand(ctx, doc, To({2})), WriteOutcome::Completed);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(Written(2));
    EXPECT_EQ(app.softwareVersion, 12);
    EXPECT_GE(host.statusRefreshes, refreshes + 2);  // station pane, then version pane
    EXPECT_EQ(app.currentStation, 2);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(prompts.progressOpen);
    EXPECT_EQ(prompts.progressHigh, 56);
    EXPECT_EQ(prompts.progressSteps, 56);  // parameters not written still advance the bar

    int writable = 0;
    for (const ParamDef& p : AllParams())
        if (p.number != 0 && p.number != 52 && !p.readOnly) ++writable;
    const auto& texts = prompts.progressTexts;
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(writable));
    EXPECT_EQ(texts.front(), "Write Inverter Function Parameter To Module...F01");
    EXPECT_EQ(texts.back(), "Write Inverter Function Parameter To Module...C47");
    for (const char* never : {"F00", "F52", "F53", "F54", "C48", "C55"})
        EXPECT_EQ(std::find(texts.begin(), texts.end(), std::string(text::kWriteProgress) + never), texts.end())
            << never;
    EXPECT_EQ(drive->RequestsForUs(), 3 + 1 + 1 + writable);
}

TEST_F(WriteProcedure, SilentMiddleStationAsksAndContinueWritesTheNext) {
    CMarbenDoc& doc = Setup({1, 2, 3}, {2});
    prompts.continueAnswers = {true};
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Completed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "continue");
    EXPECT_EQ(prompts.shown[0].text, "Communication Error !!\nContinue to Next Station ?");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_TRUE(Written(1));
    EXPECT_TRUE(Written(3));
    EXPECT_EQ(app.currentStation, 3);
    EXPECT_EQ(prompts.progressOpens, prompts.progressCloses);
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(WriteProcedure, AbortStopsAtTheSilentStation) {
    CMarbenDoc& doc = Setup({1, 2, 3}, {2});
    prompts.continueAnswers = {false};
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Ended);
    EXPECT_TRUE(Written(1));
    EXPECT_FALSE(Written(3));
    EXPECT_EQ(app.currentStation, 2);  // the last station attempted
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(WriteProcedure, SilentLastStationOnlyTimesOut) {
    CMarbenDoc& doc = Setup({1, 2}, {2});
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2})), WriteOutcome::Ended);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"TIME-OUT !!"});
    EXPECT_TRUE(Written(1));
}

TEST_F(WriteProcedure, CapacityMismatchWritesNothingToThatDrive) {
    CMarbenDoc& doc = Setup({1});
    doc.values[0][0] = kModel + 1;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1})), WriteOutcome::Ended);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Parameter F00: Inverter Horse Power Capacity Error !");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
    EXPECT_FALSE(Written(1));
    EXPECT_EQ(prompts.progressOpens, 0);
}

TEST_F(WriteProcedure, CapacityMismatchOnSeveralStationsAsksToContinue) {
    CMarbenDoc& doc = Setup({1, 2});
    drive->SetParamValue(1, 0, kModel + 2);  // station 1 reports another model
    prompts.continueAnswers = {true};
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2})), WriteOutcome::Completed);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"Parameter F00: Inverter Horse Power Capacity Error !",
                                                         "Continue to Next Station ?"}));
    EXPECT_FALSE(Written(1));
    EXPECT_TRUE(Written(2));
}

TEST_F(WriteProcedure, GarbledReplyEndsTheWholeCommandWithoutAsking) {
    CMarbenDoc& doc = Setup({1, 2, 3});
    drive->SetBadLrc(2, true);
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2, 3})), WriteOutcome::Ended);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Check Sum Error !!"});
    EXPECT_TRUE(Written(1));
    EXPECT_FALSE(Written(3));
}

TEST_F(WriteProcedure, RefusedValueShowsTheDrivesTextAndSkipsTheRestOfTheStation) {
    CMarbenDoc& doc = Setup({1, 2});
    doc.values[0][kC25Slot] = MaxValue(kC25) + 1;  // the drive refuses it
    const int kC26 = 126, kC26Slot = 81;
    const int c26Before = drive->ParamValue(1, kC26);
    doc.values[0][kC26Slot] = c26Before == MinValue(kC26) ? MinValue(kC26) + 1 : MinValue(kC26);
    prompts.continueAnswers = {true};
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1, 2})), WriteOutcome::Ended);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[0].text, "Data Over Range !");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(prompts.shown[1].text, "Continue to Next Station ?");
    EXPECT_EQ(prompts.shown[2].text, "Data Over Range !");  // station 2, the last: no question
    // C26 onwards was skipped at station 1 after the refusal.
    EXPECT_EQ(drive->ParamValue(1, kC26), c26Before);
    EXPECT_EQ(prompts.progressTexts.back(), "Write Inverter Function Parameter To Module...C25");
    EXPECT_EQ(drive->ParamValue(1, kF07), 4000);
}

TEST_F(WriteProcedure, OnlyTheChosenGroupIsWritten) {
    CMarbenDoc& doc = Setup({1});
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1}, false, true)), WriteOutcome::Completed);
    EXPECT_NE(drive->ParamValue(1, kF07), 4000);
    EXPECT_EQ(drive->ParamValue(1, kC25), 2);
    EXPECT_EQ(app.writeBasic, 0);
    EXPECT_EQ(prompts.progressTexts.front(), "Write Inverter Function Parameter To Module...C00");
}

TEST_F(WriteProcedure, NoStationChosenSaysSoAndSendsNothing) {
    CMarbenDoc& doc = Setup({1});
    const long frames = drive->FramesSeen();
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({})), WriteOutcome::NotStarted);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "No station selected !!");
    EXPECT_EQ(prompts.shown[0].caption, "Write Message");
    EXPECT_EQ(drive->FramesSeen(), frames);
}

TEST_F(WriteProcedure, UnavailableWithoutLinkOrOnACompareDocument) {
    CMarbenDoc& doc = Setup({1});
    doc.compareMode = 2;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1})), WriteOutcome::NotStarted);
    EXPECT_TRUE(prompts.shown.empty());
    doc.compareMode = 0;
    app.linkedFlag = 0;
    EXPECT_EQ(RunWriteCommand(ctx, doc, To({1})), WriteOutcome::NotStarted);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"KOLT Not Link With PC !!"});
    EXPECT_FALSE(Written(1));
}
