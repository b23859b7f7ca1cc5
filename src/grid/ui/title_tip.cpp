#include "grid/ui/title_tip.h"

#include <QFontMetrics>

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
    const QFontMetrics metrics(font);
    resize(metrics.horizontalAdvance(text) + 2 * kTipMargin + 2 * frameWidth(),
           std::max(cellHeight, metrics.height() + 2 * frameWidth()));
    move(cellTopLeft);
    show();
    raise();
}

}  // namespace kolt
