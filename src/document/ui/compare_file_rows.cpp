#include "document/ui/compare_file_rows.h"

#include "base/prompts.h"
#include "base/texts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace kolt {

CompareFileRows MakeCompareFileRows(int count, IPrompts& prompts, CompareFileLoader load) {
    CompareFileRows rows;
    rows.box = new QGroupBox(QString::fromUtf8(text::kSelectFilesGroup));
    rows.box->setObjectName(QStringLiteral("selectFilesGroup"));
    auto* grid = new QGridLayout(rows.box);
    for (int k = 0; k < count; ++k) {
        auto* path = new QLineEdit;
        path->setObjectName(QStringLiteral("path%1").arg(k + 1));
        path->setReadOnly(true);
        path->setFocusPolicy(Qt::ClickFocus);  // the text can be selected and copied, never typed
        path->setMinimumWidth(360);
        auto* button = new QPushButton(QString::fromUtf8(text::kFileButtons[k]));
        button->setObjectName(QStringLiteral("file%1Button").arg(k + 1));
        button->setAutoDefault(false);
        grid->addWidget(path, k, 0);
        grid->addWidget(button, k, 1);
        rows.paths.push_back(path);
        rows.buttons.push_back(button);
        QObject::connect(button, &QPushButton::clicked, path, [&prompts, load, path, k] {
            const auto chosen = prompts.AskOpenPath(text::kLoadParamFilter, text::kDefaultExt);
            if (!chosen) return;
            if (const auto shown = load(k, *chosen)) path->setText(QString::fromStdString(*shown));
        });
    }
    grid->setColumnStretch(0, 1);
    return rows;
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace kolt
