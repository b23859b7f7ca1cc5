#include "link/ui/network_port_dialog.h"

#include "base/texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kolt {

CNetworkPortDialog::CNetworkPortDialog(const std::string& preset, QWidget* parent) : QDialog(parent) {
    setObjectName("networkPortDialog");
    setWindowTitle(QString::fromUtf8(text::kNetworkTitle));
    const NetworkPort start = ParseNetworkPort(preset).value_or(NetworkPort{});

    host_ = new QLineEdit(QString::fromStdString(start.host));
    host_->setObjectName("hostEdit");
    host_->setMinimumWidth(220);
    port_ = new QLineEdit(start.port ? QString::number(start.port) : QString());
    port_->setObjectName("tcpPortEdit");
    port_->setMaxLength(5);
    raw_ = new QRadioButton(QString::fromUtf8(text::kRawTcp));
    raw_->setObjectName("rawTcpRadio");
    rfc2217_ = new QRadioButton(QString::fromUtf8(text::kRfc2217));
    rfc2217_->setObjectName("rfc2217Radio");
    (start.kind == PortKind::Rfc2217 ? rfc2217_ : raw_)->setChecked(true);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(raw_);
    kinds->addWidget(rfc2217_);
    kinds->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(text::kHostLabel), host_);
    form->addRow(QString::fromUtf8(text::kTcpPortLabel), port_);
    form->addRow(QString(), kinds);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &CNetworkPortDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(buttons);
    host_->setFocus();
}

void CNetworkPortDialog::Accept() {
    NetworkPort p;
    p.kind = rfc2217_->isChecked() ? PortKind::Rfc2217 : PortKind::RawTcp;
    p.host = host_->text().trimmed().toStdString();
    bool number = false;
    p.port = port_->text().trimmed().toInt(&number);
    const char* problem = nullptr;
    if (p.host.empty())
        problem = text::kNoHost;
    else if (!number || p.port < 1 || p.port > 65535)
        problem = text::kBadTcpPort;
    else if (!ParseNetworkPort(NetworkPortName(p)))
        problem = text::kNoHost;  // blanks, slashes or a bare IPv6 address
    if (problem) {
        QMessageBox::information(this, windowTitle(), QString::fromUtf8(problem));
        (problem == text::kBadTcpPort ? port_ : host_)->setFocus();
        return;
    }
    name_ = NetworkPortName(p);
    accept();
}

}  // namespace kolt
