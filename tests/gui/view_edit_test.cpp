// Editing settings in the parameter view: the typing filter in the real editor,
// the range check, the commit into the document and the online-edit hand-over.
#include "view_fixture.h"

#include <QSignalSpy>

namespace kolt::testing {
namespace {

constexpr int kF01 = 1;    // one decimal, width 5, 0.1~999.0
constexpr int kF23 = 23;   // two decimals, width 5
constexpr int kF52 = 52;   // factory default
constexpr int kC23 = 123;  // one decimal, width 4

TEST_F(ViewTest, OneDecimalWidthFourTakesTwoDigitsBeforeThePoint) {
    MakeView();
    EXPECT_EQ(TypeInto(kC23, "12."), "12.");
    Grid().EndEditing();
    EXPECT_EQ(TypeInto(kC23, "123"), "12");  // the third digit is refused
    Grid().EndEditing();
    EXPECT_EQ(TypeInto(kC23, "1x-2.55"), "12.5");
    Grid().EndEditing();
}

TEST_F(ViewTest, TwoDecimalsWidthFourTakesOneDigitBeforeThePoint) {
    MakeView();
    // No catalogue parameter has this width; the editor reads the document's table.
    doc->widthByNumber[kF23] = 4;
    EXPECT_EQ(TypeInto(kF23, "1.23"), "1.23");
    Grid().EndEditing();
    EXPECT_EQ(TypeInto(kF23, "12"), "1");
    Grid().EndEditing();
    doc->widthByNumber[kF23] = 5;
    EXPECT_EQ(TypeInto(kF23, "12.34"), "12.34");
}

TEST_F(ViewTest, HowTheEditorStarts) {
    MakeView();
    CParamGrid& g = Grid();
    // A typed character replaces the text.
    g.SetFocusCell(RowOf(kF01), 4);
    QTest::keyClick(&g, Qt::Key_7);
    ASSERT_TRUE(g.IsEditing());
    EXPECT_EQ(g.Editor()->text(), "7");
    QTest::keyClick(g.Editor(), Qt::Key_Escape);
    // Backspace starts with the last character gone and the caret at the end.
    QTest::keyClick(&g, Qt::Key_Backspace);
    ASSERT_TRUE(g.IsEditing());
    EXPECT_EQ(g.Editor()->text(), "5.");
    EXPECT_EQ(g.Editor()->cursorPosition(), 2);
    QTest::keyClick(g.Editor(), Qt::Key_Escape);
    // Enter and a double-click select the whole text.
    CInPlaceEdit* ed = OpenEditor(kF01);
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->selectedText(), "5.0");
    QTest::keyClick(ed, Qt::Key_Escape);
    const QRect cell = g.visualRect(g.model()->index(RowOf(kF01) - 1, 4));
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(g.IsEditing());
    EXPECT_EQ(g.Editor()->selectedText(), "5.0");
    QTest::keyClick(g.Editor(), Qt::Key_Escape);
    // A letter opens the editor but is not typed.
    QTest::keyClick(&g, Qt::Key_A);
    ASSERT_TRUE(g.IsEditing());
    EXPECT_EQ(g.Editor()->text(), "5.0");
    QTest::keyClick(g.Editor(), Qt::Key_Escape);
    // Read-only settings open nothing.
    g.SetFocusCell(RowOf(53), 4);
    QTest::keyClick(&g, Qt::Key_Return);
    QTest::keyClick(&g, Qt::Key_1);
    EXPECT_FALSE(g.IsEditing());
}

TEST_F(ViewTest, AcceptedEditIsStoredNormalised) {
    MakeView();
    ASSERT_FALSE(doc->IsModified());
    Edit(kF01, "12");
    EXPECT_EQ(Setting(kF01), "12.0");
    EXPECT_EQ(DocValue(kF01), 120);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Grid().GetModified(RowOf(kF01), 4));
    EXPECT_TRUE(prompts.shown.empty());
    // Tab ends an edit too; an emptied cell becomes 0.
    Edit(7, "150.5", Qt::Key_Tab);
    EXPECT_EQ(Setting(7), "150.50");
    EXPECT_EQ(DocValue(7), 15050);
    Edit(kF23, "", Qt::Key_Tab);  // the whole text is selected: typing nothing keeps it
    EXPECT_EQ(Setting(kF23), "0.00");
    CInPlaceEdit* ed = OpenEditor(18);  // F18 0..100
    ASSERT_NE(ed, nullptr);
    QTest::keyClick(ed, Qt::Key_Backspace);
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_EQ(Setting(18), "0");
}

TEST_F(ViewTest, FocusLeavingEndsTheEdit) {
    MakeView();
    CInPlaceEdit* ed = OpenEditor(kF01);
    ASSERT_NE(ed, nullptr);
    QTest::keyClicks(ed, "33");
    Grid().EndEditing();  // what a click elsewhere does
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_EQ(DocValue(kF01), 330);
}

