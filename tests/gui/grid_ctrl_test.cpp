// The grid control on its own: cells, keyboard, wheel, sizing, title tips and
// the generic in-place editor.
#include "grid/ui/grid_ctrl.h"
#include "grid/ui/in_place_edit.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace kolt {
namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetColumnCount(3);
        grid.SetRowCount(61);  // header + 60 data rows
        for (int r = 1; r < 61; ++r)
            for (int c = 0; c < 3; ++c) grid.SetItemText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        grid.resize(400, 300);
        grid.show();
    }
    CGridCtrl grid;
};

TEST_F(GridTest, CellsKeepTheirMembers) {
    GridCellItem item;
    item.mask = GridCellItem::kText | GridCellItem::kState | GridCellItem::kFgColour | GridCellItem::kParam;
    item.row = 3;
    item.col = 1;
    item.text = "hello";
    item.state = kCellReadOnly;
    item.fgColour = QColor(1, 2, 3);
    item.param = 42;
    EXPECT_TRUE(grid.SetItem(item));
    EXPECT_EQ(grid.GetItemText(3, 1), "hello");
    EXPECT_EQ(grid.GetItemFgColour(3, 1), QColor(1, 2, 3));
    EXPECT_EQ(grid.GetItemData(3, 1), 42);
    EXPECT_FALSE(grid.IsCellEditable(3, 1));
    EXPECT_TRUE(grid.IsCellEditable(3, 2));
    EXPECT_FALSE(grid.IsCellEditable(0, 2));  // the header row
    EXPECT_TRUE(grid.GetItemState(0, 0) & kCellFixed);
    grid.SetModified(3, 2);
    EXPECT_TRUE(grid.GetModified(3, 2));
    grid.SetModified(3, 2, false);
    EXPECT_FALSE(grid.GetModified(3, 2));
    item.row = 99;
    EXPECT_FALSE(grid.SetItem(item));
    // Unset colours and fonts come from the grid.
    EXPECT_EQ(grid.GetItemBkColour(5, 0), grid.palette().color(QPalette::Base));
    // Growing the table gives empty cells.
    grid.SetRowCount(63);
    EXPECT_EQ(grid.GetItemText(62, 0), "");
    grid.SetEditable(false);
    EXPECT_FALSE(grid.IsCellEditable(3, 2));
}

TEST_F(GridTest, ListModeSelectsTheRowOfTheFocusCell) {
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    grid.SetFocusCell(4, 1);
    EXPECT_TRUE(grid.GetItemState(4, 0) & kCellSelected);
    EXPECT_TRUE(grid.GetItemState(4, 2) & kCellSelected);
    EXPECT_TRUE(grid.GetItemState(4, 1) & kCellFocused);
    const QRect cell = grid.visualRect(grid.model()->index(6, 2));  // data row 7
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid.GetFocusCell().row, 7);
    EXPECT_EQ(grid.GetFocusCell().col, 2);
    EXPECT_TRUE(grid.GetItemState(7, 0) & kCellSelected);
    EXPECT_FALSE(grid.GetItemState(4, 0) & kCellSelected);
}

TEST_F(GridTest, KeysMoveTheFocusCell) {
    grid.SetFocusCell(5, 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.GetFocusCell().row, 6);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.GetFocusCell().col, 2);
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.GetFocusCell().row, 60);
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);  // scrolled into view
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.GetFocusCell().row, 1);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_GT(grid.GetFocusCell().row, 2);
}

TEST_F(GridTest, WheelScrollsTheDesktopsLinesPerNotch) {
    EXPECT_EQ(grid.WheelScrollLines(), QApplication::wheelScrollLines());
    const int before = grid.verticalScrollBar()->value();
    const QPointF at(50, 50);
    QWheelEvent notch(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &notch);
    EXPECT_EQ(grid.verticalScrollBar()->value(), before + grid.WheelScrollLines());
}

TEST_F(GridTest, ColumnsSizeToContentsAndFillTheWidth) {
    grid.SetItemText(2, 0, "a rather long text in the first column");
    grid.AutoSizeColumns();
    const int w0 = grid.columnWidth(0), w1 = grid.columnWidth(1), w2 = grid.columnWidth(2);
    EXPECT_GT(w0, w1);
    grid.ExpandColumnsToFit();
    const int total = grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2);
    EXPECT_EQ(total, grid.viewport()->width());
    // Shared equally: each column grew by the same amount, give or take a pixel.
    const int g0 = grid.columnWidth(0) - w0, g1 = grid.columnWidth(1) - w1, g2 = grid.columnWidth(2) - w2;
    EXPECT_LE(std::abs(g0 - g1), 1);
    EXPECT_LE(std::abs(g1 - g2), 1);
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
}

TEST_F(GridTest, TitleTipOnlyForCutOffText) {
    grid.setColumnWidth(0, 30);
    grid.setColumnWidth(1, 300);
    grid.SetItemText(2, 0, "a text far too long for thirty pixels");
    grid.SetItemText(2, 1, "short");
    EXPECT_EQ(grid.TitleTipText(2, 0), "a text far too long for thirty pixels");
    EXPECT_EQ(grid.TitleTipText(2, 1), "");

    // The mouse resting on the cut-off cell shows the tip over the cell; another cell hides it.
    const auto moveTo = [&](int dataRow, int col) {
        const QPointF at = grid.visualRect(grid.model()->index(dataRow - 1, col)).center();
        QMouseEvent move(QEvent::MouseMove, at, grid.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &move);
    };
    moveTo(2, 0);
    ASSERT_TRUE(grid.TitleTip()->isVisible());
    EXPECT_EQ(grid.TitleTip()->text(), "a text far too long for thirty pixels");
    EXPECT_EQ(grid.TitleTip()->pos(),
              grid.viewport()->mapToGlobal(grid.visualRect(grid.model()->index(1, 0)).topLeft()));
    EXPECT_TRUE(grid.TitleTip()->testAttribute(Qt::WA_TransparentForMouseEvents));
    moveTo(2, 1);
    EXPECT_FALSE(grid.TitleTip()->isVisible());
    moveTo(2, 0);
    EXPECT_TRUE(grid.TitleTip()->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid.viewport(), &leave);
    EXPECT_FALSE(grid.TitleTip()->isVisible());
}

TEST_F(GridTest, TypedCharacterStartsAnEditWithIt) {
    grid.SetFocusCell(2, 1);
    QTest::keyClick(&grid, Qt::Key_X);
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(grid.Editor()->text(), "x");  // no parameter filter: any text
    QTest::keyClicks(grid.Editor(), "yz");
    QTest::keyClick(grid.Editor(), Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetItemText(2, 1), "xyz");
    EXPECT_TRUE(grid.GetModified(2, 1));
    // Ctrl with a key does not start an edit; read-only cells never do.
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(grid.IsEditing());
    grid.SetItemState(2, 1, kCellReadOnly);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
}

TEST_F(GridTest, EditorFollowsScrolling) {
    grid.SetFocusCell(3, 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.IsEditing());
    const int y = grid.Editor()->y();
    grid.ScrollLines(1);
    EXPECT_LT(grid.Editor()->y(), y);
    QTest::keyClick(grid.Editor(), Qt::Key_Escape);
    EXPECT_EQ(grid.GetItemText(3, 0), "r3c0");
}

}  // namespace
}  // namespace kolt
