#include "grid/ui/title_tip.h"


namespace kolt {

namespace {
constexpr int kTipMargin = 4;  // the same margin the grid keeps around a cell's text
}

CTitleTip::CTitleTip(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                        Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("gridTitleTip"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setContentsMargins(kTipMargin, 0, kTipMargin, 0);
    // A framed label would indent its text by half an x besides the margin,
    // pushing the last character out of the tip.
    setIndent(0);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void CTitleTip::Show(const QString& text, const QPoint& cellTopLeft, int cellHeight, const QFont& font,
                     const QColor& textColour, const QColor& background) {
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, textColour);
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setText(text);
    // As wide as the label says its text needs: margins, frame and all.
    const QSize needed = sizeHint();
    resize(needed.width(), std::max(cellHeight, needed.height()));
    move(cellTopLeft);
    show();
    raise();
}

}  // namespace kolt
