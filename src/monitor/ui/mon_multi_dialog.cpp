#include "monitor/ui/mon_multi_dialog.h"

#include "base/marben_app.h"
#include "base/texts.h"
#include "monitor/monitor_texts.h"
#include "monitor/ui/monitor_panel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

namespace kolt {

CMonMultiDialog::CMonMultiDialog(CMonitorEngine& engine, const std::uint8_t& busyFlag, int page,
                                 StationTitleSource titles, QWidget* parent)
    : QDialog(parent), engine_(engine), titles_(std::move(titles)), page_(std::clamp(page, 0, kLastPage)) {
    setObjectName(QStringLiteral("monMultiDialog"));
    setWindowTitle(QString::fromUtf8(text::kMonitorAllTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* row = new QHBoxLayout(this);
    for (int k = 0; k < kPanels; ++k) {
        auto* panel = new CMonitorPanel(CMonitorPanel::Shape::Multi, engine, busyFlag, this);
        panel->setObjectName(QStringLiteral("panel%1").arg(k + 1));
        panels_[static_cast<std::size_t>(k)] = panel;
        connect(panel, &CMonitorPanel::linkPressed, this, [this, k] { LinkPanel(k); });
        connect(panel, &CMonitorPanel::unlinkPressed, this, [this, k] { UnlinkPanel(k); });
        connect(panel, &CMonitorPanel::trendPressed, this, &CMonMultiDialog::trendRequested);
        // A wheel turned over an unfocused "Fun. no." list pages the window
        // instead of quietly choosing another parameter.
        panel->FunctionList()->installEventFilter(this);
        connect(panel, &CMonitorPanel::positionChosen, this, [this](int station, int position) {
            if (StationMonitorTable::Holds(station)) positions_[static_cast<std::size_t>(station)] = position;
        });
        if (k > 0) {
            auto* line = new QFrame;
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            row->addWidget(line);
        }
        row->addWidget(panel, 1);
    }

    scroll_ = new QScrollBar(Qt::Vertical);
    scroll_->setObjectName(QStringLiteral("pageScrollBar"));
    scroll_->setRange(0, kLastPage);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(kPageStep);
    scroll_->setValue(page_);
    // The wheel pages by this window's rule, on the bar as on the panels.
    scroll_->installEventFilter(this);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != page_) SetPage(value);
    });
    row->addWidget(scroll_);

    // A window opening starts with no request pending at any station.
    engine_.Table().ClearRequests();
    for (int k = 0; k < kPanels; ++k) panels_[static_cast<std::size_t>(k)]->Deactivate(false);
    for (int k = 0; k < kPanels; ++k) ShowPanel(k);
    Relabel();
}

void CMonMultiDialog::ShowPanel(int k) {
    CMonitorPanel* panel = panels_[static_cast<std::size_t>(k)];
    const int s = StationOf(k);
    panel->SetStation(s);
    if (s > kStationMax) {
        panel->Deactivate(false);
    } else if (engine_.Table()[s].monitored) {
        panel->Activate(positions_[static_cast<std::size_t>(s)]);
    } else {
        panel->Deactivate(true);
    }
}

void CMonMultiDialog::SetPage(int page) {
    page = std::clamp(page, 0, kLastPage);
    page_ = page;
    {
        QSignalBlocker quiet(scroll_);
        scroll_->setValue(page);
    }
    for (int k = 0; k < kPanels; ++k) ShowPanel(k);
    Relabel();
    Refresh();
}

void CMonMultiDialog::Refresh() {
    for (CMonitorPanel* panel : panels_) panel->Refresh();
}

void CMonMultiDialog::Relabel() {
    for (int k = 0; k < kPanels; ++k) {
        const int s = StationOf(k);
        QString label;
        if (s <= kStationMax) {
            const std::string* title = titles_ ? titles_(s) : nullptr;
            label = QString::fromStdString(StationCaption(s, title));
        }
        panels_[static_cast<std::size_t>(k)]->SetLabel(label);
    }
}

void CMonMultiDialog::ClearPanel(int station) {
    const int k = station - kPanels * page_ - 1;
    if (k < 0 || k >= kPanels) return;
    CMonitorPanel* panel = panels_[static_cast<std::size_t>(k)];
    panel->Deactivate(true);
    panel->Refresh();
    setFocus();
    update();
}

void CMonMultiDialog::LinkPanel(int k) {
    const int s = StationOf(k);
    if (s > kStationMax) return;
    // No frame now: the next tick polls the station, and one that does not
    // answer brings up the monitor error dialog there.
    engine_.Table()[s].monitored = 1;
    panels_[static_cast<std::size_t>(k)]->Activate(positions_[static_cast<std::size_t>(s)]);
}

void CMonMultiDialog::UnlinkPanel(int k) {
    const int s = StationOf(k);
    if (s > kStationMax) return;
    engine_.Table()[s].monitored = 0;
    ClearPanel(s);
}

void CMonMultiDialog::Wheel(int delta) {
    // Away from the user (positive) scrolls up. Whole notches give exactly
    // three line steps; a fine wheel's smaller turns add up to them.
    wheelRest_ += delta;
    const int steps = wheelRest_ * kWheelLines / 120;
    if (steps == 0) return;
    wheelRest_ -= steps * 120 / kWheelLines;
    SetPage(page_ - steps);
}

void CMonMultiDialog::wheelEvent(QWheelEvent* event) {
    Wheel(event->angleDelta().y());
    event->accept();
}

bool CMonMultiDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto* list = qobject_cast<QComboBox*>(watched);
    if (event->type() == QEvent::Wheel && (watched == scroll_ || (list && !list->hasFocus()))) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMonMultiDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetPage(page_ - kPageStep);
        return event->accept();
    case Qt::Key_PageDown:
        SetPage(page_ + kPageStep);
        return event->accept();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return event->accept();  // Enter does nothing here
    default:
        QDialog::keyPressEvent(event);
    }
}

void CMonMultiDialog::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        engine_.WindowClosed();
        emit closed();
    }
    event->accept();
}

void CMonMultiDialog::reject() { close(); }

}  // namespace kolt
