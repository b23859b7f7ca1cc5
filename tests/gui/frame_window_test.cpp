// The document window inside the main frame: it always fills the workspace, and
// the menus' Alt mnemonics stay away from a running edit.
#include "app/ui/child_frame.h"
#include "frame_fixture.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>

namespace kolt::testing {
namespace {

TEST_F(FrameTest, DocumentWindowCannotBeRestoredToACaptionStrip) {
    frame->resize(900, 700);
    frame->show();
    NewDocument();
    CChildFrame* window = frame->DocumentWindow();
    ASSERT_NE(window, nullptr);
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(window->isMaximized());

    // Whatever asks it to become a normal window, it goes back to filling the workspace.
    auto* area = frame->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    window->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }));
    EXPECT_EQ(window->geometry(), area->viewport()->rect());
    EXPECT_GT(qobject_cast<CMarbenView*>(frame->View())->Grid()->height(), 200);
}

TEST_F(FrameTest, AltCombinationsDoNotReachTheMenusWhileACellIsEdited) {
    frame->resize(900, 700);
    frame->show();
    QApplication::setActiveWindow(frame.get());
    CMarbenDoc* doc = NewDocument();
    CParamGrid* grid = qobject_cast<CMarbenView*>(frame->View())->Grid();
    ASSERT_TRUE(grid->EditCell(8, 4, EditStart::Key, QLatin1Char('6')));  // F07
    CInPlaceEdit* editor = grid->Editor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_0);
    ASSERT_EQ(editor->text(), "60");

    for (Qt::Key key : {Qt::Key_F, Qt::Key_O, Qt::Key_H, Qt::Key_5}) {
        QTest::keyClick(editor, key, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << key;  // no menu opened
        ASSERT_EQ(grid->Editor(), editor) << key;                       // the edit goes on
        EXPECT_EQ(editor->text(), "60") << key;
    }
    // Alt+Backspace is the editor's undo: the last change goes, and a second undo brings it back.
    QTest::keyClick(editor, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(editor->text(), "6");
    QTest::keyClick(editor, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(editor->text(), "60");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(doc->values[0][7], 6000);
}

}  // namespace
}  // namespace kolt::testing
