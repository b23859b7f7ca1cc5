#include "link/ui/read_para_dialog.h"

#include "base/texts.h"
#include "link/station_list.h"
#include "link/ui/group_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kolt {

CReadParaDialog::CReadParaDialog(const CMarbenApp& app, QWidget* parent) : QDialog(parent) {
    setObjectName("readParaDialog");
    setWindowTitle(QString::fromUtf8(text::kReadTitle));

    station_ = new QComboBox;
    station_->setObjectName("stationCombo");
    for (int s = kFirstStation; s <= kLastStation; ++s) station_->addItem(QString::number(s), s);
    station_->setCurrentIndex(ClampStation(app.currentStation) - kFirstStation);
    station_->setMaxVisibleItems(16);

    MakeGroupChecks(basic_, advanced_);

    const bool free = app.monitoringFlag == 0;
    station_->setEnabled(free);
    basic_->setEnabled(free);
    advanced_->setEnabled(free);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* stationRow = new QHBoxLayout;
    auto* label = new QLabel(QString::fromUtf8(text::kReadFromStation));
    label->setBuddy(station_);
    stationRow->addWidget(label);
    stationRow->addWidget(station_);
    stationRow->addStretch(1);

    auto* top = new QVBoxLayout(this);
    top->addLayout(stationRow);
    top->addSpacing(6);
    top->addWidget(basic_);
    top->addWidget(advanced_);
    top->addSpacing(6);
    top->addWidget(buttons);
    setMinimumWidth(280);
}

int CReadParaDialog::station() const { return station_->currentData().toInt(); }
bool CReadParaDialog::readBasic() const { return basic_->isChecked(); }
bool CReadParaDialog::readAdvanced() const { return advanced_->isChecked(); }

}  // namespace kolt
