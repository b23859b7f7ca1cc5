#include "monitor/ui/monitor_dialog.h"

#include "base/marben_app.h"
#include "base/texts.h"
#include "monitor/station_range.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kolt {

CMonitorDialog::CMonitorDialog(int currentStation, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("monitorDialog"));
    setWindowTitle(QString::fromUtf8(text::kMonitorTitle));

    single_ = new QRadioButton(QString::fromUtf8(text::kSingleStationMode));
    single_->setObjectName(QStringLiteral("singleRadio"));
    all_ = new QRadioButton(QString::fromUtf8(text::kAllStationMode));
    all_->setObjectName(QStringLiteral("allRadio"));
    single_->setChecked(true);

    station_ = new QComboBox;
    station_->setObjectName(QStringLiteral("stationCombo"));
    for (int s = 1; s <= kStationMax; ++s) station_->addItem(QString::number(s), s);
    station_->setCurrentIndex(std::clamp(currentStation, 1, kStationMax) - 1);
    station_->setMaxVisibleItems(16);

    range_ = new QLineEdit(QString::asprintf(text::kMonitorRangeInitial, kStationMax));
    range_->setObjectName(QStringLiteral("rangeEdit"));
    hint_ = new QLabel(QString::fromUtf8(text::kMonitorRangeHint));
    hint_->setObjectName(QStringLiteral("rangeHint"));

    auto* group = new QGroupBox(QString::fromUtf8(text::kMonStationGroup));
    group->setObjectName(QStringLiteral("stationGroup"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(single_, 0, 0);
    grid->addWidget(station_, 0, 1, Qt::AlignLeft);
    grid->addWidget(all_, 1, 0);
    grid->addWidget(range_, 1, 1);
    grid->addWidget(hint_, 2, 1);

    connect(single_, &QRadioButton::toggled, this, &CMonitorDialog::UpdateEnabling);
    connect(all_, &QRadioButton::toggled, this, &CMonitorDialog::UpdateEnabling);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addWidget(group);
    top->addWidget(buttons);
    UpdateEnabling();
}

void CMonitorDialog::UpdateEnabling() {
    const bool one = single_->isChecked();
    station_->setEnabled(one);
    range_->setEnabled(!one);
    hint_->setEnabled(!one);
}

bool CMonitorDialog::AllStations() const { return all_->isChecked(); }

int CMonitorDialog::SingleStation() const { return station_->currentData().toInt(); }

std::vector<int> CMonitorDialog::Stations() const {
    if (!AllStations()) return {SingleStation()};
    return ParseStationRange(range_->text().toStdString());
}

}  // namespace kolt
