// The print preview: the pages as they will print, under a row of six
// buttons ("&Print...", "&Next Page", "&Prev Page", "Zoom &In", "Zoom &Out",
// "Close") instead of Qt's own toolbar.
#pragma once

#include <QDialog>

class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace kolt {

class CPrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPrintPreviewDialog(QPrinter* printer, QWidget* parent = nullptr);

    // "&Print..." closed the preview: the caller goes on to print.
    bool PrintChosen() const { return printChosen_; }
    QPrintPreviewWidget* Pages() const { return pages_; }
    // 0 whole page .. kZoomSteps - 1; each step doubles the scale.
    int ZoomStep() const { return zoom_; }
    static constexpr int kZoomSteps = 3;

signals:
    void paintRequested(QPrinter* printer);

private:
    void Zoom(int step);
    void UpdateButtons();

    QPrintPreviewWidget* pages_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* prev_ = nullptr;
    QPushButton* zoomIn_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    int zoom_ = 0;
    bool printChosen_ = false;
};

}  // namespace kolt
