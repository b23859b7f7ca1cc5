#include "link/ui/link_dialog.h"

#include "base/port_name.h"
#include "base/texts.h"
#include "link/serial_port.h"
#include "link/ui/network_port_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

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

// The port list's items: a COM number (int), a network port's name (string), or
// no data for the "Network..." entry.
bool IsComItem(const QVariant& data) { return data.typeId() == QMetaType::Int; }
bool IsNetworkItem(const QVariant& data) { return data.typeId() == QMetaType::QString; }

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A time-out as its field shows it: empty for 0, the port kind's default.
QLineEdit* TimeoutEdit(int ms, const char* name) {
    auto* edit = new QLineEdit(ms > 0 ? QString::number(ms) : QString());
    edit->setObjectName(name);
    edit->setMaxLength(6);
    return edit;
}

// 0 for an empty field, -1 for one that is not a number.
int FieldMs(const QLineEdit* edit) {
    const QString t = edit->text().trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? v : -1;
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
    storedComPort_ = comPort_->currentData().toInt();
    // Then the network ports used before, newest first, and the entry that asks for a new one.
    std::vector<std::string> netPorts = app.settings.recentNetPorts;
    const std::string& inUse = app.settings.netPort;
    if (!inUse.empty() && std::find(netPorts.begin(), netPorts.end(), inUse) == netPorts.end()) netPorts.insert(netPorts.begin(), inUse);
    for (const std::string& name : netPorts)
        if (ParseNetworkPort(name)) comPort_->addItem(QString::fromStdString(name), QString::fromStdString(name));
    comPort_->addItem(Q(text::kNetworkEntry));
    if (const int i = comPort_->findData(QString::fromStdString(inUse)); !inUse.empty() && i >= 0) comPort_->setCurrentIndex(i);
    lastPortIndex_ = comPort_->currentIndex();
    connect(comPort_, &QComboBox::currentIndexChanged, this, &CLinkDialog::PortChosen);
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
    lineNote_ = new QLabel(Q(text::kRawTcpNote));
    lineNote_->setObjectName("lineNote");
    lineNote_->setWordWrap(true);

    // The advanced part, folded away until asked for or holding a value of its own.
    const LineSettings line = LineSettingsOf(app.settings);
    advancedToggle_ = new QToolButton;
    advancedToggle_->setObjectName("advancedToggle");
    advancedToggle_->setText(Q(text::kAdvancedToggle));
    advancedToggle_->setCheckable(true);
    advancedToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    advancedToggle_->setAutoRaise(true);
    readTimeout_ = TimeoutEdit(line.readTimeoutMs, "readTimeoutEdit");
    charGap_ = TimeoutEdit(line.charGapMs, "charGapEdit");
    echo_ = new QCheckBox(Q(text::kEchoCheck));
    echo_->setObjectName("echoCheck");
    echo_->setChecked(line.echo);
    rs485_ = new QCheckBox(Q(text::kRs485Check));
    rs485_->setObjectName("rs485Check");
    rs485_->setChecked(line.rs485);
    advanced_ = new QWidget;
    advanced_->setObjectName("advancedBox");
    auto* advancedForm = new QFormLayout(advanced_);
    advancedForm->setContentsMargins(0, 0, 0, 0);
    advancedForm->addRow(Q(text::kReadTimeoutLabel), readTimeout_);
    advancedForm->addRow(Q(text::kCharGapLabel), charGap_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(echo_);
    checks->addWidget(rs485_);
    checks->addStretch(1);
    advancedForm->addRow(checks);
    connect(advancedToggle_, &QToolButton::toggled, this, &CLinkDialog::ShowAdvanced);

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
    defaultsRow->addWidget(lineNote_, 1);
    defaultsRow->addStretch(0);  // keeps the button at the right while the note is hidden
    defaultsRow->addWidget(defaults_);
    settingsGrid->addLayout(defaultsRow, 3, 0, 1, 2);
    settingsGrid->addWidget(station_.box, 4, 0, 1, 2);
    settingsGrid->addWidget(advancedToggle_, 5, 0, 1, 2, Qt::AlignLeft);
    settingsGrid->addWidget(advanced_, 6, 0, 1, 2);

    auto* top = new QHBoxLayout(this);
    // Folding the advanced part away shrinks the window again.
    top->setSizeConstraint(QLayout::SetFixedSize);
    top->addLayout(settingsGrid, 1);
    top->addLayout(buttons);

    ShowAdvanced(line.readTimeoutMs || line.charGapMs || line.echo || line.rs485);
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
    const PortKind kind = PortKindOf(portName());
    // A raw TCP server runs its serial line as it is set up itself.
    const bool lineInputs = inputs && kind != PortKind::RawTcp;
    for (QWidget* w : {static_cast<QWidget*>(comPort_), static_cast<QWidget*>(readTimeout_),
                       static_cast<QWidget*>(charGap_), static_cast<QWidget*>(echo_), static_cast<QWidget*>(link_)})
        w->setEnabled(inputs);
    for (QWidget* w : {static_cast<QWidget*>(baud_), static_cast<QWidget*>(dataBits_), static_cast<QWidget*>(parity_),
                       static_cast<QWidget*>(stopBits_), static_cast<QWidget*>(defaults_)})
        w->setEnabled(lineInputs);
    // The kernel's RS-485 mode belongs to a UART on this machine.
    rs485_->setEnabled(inputs && kind == PortKind::Local);
    lineNote_->setVisible(kind == PortKind::RawTcp);
    readTimeout_->setPlaceholderText(QString::asprintf(text::kDefaultMs, DefaultReadTimeoutMs(kind)));
    charGap_->setPlaceholderText(QString::asprintf(text::kDefaultMs, DefaultCharGapMs(kind)));
    station_.SetEnabled(inputs);
    unlink_->setEnabled(linked_);
}

void CLinkDialog::PortChosen(int index) {
    if (!IsComItem(comPort_->itemData(index)) && !IsNetworkItem(comPort_->itemData(index))) {
        ChooseNetworkPort();
        return;
    }
    lastPortIndex_ = index;
    UpdateEnabling();
}

void CLinkDialog::ChooseNetworkPort() {
    const QVariant before = comPort_->itemData(lastPortIndex_);
    CNetworkPortDialog dialog(IsNetworkItem(before) ? before.toString().toStdString() : std::string(), this);
    int chosen = lastPortIndex_;  // Cancel goes back to the port chosen before
    if (dialog.exec() == QDialog::Accepted) {
        const QString name = QString::fromStdString(dialog.portName());
        chosen = comPort_->findData(name);
        if (chosen < 0) {
            // New ones go first among the network ports, as the settings keep them.
            const QSignalBlocker quiet(comPort_);
            chosen = kComPorts;
            comPort_->insertItem(chosen, name, name);
        }
    }
    {
        const QSignalBlocker quiet(comPort_);
        comPort_->setCurrentIndex(chosen);
    }
    lastPortIndex_ = chosen;
    UpdateEnabling();
}

void CLinkDialog::ShowAdvanced(bool on) {
    {
        const QSignalBlocker quiet(advancedToggle_);
        advancedToggle_->setChecked(on);
    }
    advancedToggle_->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
    advanced_->setVisible(on);
}

bool CLinkDialog::AdvancedValuesOk() {
    struct Check {
        QLineEdit* edit;
        int min, max;
        const char* message;
    };
    for (const Check& c : {Check{readTimeout_, kReadTimeoutMinMs, kReadTimeoutMaxMs, text::kBadReadTimeout},
                           Check{charGap_, kCharGapMinMs, kCharGapMaxMs, text::kBadCharGap}}) {
        const int ms = FieldMs(c.edit);
        if (ms == 0 || (ms >= c.min && ms <= c.max)) continue;
        ShowAdvanced(true);
        QMessageBox::information(this, windowTitle(), QString::asprintf(c.message, c.min, c.max));
        c.edit->setFocus();
        c.edit->selectAll();
        return false;
    }
    return true;
}

void CLinkDialog::Finish(Choice c) {
    if (c == Choice::Link && !AdvancedValuesOk()) return;
    choice_ = c;
    if (c == Choice::Close)
        reject();
    else
        accept();
}

int CLinkDialog::comPort() const {
    const QVariant data = comPort_->currentData();
    return IsComItem(data) ? data.toInt() : storedComPort_;
}

std::string CLinkDialog::portName() const {
    const QVariant data = comPort_->currentData();
    return IsNetworkItem(data) ? data.toString().toStdString() : std::string();
}

int CLinkDialog::readTimeoutMs() const { return FieldMs(readTimeout_); }
int CLinkDialog::charGapMs() const { return FieldMs(charGap_); }
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
    r.portName = portName();
    r.line.readTimeoutMs = std::max(readTimeoutMs(), 0);
    r.line.charGapMs = std::max(charGapMs(), 0);
    r.line.echo = echo_->isChecked();
    r.line.rs485 = rs485_->isChecked() && r.portName.empty();
    if (choice_ == Choice::Link) r.stations = stations();
    return r;
}

}  // namespace kolt
