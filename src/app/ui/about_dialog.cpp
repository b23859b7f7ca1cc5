#include "app/ui/about_dialog.h"

#include "base/prompts.h"
#include "base/texts.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kolt {

CAboutDlg::CAboutDlg(IPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(text::kAboutCaption);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/kolt.png")).scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* name = new QLabel(QString::fromUtf8(text::kAboutText), this);
    name->setObjectName(QStringLiteral("aboutText"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/images/about.png")));

    const QString address = QString::fromUtf8(text::kAboutLinkText);
    link_ = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
    link_->setObjectName(QStringLiteral("aboutLink"));
    link_->setTextFormat(Qt::RichText);
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link_->setCursor(Qt::PointingHandCursor);
    connect(link_, &QLabel::linkActivated, this, [this] { OpenLink(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(buttons, 0, 2, Qt::AlignTop);
    grid->addWidget(picture, 1, 0, 1, 3, Qt::AlignCenter);
    grid->addWidget(link_, 2, 0, 1, 3, Qt::AlignCenter);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void CAboutDlg::OpenLink() {
    if (!opener_(QUrl(QString::fromUtf8(text::kAboutLinkText))))
        prompts_.Message(text::kLinkCannotRun, text::kAboutCaption, Icon::Exclamation);
}

}  // namespace kolt
