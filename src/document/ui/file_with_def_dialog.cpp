#include "document/ui/file_with_def_dialog.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/models.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

CFileWithDefDialog::CFileWithDefDialog(const CMarbenApp& app, IPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("fileWithDefDialog"));
    setWindowTitle(QString::fromUtf8(text::kCompareTitles[2]));
    data_.Preset(app);

    rows_ = MakeCompareFileRows(3, prompts_, [this](int k, const std::string& path) -> std::optional<std::string> {
        if (!data_.Load(k, path, prompts_)) return std::nullopt;
        return data_.files[static_cast<std::size_t>(k)].path;
    });

    model_ = new QComboBox;
    model_->setObjectName(QStringLiteral("modelList"));
    for (int m = 0; m < kModelCount; ++m) model_->addItem(QString::fromStdString(ModelName(m)));
    model_->setCurrentIndex(data_.model);
    frequency_ = new QComboBox;
    frequency_->setObjectName(QStringLiteral("frequencyList"));
    for (const char* f : kFrequencyTexts) frequency_->addItem(QString::fromLatin1(f));
    frequency_->setCurrentIndex(data_.frequency);
    connect(model_, &QComboBox::currentIndexChanged, this, [this](int i) { data_.model = i; });
    connect(frequency_, &QComboBox::currentIndexChanged, this, [this](int i) { data_.frequency = i; });

    auto* defaults = new QGroupBox(QString::fromUtf8(text::kDefaultGroup));
    defaults->setObjectName(QStringLiteral("defaultGroup"));
    auto* form = new QFormLayout(defaults);
    form->addRow(QString::fromUtf8(text::kModelLabel), model_);
    form->addRow(QString::fromUtf8(text::kFrequencyLabel), frequency_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_.box);
    layout->addWidget(defaults);
    layout->addWidget(MakeOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFileWithDefDialog::accept() {
    if (!data_.Accept()) return;  // no file loaded yet: the dialog stays, without a word
    QDialog::accept();
}

}  // namespace kolt
