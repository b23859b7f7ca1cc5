// Online edit from the parameter view against the virtual drive: the edit goes
// to the drive after it has ended, and a refused write takes it back.
#include "core/link_test_support.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QCoreApplication>
#include <QTest>

namespace kolt::testing {
namespace {

class ViewOnlineTest : public LinkBench {
protected:
    void SetUp() override {
        StartDrive(QuickDrive({1}, 7));
        LinkStation(1);
        app.settings.onlineEdit = 1;
        doc = &OpenNewDocument();
        view = std::make_unique<CMarbenView>(doc, &app, &prompts);
        view->SetLinkContext(&ctx);
        view->resize(900, 500);
        view->show();
    }
    void TearDown() override {
        view.reset();
        LinkBench::TearDown();
    }
    void Edit(int number, const char* keys) {
        CParamGrid& g = *view->Grid();
        g.SetFocusCell(SlotOfNumber(number) + 1, 4);
        QTest::keyClick(&g, Qt::Key_Return);
        ASSERT_TRUE(g.IsEditing());
        QTest::keyClicks(g.Editor(), QString::fromLatin1(keys));
        QTest::keyClick(g.Editor(), Qt::Key_Return);
        ASSERT_TRUE(prompts.shown.empty()) << "nothing may be sent inside the edit";
        QCoreApplication::processEvents();
    }
    QString Cell(int number) { return view->Grid()->GetItemText(SlotOfNumber(number) + 1, 4); }

    CMarbenDoc* doc = nullptr;
    std::unique_ptr<CMarbenView> view;
};

TEST_F(ViewOnlineTest, AcceptedWriteKeepsTheEdit) {
    Edit(1, "12.5");
    ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"Write Parameter Successfully !!"});
    EXPECT_EQ(drive->ParamValue(1, 1), 125);
    EXPECT_EQ(Setting(*doc, 1), 125);
    EXPECT_EQ(Cell(1), "12.5");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view->Station(), 1);
}

TEST_F(ViewOnlineTest, UnansweredWriteRevertsTheEdit) {
    drive->SetSilent(1, true);
    Edit(1, "12.5");
    ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"TIME-OUT !!"});
    EXPECT_EQ(Setting(*doc, 1), 50);
    EXPECT_EQ(Cell(1), "5.0");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ViewOnlineTest, FactoryResetAnsweredNoRevertsAndYesShowsZero) {
    prompts.yesNoAnswers = {false};
    Edit(52, "10");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Code: F52\nReset to factory default (50 Hz)?");
    EXPECT_EQ(Setting(*doc, 52), 0);
    EXPECT_EQ(Cell(52), "0");
    EXPECT_FALSE(doc->IsModified());

    prompts.shown.clear();
    prompts.yesNoAnswers = {true};
    Edit(52, "20");
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"Code: F52\nReset to factory default (60 Hz)?",
                                                         "Write Parameter Successfully !!"}));
    EXPECT_EQ(Setting(*doc, 52), 0);  // the drive has reset; F52 reads back as 0
    EXPECT_EQ(Cell(52), "0");
}

}  // namespace
}  // namespace kolt::testing
