#include "monitor/ui/mon_error_dialog.h"

#include "base/texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

CMonErrorDialog::CMonErrorDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("monErrorDialog"));
    setWindowTitle(QString::fromUtf8(text::kMonitorCaption));

    text_ = new QLabel(QString::fromUtf8(text::kMonitorPlaceholder));
    text_->setObjectName(QStringLiteral("messageText"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setMinimumWidth(220);

    continue_ = new QPushButton(QString::fromUtf8(text::kContinue));
    continue_->setObjectName(QStringLiteral("continueButton"));
    continue_->setDefault(true);
    continue_->setAutoDefault(true);
    abort_ = new QPushButton(QString::fromUtf8(text::kAbort));
    abort_->setObjectName(QStringLiteral("abortButton"));
    abort_->setAutoDefault(false);
    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(continue_);
    buttons->addWidget(abort_);
    buttons->addStretch(1);

    auto* top = new QVBoxLayout(this);
    top->addSpacing(8);
    top->addWidget(text_);
    top->addSpacing(12);
    top->addLayout(buttons);
}

int CMonErrorDialog::exec() {
    // The caller's text replaces the template's placeholder as the dialog opens.
    text_->setText(message_);
    continue_->setFocus();
    return QDialog::exec();
}

}  // namespace kolt
