// The grid control on its own: clicks and keys move the focus row, and the
// view scrolls to keep it in sight.
#include "grid/ui/grid_ctrl.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace kolt {
namespace {

TEST(GridCtrl, KeysAndClicksMoveTheFocusRow) {
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(61);  // header + 60 data rows
    for (int r = 1; r < 61; ++r)
        for (int c = 0; c < 3; ++c) grid.SetItemText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
    grid.resize(400, 300);
    grid.show();
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    grid.SetFocusCell(4, 1);
    EXPECT_TRUE(grid.GetItemState(4, 0) & kCellSelected);
    const QPoint cell = grid.visualRect(grid.model()->index(6, 2)).center();  // row 7, column 2
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
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
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace kolt
