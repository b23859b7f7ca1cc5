// Compare Inverter with Default after its dialog, against the virtual drive
// (the whole command through its dialog is a GUI test).
#include "link/inverter_compare.h"

#include "link_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

class InverterCompare : public LinkBench {
protected:
    // Stations 1 and 3 of model 5; linked to station 1.
    void SetUp() override {
        StartDrive(QuickDrive({1, 3}, 5));
        LinkStation(1);
        app.settings.hz50 = 1;
    }
};

TEST_F(InverterCompare, SaveQuestionComesBeforeAnyFrameAndCancelChangesNothing) {
    CMarbenDoc& doc = OpenNewDocument();
    doc.SetModifiedFlag(true);
    const long before = port.TransactionCount();
    prompts.yesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(RunInverterCompareCommand(ctx, {3, false}));
    EXPECT_EQ(Boxes(prompts),
              Texts{"KOLT Quendal 1.2: The file has been modified!\nDo you want to save file?\n"});
    EXPECT_EQ(port.TransactionCount(), before);
    EXPECT_EQ(std::tie(host.closes, host.creations), std::make_tuple(0, 1));
    EXPECT_EQ(std::tie(app.currentStation, app.settings.hz50, app.staging.compareMode, app.busyFlag),
              std::make_tuple(1, 1, 0, 0));
}

}  // namespace
