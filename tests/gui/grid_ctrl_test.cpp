// The grid control on its own: cells, keyboard, wheel, sizing, title tips and
// the generic in-place editor.
#include "grid/ui/grid_ctrl.h"
#include "grid/ui/in_place_edit.h"

#include <QApplication>
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
    QPointF CellCentre(int row, int col) { return grid.visualRect(grid.model()->index(row - 1, col)).center(); }
    CGridCtrl grid;
};

TEST_F(GridTest, KeysClicksAndTheWheelMoveTheFocusRow) {
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    grid.SetFocusCell(4, 1);
    EXPECT_TRUE(grid.GetItemState(4, 0) & kCellSelected);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(7, 2).toPoint());
    EXPECT_EQ(grid.GetFocusCell().row, 7);
    EXPECT_EQ(grid.GetFocusCell().col, 2);
    EXPECT_TRUE(grid.GetItemState(7, 0) & kCellSelected);
    EXPECT_FALSE(grid.GetItemState(4, 0) & kCellSelected);

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.GetFocusCell().row, 8);
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.GetFocusCell().row, 60);
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);  // scrolled into view
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.GetFocusCell().row, 1);

    EXPECT_EQ(grid.WheelScrollLines(), QApplication::wheelScrollLines());
    const int before = grid.verticalScrollBar()->value();
    const QPointF at(50, 50);
    QWheelEvent notch(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &notch);
    EXPECT_EQ(grid.verticalScrollBar()->value(), before + grid.WheelScrollLines());
}

TEST_F(GridTest, ColumnsSizeToContentsAndShareTheRestEqually) {
    grid.SetItemText(2, 0, "a rather long text in the first column");
    grid.AutoSizeColumns();
    const int w0 = grid.columnWidth(0), w1 = grid.columnWidth(1), w2 = grid.columnWidth(2);
    EXPECT_GT(w0, w1);
    grid.ExpandColumnsToFit();
    EXPECT_EQ(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2), grid.viewport()->width());
    const int g0 = grid.columnWidth(0) - w0, g1 = grid.columnWidth(1) - w1, g2 = grid.columnWidth(2) - w2;
    EXPECT_LE(std::abs(g0 - g1), 1);
    EXPECT_LE(std::abs(g1 - g2), 1);
}

TEST_F(GridTest, TitleTipOnlyForCutOffText) {
    grid.setColumnWidth(0, 30);
    grid.setColumnWidth(1, 300);
    const QString longText = "a text far too long for thirty pixels";
    grid.SetItemText(2, 0, longText);
    grid.SetItemText(2, 1, "short");
    const auto moveTo = [&](int row, int col) {
        const QPointF at = CellCentre(row, col);
        QMouseEvent move(QEvent::MouseMove, at, grid.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &move);
    };
    moveTo(2, 0);
    ASSERT_TRUE(grid.TitleTip()->isVisible());
    EXPECT_EQ(grid.TitleTip()->text(), longText);
    EXPECT_TRUE(grid.TitleTip()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(grid.TitleTip()->pos(),
              grid.viewport()->mapToGlobal(grid.visualRect(grid.model()->index(1, 0)).topLeft()));
    moveTo(2, 1);
    EXPECT_FALSE(grid.TitleTip()->isVisible());
    moveTo(2, 0);
    ASSERT_TRUE(grid.TitleTip()->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid.viewport(), &leave);
    EXPECT_FALSE(grid.TitleTip()->isVisible());
}

TEST_F(GridTest, InPlaceEditor) {
    grid.SetFocusCell(2, 1);
    QTest::keyClick(&grid, Qt::Key_X);  // no parameter filter here: any text
    ASSERT_TRUE(grid.IsEditing());
    QTest::keyClick(grid.Editor(), Qt::Key_Return);
    EXPECT_EQ(grid.GetItemText(2, 1), "x");
    EXPECT_TRUE(grid.GetModified(2, 1));
    grid.SetItemState(2, 1, kCellReadOnly);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());

    grid.SetFocusCell(3, 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.IsEditing());
    const int y = grid.Editor()->y();
    grid.ScrollLines(1);
    EXPECT_LT(grid.Editor()->y(), y);  // the editor follows the cell
    QTest::keyClick(grid.Editor(), Qt::Key_Escape);
    EXPECT_EQ(grid.GetItemText(3, 0), "r3c0");
}

}  // namespace
}  // namespace kolt
