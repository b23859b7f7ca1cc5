#include "link/ui/link_dialog.h"

#include "base/texts.h"
#include "link/serial_port.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kolt {

namespace {

constexpr int kComPorts = 8;
constexpr int kDefaultBaud = 38400;

struct Item {
    const char* text;
    int code;
};

constexpr Item kBaudItems[] = {{"4800", 4800}, {"9600", 9600}, {"19200", 19200}, {"38400", 38400}};
constexpr Item kDataItems[] = {{text::kData7, 7}, {text::kData8, 8}};
constexpr Item kParityItems[] = {{text::kParityNone, 0}, {text::kParityEven, 2}, {text::kParityOdd, 1}};
constexpr Item kStopItems[] = {{text::kStop1, 0}, {text::kStop2, 2}};

template <std::size_t N>
QComboBox* MakeCombo(const Item (&items)[N], const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const Item& it : items) box->addItem(QString::fromUtf8(it.text), it.code);
    return box;
}

// Selects the item with `code`, or the one with `fallback` when no item has it.
void SelectCode(QComboBox* box, int code, int fallback) {
    int i = box->findData(code);
    if (i < 0) i = box->findData(fallback);
    box->setCurrentIndex(i);
}

QGroupBox* Group(const char* title, QWidget* content, const char* name) {
    auto* g = new QGroupBox(QString::fromUtf8(title));
    g->setObjectName(name);
    auto* l = new QHBoxLayout(g);
    l->addWidget(content);
    return g;
}

}  // namespace

