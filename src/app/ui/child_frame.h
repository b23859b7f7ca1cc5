// A document window: a maximised child of the main frame's workspace that owns
// its document and shows it in the parameter view.
#pragma once

#include "document/marben_doc.h"

#include <QMdiSubWindow>

#include <functional>
#include <memory>

namespace kolt {

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // `canClose` runs the document's save question when the user closes the window.
    CChildFrame(std::unique_ptr<CMarbenDoc> doc, std::function<bool(CMarbenDoc&)> canClose, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CMarbenDoc* Document() const { return doc_.get(); }
    QWidget* View() const { return widget(); }
    // Caption = the document's title.
    void UpdateCaption();
    // Closes without asking: the caller has run the save question already.
    void CloseWithoutPrompt();

signals:
    // The window accepted its close; it is deleted soon after.
    void documentClosing(CChildFrame* frame);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CMarbenDoc> doc_;
    std::function<bool(CMarbenDoc&)> canClose_;
    bool skipPrompt_ = false;
    bool closing_ = false;
};

}  // namespace kolt
