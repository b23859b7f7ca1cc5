#include "monitor/ui/mon_single_dialog.h"

#include "base/texts.h"
#include "monitor/monitor_texts.h"
#include "monitor/ui/monitor_panel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

CMonSingleDialog::CMonSingleDialog(CMonitorEngine& engine, const std::uint8_t& busyFlag, int station,
                                   StationTitleSource titles, QWidget* parent)
    : QDialog(parent), engine_(engine), station_(station), titles_(std::move(titles)) {
    setObjectName(QStringLiteral("monSingleDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    panel_ = new CMonitorPanel(CMonitorPanel::Shape::Single, engine, busyFlag, this);
    panel_->SetStation(station);
    connect(panel_, &CMonitorPanel::trendPressed, this, &CMonSingleDialog::trendRequested);

    auto* exit = new QPushButton(QString::fromUtf8(text::kExitButton));
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(exit);

    auto* top = new QVBoxLayout(this);
    top->addWidget(panel_);
    top->addLayout(bottom);

    Retitle();
    // A window opening starts with no request pending at any station.
    engine_.Table().ClearRequests();
    panel_->Activate(0);
    Refresh();
}

void CMonSingleDialog::Refresh() { panel_->Refresh(); }

void CMonSingleDialog::Retitle() {
    const std::string* title = titles_ ? titles_(station_) : nullptr;
    setWindowTitle(QString::fromStdString(StationCaption(station_, title)));
}

void CMonSingleDialog::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        engine_.WindowClosed();
        emit closed();
    }
    event->accept();
}

// Enter does nothing here; Escape closes as the close box does.
void CMonSingleDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return event->accept();
    QDialog::keyPressEvent(event);
}

void CMonSingleDialog::reject() { close(); }

}  // namespace kolt
