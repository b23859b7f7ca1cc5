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
    rows_ = MakeCompareFileRows(2, prompts_, [this](int k, const std::string& path) -> std::optional<std::string> {
        if (!data_.Load(k, path, prompts_)) return std::nullopt;
        return data_.files[static_cast<std::size_t>(k)].path;
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_.box);
    layout->addWidget(MakeOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFileWithFileDialog::accept() {
    if (!data_.Accept()) return;  // not two loads yet: the dialog stays, without a word
    QDialog::accept();
}

}  // namespace kolt
