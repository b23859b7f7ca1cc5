#include "app/ui/frame_document_host.h"

#include "app/ui/main_frame.h"
#include "document/doc_commands.h"

#include <QLabel>

namespace kolt {

CMarbenDoc* CFrameDocumentHost::ActiveDocument() { return frame_ ? frame_->Document() : nullptr; }

bool CFrameDocumentHost::InPrintPreview() { return frame_ && frame_->InPrintPreview(); }

void CFrameDocumentHost::CloseActiveDocument() {
    if (frame_) frame_->CloseDocumentWindow();
}

CMarbenDoc* CFrameDocumentHost::CreateNewDocument() {
    if (!frame_) return nullptr;
    return frame_->ShowDocument(::kolt::CreateNewDocument(app_));
}

void CFrameDocumentHost::RefreshStatusPanes() {
    if (!frame_) return;
    frame_->RefreshStatusPanes();
    for (int i = 1; i <= 4; ++i)
        if (QLabel* pane = frame_->StatusPane(i)) pane->repaint();
}

void CFrameDocumentHost::CloseMonitorWindows() {
    if (frame_) frame_->CloseMonitorWindows();
}

}  // namespace kolt
