// The grid control on its own: clicks and keys move the focus row, and the
// view scrolls to keep it in sight.
#include "grid/ui/grid_ctrl.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

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
    const auto selected = [&grid](int row) { return (grid.GetItemState(row, 0) & kCellSelected) != 0; };
    grid.SetFocusCell(4, 1);
    EXPECT_TRUE(selected(4));
    const QPoint cell = grid.visualRect(grid.model()->index(6, 2)).center();  // row 7, column 2
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(std::tuple(grid.GetFocusCell().row, grid.GetFocusCell().col, selected(7), selected(4)), std::tuple(7, 2, true, false));
    // Each key, the focus row after it and whether the view has scrolled to keep it in sight.
    for (const auto& [key, row, scrolled] : {std::tuple(Qt::Key_Down, 8, false), std::tuple(Qt::Key_End, 60, true),
                                             std::tuple(Qt::Key_Home, 1, false)}) {
        QTest::keyClick(&grid, key);
        EXPECT_EQ(std::tuple(grid.GetFocusCell().row, grid.verticalScrollBar()->value() > 0), std::tuple(row, scrolled));
    }
}

// A cut-off cell shows its whole text in the title tip while the pointer rests on
// it. The tip lets the mouse through to the grid: were it to take the pointer, the
// grid would be left and the tip hidden at once, over and over. With a real
// display (xcb) the pointer itself is moved; the offscreen platform has no pointer,
// so there the tip's input flags stand for it.
TEST(GridCtrl, TitleTipStaysOverACutOffCellAndGoesWhenThePointerLeavesIt) {
    CGridCtrl grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(4);
    const QString longText = QStringLiteral("a text far too long for its narrow column");
    grid.SetItemText(1, 0, longText);
    grid.SetItemText(2, 0, QStringLiteral("ok"));
    grid.SetColumnWidthPx(0, 80);
    grid.resize(400, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    CTitleTip* tip = grid.TitleTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->windowFlags().testFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) &&
                tip->testAttribute(Qt::WA_TransparentForMouseEvents));

    const QPoint cutOff = grid.visualRect(grid.model()->index(0, 0)).center();
    const QPoint fits = grid.visualRect(grid.model()->index(1, 0)).center();
    const bool realPointer = QGuiApplication::platformName() == QLatin1String("xcb");
    auto pointTo = [&](const QPoint& p) {
        if (realPointer) QCursor::setPos(grid.viewport()->mapToGlobal(p));
        else QTest::mouseMove(grid.viewport(), p);
    };
    pointTo(cutOff);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }));
    // Wide enough for all the label's text needs: frame, margins and indent.
    EXPECT_TRUE(tip->text() == longText && tip->width() >= tip->sizeHint().width()) << tip->text().toStdString();
    QTest::qWait(300);  // it stays up while the pointer rests there
    EXPECT_TRUE(tip->isVisible());
    pointTo(fits);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip->isVisible(); }));
}

}  // namespace
}  // namespace kolt
