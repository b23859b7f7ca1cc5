#include "view/ui/print_preview_dialog.h"

#include "base/texts.h"

#include <algorithm>

#include <QAbstractScrollArea>
#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kolt {

CPrintPreviewDialog::CPrintPreviewDialog(QPrinter* printer, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QString::fromUtf8(text::kPrintPreviewCaption));
    pages_ = new QPrintPreviewWidget(printer, this);
    pages_->setObjectName(QStringLiteral("previewPages"));
    pages_->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(pages_, &QPrintPreviewWidget::paintRequested, this, &CPrintPreviewDialog::paintRequested);
    connect(pages_, &QPrintPreviewWidget::previewChanged, this, &CPrintPreviewDialog::UpdateButtons);
    // Scrolling moves the current page too.
    if (auto* area = pages_->findChild<QAbstractScrollArea*>())
        connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, &CPrintPreviewDialog::UpdateButtons);

    auto* row = new QHBoxLayout;
    const auto button = [&](const char* caption, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    QPushButton* print = button(text::kPreviewPrint, "previewPrint");
    next_ = button(text::kPreviewNextPage, "previewNext");
    prev_ = button(text::kPreviewPrevPage, "previewPrev");
    zoomIn_ = button(text::kPreviewZoomIn, "previewZoomIn");
    zoomOut_ = button(text::kPreviewZoomOut, "previewZoomOut");
    QPushButton* close = button(text::kPreviewClose, "previewClose");
    row->addStretch(1);

    connect(print, &QPushButton::clicked, this, [this] {
        printChosen_ = true;
        accept();
    });
    connect(next_, &QPushButton::clicked, this, [this] {
        pages_->setCurrentPage(pages_->currentPage() + 1);
        UpdateButtons();
    });
    connect(prev_, &QPushButton::clicked, this, [this] {
        pages_->setCurrentPage(pages_->currentPage() - 1);
        UpdateButtons();
    });
    connect(zoomIn_, &QPushButton::clicked, this, [this] { Zoom(zoom_ + 1); });
    connect(zoomOut_, &QPushButton::clicked, this, [this] { Zoom(zoom_ - 1); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(pages_, 1);
    Zoom(0);
}

void CPrintPreviewDialog::Zoom(int step) {
    zoom_ = std::clamp(step, 0, kZoomSteps - 1);
    // The whole page, like a sheet on the desk; then closer.
    pages_->fitInView();
    if (zoom_ > 0) pages_->setZoomFactor(pages_->zoomFactor() * (1 << zoom_));
    UpdateButtons();
}

void CPrintPreviewDialog::UpdateButtons() {
    const int page = pages_->currentPage();
    next_->setEnabled(page < pages_->pageCount());
    prev_->setEnabled(page > 1);
    zoomIn_->setEnabled(zoom_ < kZoomSteps - 1);
    zoomOut_->setEnabled(zoom_ > 0);
}

}  // namespace kolt
