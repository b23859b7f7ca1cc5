#include "link/ui/write_para_dialog.h"

#include "app/texts.h"
#include "link/station_list.h"
#include "link/ui/group_checks.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kolt {

CWriteParaDialog::CWriteParaDialog(const CMarbenApp& app, QWidget* parent) : QDialog(parent) {
    setObjectName("writeParaDialog");
    setWindowTitle(QString::fromUtf8(text::kWriteTitle));

    single_ = new QRadioButton(QString::fromUtf8(text::kSingleColon));
    single_->setObjectName("singleRadio");
    all_ = new QRadioButton(QString::fromUtf8(text::kAllStation));
    all_->setObjectName("allRadio");
    stationText_ = new QLineEdit(QString::number(app.currentStation));
    stationText_->setObjectName("stationEdit");
    hint_ = new QLabel(QString::fromUtf8(text::kStationHint));
    hint_->setObjectName("stationHint");
    single_->setChecked(true);
    connect(single_, &QRadioButton::toggled, this, &CWriteParaDialog::UpdateEnabling);

    auto* stationBox = new QGroupBox(QString::fromUtf8(text::kStationGroup));
    stationBox->setObjectName("stationGroup");
    auto* sl = new QGridLayout(stationBox);
    sl->addWidget(single_, 0, 0);
    sl->addWidget(stationText_, 0, 1);
    sl->addWidget(hint_, 1, 1);
    sl->addWidget(all_, 2, 0, 1, 2);

    basic_ = new QCheckBox(QString::fromUtf8(text::kBasicGroup));
    basic_->setObjectName("basicCheck");
    advanced_ = new QCheckBox(QString::fromUtf8(text::kAdvancedGroup));
    advanced_->setObjectName("advancedCheck");
    basic_->setChecked(true);
    advanced_->setChecked(true);
    KeepOneChecked(basic_, advanced_);

    auto* optionBox = new QGroupBox(QString::fromUtf8(text::kOptionGroup));
    optionBox->setObjectName("optionGroup");
    auto* ol = new QVBoxLayout(optionBox);
    ol->addWidget(basic_);
    ol->addWidget(advanced_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &CWriteParaDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addWidget(stationBox);
    top->addWidget(optionBox);
    top->addWidget(buttons);

    UpdateEnabling();
    stationText_->setFocus();
    stationText_->selectAll();
}

void CWriteParaDialog::UpdateEnabling() {
    stationText_->setEnabled(single_->isChecked());
    hint_->setEnabled(single_->isChecked());
}

std::vector<int> CWriteParaDialog::stations() const {
    if (all_->isChecked()) return AllStations();
    return ParseStationList(stationText_->text().toStdString());
}

bool CWriteParaDialog::writeBasic() const { return basic_->isChecked(); }
bool CWriteParaDialog::writeAdvanced() const { return advanced_->isChecked(); }

void CWriteParaDialog::accept() {
    // A text of separators only (a lone comma) names nobody: say so rather
    // than close and silently write nothing.
    if (stations().empty()) {
        QMessageBox::information(this, QString::fromUtf8(text::kWriteCaption),
                                 QString::fromUtf8(text::kNoStationSelected));
        stationText_->setFocus();
        stationText_->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace kolt
