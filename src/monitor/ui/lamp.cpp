#include "monitor/ui/lamp.h"

#include <QPainter>

namespace kolt {

CLamp::CLamp(int diameter, QWidget* parent) : QWidget(parent), diameter_(diameter) {
    setFixedSize(sizeHint());
}

QSize CLamp::sizeHint() const { return {diameter_ + 2, diameter_ + 2}; }

void CLamp::SetState(State state) {
    if (state == state_) return;
    state_ = state;
    update();
}

void CLamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor colour = Qt::black;
    if (state_ == State::On) colour = QColor(255, 0, 0);
    if (state_ == State::Unmonitored) colour = Qt::white;
    // A white lamp keeps a grey rim, or it vanishes on a light dialog.
    p.setPen(state_ == State::Unmonitored ? QColor(160, 160, 160) : colour);
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, diameter_, diameter_));
}

}  // namespace kolt
