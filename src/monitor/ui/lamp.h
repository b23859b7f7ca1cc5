// An indicator lamp beside a terminal's check button: a filled circle, red
// for a terminal that is on, black for off, white for a panel whose station
// is not monitored.
#pragma once

#include <QWidget>

namespace kolt {

class CLamp : public QWidget {
    Q_OBJECT
public:
    enum class State { Off, On, Unmonitored };

    // `diameter` in pixels; the widget is a little larger so the outline shows whole.
    explicit CLamp(int diameter, QWidget* parent = nullptr);

    State state() const { return state_; }
    // Repaints only when the state changes.
    void SetState(State state);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int diameter_;
    State state_ = State::Unmonitored;
};

}  // namespace kolt
