#include "view/ui/station_title_dialog.h"

#include "base/texts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace kolt {

CStationTitleDialog::CStationTitleDialog(const StationTitles& titles, const FieldCodec& codec, QWidget* parent)
    : QDialog(parent), pager_(titles), codec_(codec) {
    setObjectName(QStringLiteral("stationTitleDialog"));
    setWindowTitle(QString::fromUtf8(text::kStationTitleCaption));

    auto* rows = new QGridLayout;
    for (int r = 0; r < kTitleRows; ++r) {
        labels_[r] = new QLabel(this);
        labels_[r]->setObjectName(QStringLiteral("rowLabel%1").arg(r));
        labels_[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labels_[r]->setMinimumWidth(labels_[r]->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        edits_[r] = new QLineEdit(this);
        edits_[r]->setObjectName(QStringLiteral("titleEdit%1").arg(r));
        edits_[r]->setMaxLength(kTitleMaxChars);
        edits_[r]->setMinimumWidth(edits_[r]->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
        labels_[r]->setBuddy(edits_[r]);
        rows->addWidget(labels_[r], r, 0);
        rows->addWidget(edits_[r], r, 1);
    }
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("titleScroll"));
    scroll_->setRange(0, kTitleTopMax);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(kTitleRows);
    rows->addWidget(scroll_, 0, 2, kTitleRows, 1);

    auto* clear = new QPushButton(QString::fromUtf8(text::kClearButton), this);
    clear->setObjectName(QStringLiteral("clearButton"));
    clear->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(clear);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* top = new QVBoxLayout(this);
    top->addLayout(rows);
    top->addLayout(bottom);

    connect(scroll_, &QScrollBar::actionTriggered, this, &CStationTitleDialog::OnScrollAction);
    connect(scroll_, &QScrollBar::valueChanged, this, &CStationTitleDialog::MoveTo);
    connect(clear, &QPushButton::clicked, this, &CStationTitleDialog::Clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &CStationTitleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CStationTitleDialog::reject);
    FillRows();
    edits_[0]->setFocus(Qt::OtherFocusReason);
}

StationTitles CStationTitleDialog::Titles() {
    StoreVisible();
    return pager_.Titles();
}

void CStationTitleDialog::accept() {
    StoreVisible();
    QDialog::accept();
}

void CStationTitleDialog::StoreVisible() {
    std::array<std::string, kTitleRows> rows;
    for (int r = 0; r < kTitleRows; ++r) {
        // A row the user did not touch keeps its title byte for byte, even one
        // longer than the edit takes or not in the desktop's encoding.
        const QString now = edits_[r]->text();
        rows[r] = now == shown_[r] ? pager_.RowTitle(r) : codec_.Stored(now.toStdString());
    }
    pager_.StoreVisible(rows);
}

void CStationTitleDialog::FillRows() {
    for (int r = 0; r < kTitleRows; ++r) {
        labels_[r]->setText(QString::fromStdString(pager_.RowLabel(r)));
        edits_[r]->setText(QString::fromStdString(codec_.Text(pager_.RowTitle(r))));
        shown_[r] = edits_[r]->text();
        edits_[r]->setCursorPosition(0);
    }
    const QSignalBlocker block(scroll_);
    scroll_->setValue(pager_.Top());
}

// Line and page moves and the thumb go through the pager's rules; the bar
// then shows where the pager ended up.
void CStationTitleDialog::OnScrollAction(int action) {
    StoreVisible();
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: pager_.LineUp(); break;
        case QAbstractSlider::SliderSingleStepAdd: pager_.LineDown(); break;
        case QAbstractSlider::SliderPageStepSub: pager_.PageUp(); break;
        case QAbstractSlider::SliderPageStepAdd: pager_.PageDown(); break;
        case QAbstractSlider::SliderToMinimum: pager_.SetTop(0); break;
        case QAbstractSlider::SliderToMaximum: pager_.SetTop(kTitleTopMax); break;
        case QAbstractSlider::SliderMove: pager_.SetTop(scroll_->sliderPosition()); break;
        default: return;
    }
    scroll_->setSliderPosition(pager_.Top());
    FillRows();
}

// A value set from outside the actions (a test, an accessibility tool).
void CStationTitleDialog::MoveTo(int top) {
    if (top == pager_.Top()) return;
    StoreVisible();
    pager_.SetTop(top);
    FillRows();
}

void CStationTitleDialog::wheelEvent(QWheelEvent* event) {
    StoreVisible();
    if (pager_.Wheel(event->angleDelta().y())) FillRows();
    event->accept();
}

void CStationTitleDialog::Clear() {
    pager_.Clear();
    for (int r = 0; r < kTitleRows; ++r) {
        edits_[r]->clear();
        shown_[r].clear();
    }
}

}  // namespace kolt
