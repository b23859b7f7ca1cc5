// The Edit menu's commands in the window program: Station Title (the open
// document's), Find, Go to and Definite parameter (the parameter view's).
#pragma once

#include "app/ui/main_frame.h"

#include <QObject>
#include <QPointer>

namespace kolt {

class CMarbenView;

class CViewCommands : public QObject {
    Q_OBJECT
public:
    explicit CViewCommands(CMarbenApp& app) : app_(app) {}

    // Hands the four commands to the frame; they are enabled from then on by
    // the frame's own rules (an open document).
    void Install(CMainFrame& frame);

    // "Station Title" on the open document; after OK the frame tells the
    // windows that show titles.
    void StationTitle();

private:
    CMarbenView* View() const;

    CMarbenApp& app_;
    QPointer<CMainFrame> frame_;
};

}  // namespace kolt
