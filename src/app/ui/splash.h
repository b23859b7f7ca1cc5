// The start-up picture, shown for one to two seconds.
#pragma once

class QWidget;

namespace kolt {

// Shows the splash picture until the wall clock's whole seconds have moved
// on by two, so between one and two seconds. Input waits meanwhile.
void ShowSplash(QWidget* over);

}  // namespace kolt
