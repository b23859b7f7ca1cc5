// The pop-up that shows a cell's whole text over the cell when it does not fit.
// Mouse input goes through it to the grid below.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace kolt {

class CTitleTip : public QLabel {
    Q_OBJECT
public:
    explicit CTitleTip(QWidget* owner);

    // Shows `text` with its top-left corner at `cellTopLeft` (global), at least
    // `cellHeight` high, in the cell's font and colours.
    void Show(const QString& text, const QPoint& cellTopLeft, int cellHeight, const QFont& font, const QColor& text_colour,
              const QColor& background);
};

}  // namespace kolt
