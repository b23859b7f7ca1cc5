#include "catalogue/ui/model_type_dialog.h"

#include "base/texts.h"
#include "catalogue/models.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

CModelType::CModelType(int presetModel, std::uint8_t presetHz50, QWidget* parent)
    : QDialog(parent), modelIndex_(presetModel), hz50_(presetHz50) {
    setObjectName(QStringLiteral("modelSelectDialog"));
    setWindowTitle(text::kModelSelectCaption);

    info_ = new QPlainTextEdit(this);
    info_->setObjectName(QStringLiteral("modelInfo"));
    info_->setReadOnly(true);
    info_->setLineWrapMode(QPlainTextEdit::NoWrap);
    info_->setFocusPolicy(Qt::NoFocus);
    const QFontMetrics fm(info_->font());
    // Wide enough for the longest voltage line, high enough for the seven lines and the last line end.
    info_->setMinimumWidth(
        fm.horizontalAdvance(QStringLiteral(" 5. Input voltage: Single-phase or three-phase 200~240V +10%/-15%")) + 48);
    info_->setFixedHeight(fm.lineSpacing() * 8 + 2 * info_->frameWidth() +
                          static_cast<int>(2 * info_->document()->documentMargin()) + 4);

    modelList_ = new QComboBox(this);
    modelList_->setObjectName(QStringLiteral("modelList"));
    for (int m = 0; m < kModelCount; ++m)
        modelList_->addItem(QString::fromStdString(ModelName(m)));
    frequencyList_ = new QComboBox(this);
    frequencyList_->setObjectName(QStringLiteral("frequencyList"));
    for (const char* f : kFrequencyTexts)
        frequencyList_->addItem(QString::fromLatin1(f));

    const int selection = (presetModel >= 0 && presetModel < kModelCount) ? presetModel : 0;
    modelList_->setCurrentIndex(selection);
    frequencyList_->setCurrentIndex(presetHz50 == 1 ? 0 : 1);
    ShowInfo(selection);
    connect(modelList_, &QComboBox::currentIndexChanged, this, &CModelType::ShowInfo);

    auto* form = new QFormLayout;
    form->addRow(text::kModelLabel, modelList_);
    form->addRow(text::kFrequencyLabel, frequencyList_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CModelType::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CModelType::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
    modelList_->setFocus();
}

void CModelType::ShowInfo(int model) { info_->setPlainText(QString::fromStdString(ModelInfoText(model))); }

void CModelType::accept() {
    const int m = modelList_->currentIndex();
    modelIndex_ = (m >= 0 && m < kModelCount) ? m : 0;
    hz50_ = frequencyList_->currentIndex() == 0 ? 1 : 0;
    QDialog::accept();
}

}  // namespace kolt
