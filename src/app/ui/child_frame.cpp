#include "app/ui/child_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace kolt {

CChildFrame::CChildFrame(std::unique_ptr<CMarbenDoc> doc, std::function<bool(CMarbenDoc&)> canClose, QWidget* parent)
    : QMdiSubWindow(parent), doc_(std::move(doc)), canClose_(std::move(canClose)) {
    setObjectName(QStringLiteral("documentWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kolt.png")));
    // The one document window always fills the workspace: restored it would shrink
    // to a bare caption strip and the grid would seem gone. So it has no Minimise,
    // Maximise or Restore buttons, and so no such entries in its window menu.
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The window menu's Close answers Ctrl+W on this desktop, which is Write's
    // accelerator here; the window keeps Ctrl+F4 only.
    if (QMenu* menu = systemMenu()) {
        for (QAction* a : menu->actions())
            if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    }
    UpdateCaption();
}

CChildFrame::~CChildFrame() {
    // The view reads the document until it is gone, so it goes first.
    delete widget();
}

void CChildFrame::UpdateCaption() {
    if (doc_)
        setWindowTitle(QString::fromStdString(doc_->Title()));
}

void CChildFrame::CloseWithoutPrompt() {
    skipPrompt_ = true;
    close();
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    // Whatever asked for another state (a double-click on a caption, the window
    // manager), the window goes back to filling the workspace.
    if (event->type() == QEvent::WindowStateChange && !closing_ && isVisible() && !isMaximized())
        QMetaObject::invokeMethod(this, [this] { if (!closing_) showMaximized(); }, Qt::QueuedConnection);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    if (!doc_ || (!skipPrompt_ && canClose_ && !canClose_(*doc_))) {
        skipPrompt_ = false;
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);  // closes the view and leaves the workspace
    if (!event->isAccepted())
        return;
    closing_ = true;
    emit documentClosing(this);
}

}  // namespace kolt