CLinkDialog::CLinkDialog(const CMarbenApp& app, QWidget* parent, DeviceResolver resolver)
    : QDialog(parent), linked_(app.linkedFlag != 0) {
    setObjectName("linkDialog");
    setWindowTitle(QString::fromUtf8(text::kLinkTitle));
    if (!resolver) resolver = [](int n) { return ResolveComPort(n); };

    // Each number shows the device it opens on this machine.
    comPort_ = new QComboBox;
    comPort_->setObjectName("comPortCombo");
    for (int n = 1; n <= kComPorts; ++n) {
        std::string dev = resolver(n);
        QString shown = dev.empty() ? QString::fromUtf8(text::kNoDevice) : QString::fromStdString(dev);
        comPort_->addItem(QStringLiteral("%1   (%2)").arg(n).arg(shown), n);
    }
    SelectCode(comPort_, app.settings.comPort, 1);
    auto* comRow = new QWidget;
    auto* comLayout = new QHBoxLayout(comRow);
    comLayout->setContentsMargins(0, 0, 0, 0);
    comLayout->addWidget(new QLabel(QString::fromUtf8(text::kComLabel)));
    comLayout->addWidget(comPort_, 1);

    baud_ = MakeCombo(kBaudItems, "baudCombo");
    dataBits_ = MakeCombo(kDataItems, "dataBitsCombo");
    parity_ = MakeCombo(kParityItems, "parityCombo");
    stopBits_ = MakeCombo(kStopItems, "stopBitsCombo");
    SetLineValues(app.settings.baudRate, app.settings.dataBits, app.settings.parity, app.settings.stopBits);

    defaults_ = new QPushButton(QString::fromUtf8(text::kDefaultSetting));
    defaults_->setObjectName("defaultButton");
    defaults_->setAutoDefault(false);
    connect(defaults_, &QPushButton::clicked, this, &CLinkDialog::ApplyDefaults);

    station_ = MakeStationChoice(text::kSingle, text::kAllInverters, app.currentStation);
    connect(station_.single, &QRadioButton::toggled, this, &CLinkDialog::UpdateEnabling);

    // Buttons down the right side
    link_ = new QPushButton(QString::fromUtf8(text::kLinkButton));
    link_->setObjectName("linkButton");
    unlink_ = new QPushButton(QString::fromUtf8(text::kUnlinkButton));
    unlink_->setObjectName("unlinkButton");
    close_ = new QPushButton(QString::fromUtf8(text::kCloseButton));
    close_->setObjectName("closeButton");
    connect(link_, &QPushButton::clicked, this, [this] { Finish(Choice::Link); });
    connect(unlink_, &QPushButton::clicked, this, [this] { Finish(Choice::Unlink); });
    connect(close_, &QPushButton::clicked, this, [this] { Finish(Choice::Close); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(link_);
    buttons->addWidget(unlink_);
    buttons->addWidget(close_);
    buttons->addStretch(1);

    auto* settingsGrid = new QGridLayout;
    settingsGrid->addWidget(Group(text::kComPortGroup, comRow, "comPortGroup"), 0, 0, 1, 2);
    settingsGrid->addWidget(Group(text::kBaudGroup, baud_, "baudGroup"), 1, 0);
    settingsGrid->addWidget(Group(text::kDataBitGroup, dataBits_, "dataBitGroup"), 1, 1);
    settingsGrid->addWidget(Group(text::kParityGroup, parity_, "parityGroup"), 2, 0);
    settingsGrid->addWidget(Group(text::kStopBitGroup, stopBits_, "stopBitGroup"), 2, 1);
    auto* defaultsRow = new QHBoxLayout;
    defaultsRow->addStretch(1);
    defaultsRow->addWidget(defaults_);
    settingsGrid->addLayout(defaultsRow, 3, 0, 1, 2);
    settingsGrid->addWidget(station_.box, 4, 0, 1, 2);

    auto* top = new QHBoxLayout(this);
    top->addLayout(settingsGrid, 1);
    top->addLayout(buttons);

    UpdateEnabling();
    // Enter presses the button that can act.
    (linked_ ? unlink_ : link_)->setDefault(true);
    if (!linked_) station_.text->setFocus();
}

void CLinkDialog::SetLineValues(int baud, int dataBits, int parity, int stopBits) {
    SelectCode(baud_, baud, kDefaultBaud);
    SelectCode(dataBits_, dataBits == 7 ? 7 : 8, 8);
    SelectCode(parity_, parity, 0);
    SelectCode(stopBits_, stopBits, 0);
}

void CLinkDialog::ApplyDefaults() {
    SetLineValues(kDefaultBaud, 8, 0, 0);
}

void CLinkDialog::UpdateEnabling() {
    const bool inputs = !linked_;
    for (QWidget* w : {static_cast<QWidget*>(comPort_), static_cast<QWidget*>(baud_),
                       static_cast<QWidget*>(dataBits_), static_cast<QWidget*>(parity_),
                       static_cast<QWidget*>(stopBits_), static_cast<QWidget*>(defaults_),
                       static_cast<QWidget*>(link_)})
        w->setEnabled(inputs);
    station_.SetEnabled(inputs);
    unlink_->setEnabled(linked_);
}

void CLinkDialog::Finish(Choice c) {
    choice_ = c;
    if (c == Choice::Close)
        reject();
    else
        accept();
}

int CLinkDialog::comPort() const { return comPort_->currentData().toInt(); }
int CLinkDialog::baudRate() const { return baud_->currentData().toInt(); }
int CLinkDialog::dataBits() const { return dataBits_->currentData().toInt(); }
int CLinkDialog::parity() const { return parity_->currentData().toInt(); }
int CLinkDialog::stopBits() const { return stopBits_->currentData().toInt(); }

std::vector<int> CLinkDialog::stations() const { return station_.Stations(); }

LinkRequest CLinkDialog::request() const {
    LinkRequest r;
    switch (choice_) {
    case Choice::Close:
        r.button = LinkButton::Close;
        break;
    case Choice::Link:
        r.button = LinkButton::Link;
        break;
    case Choice::Unlink:
        r.button = LinkButton::Unlink;
        break;
    }
    r.line = {comPort(), baudRate(), dataBits(), parity(), stopBits()};
    if (choice_ == Choice::Link) r.stations = stations();
    return r;
}

}  // namespace kolt
