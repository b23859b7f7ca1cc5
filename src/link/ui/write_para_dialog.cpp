#include "link/ui/write_para_dialog.h"

#include "base/texts.h"
#include "link/ui/group_checks.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kolt {

CWriteParaDialog::CWriteParaDialog(const CMarbenApp& app, QWidget* parent) : QDialog(parent) {
    setObjectName("writeParaDialog");
    setWindowTitle(QString::fromUtf8(text::kWriteTitle));

    station_ = MakeStationChoice(text::kSingleColon, text::kAllStation, app.currentStation);
    connect(station_.single, &QRadioButton::toggled, this, &CWriteParaDialog::UpdateEnabling);

    MakeGroupChecks(basic_, advanced_);

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
    top->addWidget(station_.box);
    top->addWidget(optionBox);
    top->addWidget(buttons);

    UpdateEnabling();
    station_.text->setFocus();
    station_.text->selectAll();
}

void CWriteParaDialog::UpdateEnabling() { station_.SetEnabled(true); }

std::vector<int> CWriteParaDialog::stations() const { return station_.Stations(); }

bool CWriteParaDialog::writeBasic() const { return basic_->isChecked(); }
bool CWriteParaDialog::writeAdvanced() const { return advanced_->isChecked(); }

void CWriteParaDialog::accept() {
    // A text of separators only (a lone comma) names nobody: say so rather
    // than close and silently write nothing.
    if (stations().empty()) {
        QMessageBox::information(this, QString::fromUtf8(text::kWriteCaption),
                                 QString::fromUtf8(text::kNoStationSelected));
        station_.text->setFocus();
        station_.text->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace kolt