TEST_F(ViewTest, EscapeChangesNothing) {
    MakeView();
    CInPlaceEdit* ed = OpenEditor(kF01);
    ASSERT_NE(ed, nullptr);
    QTest::keyClicks(ed, "77");
    EXPECT_EQ(ed->text(), "77");
    QTest::keyClick(ed, Qt::Key_Escape);
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_EQ(Setting(kF01), "5.0");
    EXPECT_EQ(DocValue(kF01), 50);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Grid().GetModified(RowOf(kF01), 4));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ViewTest, OutOfRangeShowsTheMessageAndKeepsTheOldValue) {
    MakeView();
    Edit(kF01, "0");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Over Range !!\n\nCode: F01\nRange Value: 0.1~999.0");
    EXPECT_EQ(prompts.shown[0].caption, "Error Message");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Information);
    EXPECT_EQ(prompts.busyDuringMessage, std::vector<int>{1});
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(Setting(kF01), "5.0");
    EXPECT_EQ(DocValue(kF01), 50);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ViewTest, FactoryDefaultIsEditedOnlyOnlineAndLinked) {
    MakeView();
    EXPECT_EQ(OpenEditor(kF52), nullptr);
    app.settings.onlineEdit = 1;
    EXPECT_EQ(OpenEditor(kF52), nullptr);
    app.linkedFlag = 1;
    EXPECT_NE(OpenEditor(kF52), nullptr);
    QTest::keyClick(Grid().Editor(), Qt::Key_Escape);
    // The pointer over the Setting column says the same.
    EXPECT_EQ(Grid().CellCursor(RowOf(kF52), 4)->shape(), Qt::IBeamCursor);
    app.linkedFlag = 0;
    EXPECT_EQ(Grid().CellCursor(RowOf(kF52), 4)->shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(Grid().CellCursor(RowOf(kF01), 4)->shape(), Qt::IBeamCursor);
    EXPECT_EQ(Grid().CellCursor(RowOf(0), 4)->shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(Grid().CellCursor(RowOf(150), 4)->shape(), Qt::ForbiddenCursor);
    EXPECT_FALSE(Grid().CellCursor(RowOf(kF01), 3).has_value());
}

TEST_F(ViewTest, FactoryDefaultFifteenIsOverRange) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    MakeView();
    QSignalSpy posted(view.get(), &CMarbenView::onlineEditCommitted);
    Edit(kF52, "15");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Over Range !!\n\nCode: F52\nRange Value: 0, 10, 20");
    EXPECT_EQ(Setting(kF52), "0");
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.count(), 0);
}

TEST_F(ViewTest, OnlineEditIsPostedAfterTheEdit) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    MakeView();
    QSignalSpy posted(view.get(), &CMarbenView::onlineEditCommitted);
    Edit(kC23, "2.5");
    EXPECT_EQ(posted.count(), 0);  // not inside the edit
    EXPECT_EQ(DocValue(kC23), 25);
    QCoreApplication::processEvents();
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted.at(0).at(0).toInt(), kC23);
    // Enter on an unchanged value sends it again.
    Edit(kC23, "");
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.count(), 2);
}

TEST_F(ViewTest, FactoryDefaultZeroIsStoredButNotSent) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    app.currentModel = 7;
    doc = std::make_unique<CMarbenDoc>(app);
    doc->OnNewDocument();
    doc->values[0][kF52] = 10;
    ShowView();
    QSignalSpy posted(view.get(), &CMarbenView::onlineEditCommitted);
    Edit(kF52, "0");
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.count(), 0);
    EXPECT_EQ(DocValue(kF52), 0);
    EXPECT_EQ(Setting(kF52), "0");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ViewTest, OfflineEditsAreNotPosted) {
    MakeView();
    QSignalSpy posted(view.get(), &CMarbenView::onlineEditCommitted);
    Edit(kF01, "9");
    QCoreApplication::processEvents();
    EXPECT_EQ(posted.count(), 0);
    EXPECT_FALSE(Grid().LastOnlineEdit().valid);
}

TEST_F(ViewTest, RestoreOnlineEditPutsEverythingBack) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    MakeView();
    ASSERT_FALSE(doc->IsModified());
    Edit(kF01, "12.5");
    ASSERT_EQ(DocValue(kF01), 125);
    ASSERT_TRUE(doc->IsModified());
    view->RestoreOnlineEdit();
    EXPECT_EQ(DocValue(kF01), 50);
    EXPECT_EQ(Setting(kF01), "5.0");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Grid().GetModified(RowOf(kF01), 4));

    // A document already modified before the edit stays modified.
    Edit(7, "60");
    Edit(kF01, "7");
    view->RestoreOnlineEdit();
    EXPECT_EQ(DocValue(kF01), 50);
    EXPECT_EQ(DocValue(7), 6000);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ViewTest, ShowSettingAfterAWrite) {
    MakeView();
    doc->values[0][kF52] = 0;
    view->ShowSettingTextInRow(RowOf(kF52), "10");
    EXPECT_EQ(Setting(kF52), "10");
    view->ShowSettingText(kF52, "20");  // by parameter number
    EXPECT_EQ(Setting(kF52), "20");
    view->ShowSetting(kF52);
    EXPECT_EQ(Setting(kF52), "0");
    EXPECT_EQ(view->RowOfNumber(155), 111);
    EXPECT_EQ(view->RowOfNumber(60), -1);
}

}  // namespace
}  // namespace kolt::testing
