#include "document/ui/file_with_file_dialog.h"

#include "base/prompts.h"
#include "base/texts.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

CFileWithFileDialog::CFileWithFileDialog(IPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("fileWithFileDialog"));
    setWindowTitle(QString::fromUtf8(text::kCompareTitles[1]));
    rows_ = MakeCompareFileRows(2);
    for (int k = 0; k < 2; ++k)
        connect(rows_.buttons[static_cast<std::size_t>(k)], &QPushButton::clicked, this, [this, k] { ChooseFile(k); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_.box);
    layout->addWidget(MakeOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFileWithFileDialog::ChooseFile(int index) {
    const auto path = prompts_.AskOpenPath(text::kLoadParamFilter, text::kDefaultExt);
    if (!path) return;
    if (data_.Load(index, *path, prompts_))
        rows_.paths[static_cast<std::size_t>(index)]->setText(
            QString::fromStdString(data_.files[static_cast<std::size_t>(index)].path));
}

void CFileWithFileDialog::accept() {
    if (!data_.Accept()) return;  // not two loads yet: the dialog stays, without a word
    QDialog::accept();
}

}  // namespace kolt
