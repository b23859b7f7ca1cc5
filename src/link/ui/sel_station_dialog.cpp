#include "link/ui/sel_station_dialog.h"

#include "base/texts.h"
#include "catalogue/models.h"
#include "document/ui/compare_file_rows.h"
#include "link/station_list.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace kolt {

CSelStationDialog::CSelStationDialog(const CMarbenApp& app, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selStationDialog"));
    setWindowTitle(QString::fromUtf8(text::kCompareTitles[0]));
    const InverterCompareRequest preset = PresetInverterCompare(app);

    station_ = new QComboBox;
    station_->setObjectName(QStringLiteral("stationCombo"));
    for (int s = kFirstStation; s <= kLastStation; ++s) station_->addItem(QString::number(s));
    station_->setCurrentIndex(preset.station - kFirstStation);
    station_->setMaxVisibleItems(16);
    station_->setMinimumWidth(120);
    frequency_ = new QComboBox;
    frequency_->setObjectName(QStringLiteral("frequencyList"));
    for (const char* f : kFrequencyTexts) frequency_->addItem(QString::fromLatin1(f));
    frequency_->setCurrentIndex(preset.hz50 ? 0 : 1);
    frequency_->setMinimumWidth(120);

    auto* stationRow = new QFormLayout;
    stationRow->addRow(QString::fromUtf8(text::kStationNoLabel), station_);
    auto* defaults = new QGroupBox(QString::fromUtf8(text::kDefaultGroup));
    defaults->setObjectName(QStringLiteral("defaultGroup"));
    auto* form = new QFormLayout(defaults);
    form->addRow(QString::fromUtf8(text::kFrequencySpacedLabel), frequency_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(stationRow);
    layout->addWidget(defaults);
    layout->addWidget(MakeOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    station_->setFocus();
}

InverterCompareRequest CSelStationDialog::Request() const {
    return {station_->currentIndex() + kFirstStation, frequency_->currentIndex() == 0};
}

}  // namespace kolt
