// The main window as the link procedures see it: its one document window,
// the status bar and the monitor windows.
#pragma once

#include "base/document_host.h"

#include <QPointer>

namespace kolt {

class CMainFrame;
class CMarbenApp;

class CFrameDocumentHost : public IDocumentHost {
public:
    explicit CFrameDocumentHost(CMarbenApp& app) : app_(app) {}
    void SetFrame(CMainFrame* frame) { frame_ = frame; }
    CMainFrame* Frame() const { return frame_; }

    CMarbenDoc* ActiveDocument() override;
    bool InPrintPreview() override;
    void CloseActiveDocument() override;
    CMarbenDoc* CreateNewDocument() override;
    // Also repaints the panes at once: a write does not return to the event
    // loop between stations, and the station pane must follow it.
    void RefreshStatusPanes() override;
    void CloseMonitorWindows() override;

private:
    CMarbenApp& app_;
    QPointer<CMainFrame> frame_;
};

}  // namespace kolt
