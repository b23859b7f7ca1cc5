#include "monitor/ui/monitor_panel.h"

#include "base/texts.h"
#include "monitor/monitor_texts.h"
#include "monitor/ui/lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kolt {

namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

// The single window's lamps are the larger ones, as the five panels have less room.
constexpr int kSingleLampDiameter = 10;
constexpr int kMultiLampDiameter = 8;
// A tripped drive's fault field and station label: the lamps' red.
const QColor kTripColour(255, 0, 0);

QPushButton* MakeButton(const char* text, const char* name) {
    auto* b = new QPushButton(Q(text));
    b->setObjectName(QString::fromLatin1(name));
    // Enter does nothing in a monitor window: no button is a default one.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

CMonitorPanel::CMonitorPanel(Shape shape, CMonitorEngine& engine, const std::uint8_t& busyFlag, QWidget* parent)
    : QWidget(parent), shape_(shape), engine_(engine), busy_(busyFlag) {
    setObjectName(QStringLiteral("monitorPanel"));
    QGroupBox* current = BuildCurrent();
    QGroupBox* terminals = BuildTerminals();
    QGroupBox* control = BuildControl();

    if (shape_ == Shape::Single) {
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->addWidget(current, 0, 0);
        grid->addWidget(terminals, 1, 0);
        grid->addWidget(control, 0, 1, 2, 1);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);
    } else {
        label_ = new QLineEdit;
        label_->setObjectName(QStringLiteral("stationLabel"));
        label_->setReadOnly(true);
        label_->setFocusPolicy(Qt::NoFocus);
        link_ = MakeButton(text::kPanelLink, "link");
        unlink_ = MakeButton(text::kPanelUnlink, "unlink");
        connect(link_, &QPushButton::clicked, this, [this] {
            if (!busy_) emit linkPressed();
        });
        connect(unlink_, &QPushButton::clicked, this, [this] {
            if (!busy_) emit unlinkPressed();
        });
        auto* linkRow = new QHBoxLayout;
        linkRow->addWidget(link_);
        linkRow->addWidget(unlink_);

        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(label_);
        column->addWidget(current);
        column->addWidget(terminals);
        column->addWidget(control);
        column->addLayout(linkRow);
        column->addStretch(1);
    }
}

QLineEdit* CMonitorPanel::MakeValue(const char* name) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignRight);
    e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12);
    return e;
}

QGroupBox* CMonitorPanel::BuildCurrent() {
    auto* box = new QGroupBox(Q(text::kGroupCurrent));
    box->setObjectName(QStringLiteral("currentGroup"));
    auto* grid = new QGridLayout(box);

    runState_ = MakeValue("runState");
    direction_ = MakeValue("direction");
    runState_->setAlignment(Qt::AlignCenter);
    direction_->setAlignment(Qt::AlignCenter);
    QFont big = runState_->font();
    big.setBold(true);
    runState_->setFont(big);
    direction_->setFont(big);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(runState_);
    stateRow->addWidget(direction_);
    grid->addLayout(stateRow, 0, 0, 1, 3);

    struct Row {
        const char* label;
        const char* name;
        const char* unit;
    };
    static constexpr Row kRows[] = {
        {text::kSetFreqLabel, "setFreq", text::kUnitHz},      {text::kOutputFreqLabel, "outputFreq", text::kUnitHz},
        {text::kOutputVoltLabel, "outputVolt", text::kUnitV}, {text::kOutputAmpLabel, "outputAmp", text::kUnitA},
        {text::kOutputPowerLabel, "outputPower", text::kUnitW}, {text::kBusVoltLabel, "busVolt", text::kUnitV},
    };
    int row = 1;
    for (const Row& r : kRows) {
        grid->addWidget(new QLabel(Q(r.label)), row, 0);
        grid->addWidget(MakeValue(r.name), row, 1);
        grid->addWidget(new QLabel(Q(r.unit)), row, 2);
        ++row;
        if (row == 2) {
            // The frequency command goes right under the set frequency it changes.
            freqInput_ = new QLineEdit;
            freqInput_->setObjectName(QStringLiteral("freqInput"));
            freqInput_->setMaxLength(kInputFieldLimit);
            QPushButton* set = MakeButton(text::kSetButton, "freqSet");
            connect(set, &QPushButton::clicked, this, &CMonitorPanel::SetFrequency);
            connect(freqInput_, &QLineEdit::textChanged, this, [this] {
                FollowInputRule(freqInput_, lastFreqText_, kFreqIntegerDigits, kFreqDecimals);
            });
            freqInput_->setMinimumWidth(freqInput_->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12);
            auto* input = new QHBoxLayout;
            input->addWidget(freqInput_, 1);
            input->addWidget(set);
            // The narrow panels give the field the label's room as well.
            if (shape_ == Shape::Single)
                grid->addLayout(input, row, 1, 1, 2);
            else
                grid->addLayout(input, row, 0, 1, 3);
            ++row;
        }
    }
    fault_ = MakeValue("fault");
    fault_->setAlignment(Qt::AlignLeft);
    grid->addWidget(new QLabel(Q(text::kErrorMessageLabel)), row, 0);
    grid->addWidget(fault_, row, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

QGroupBox* CMonitorPanel::BuildTerminals() {
    auto* box = new QGroupBox(Q(text::kGroupTm2));
    box->setObjectName(QStringLiteral("terminalGroup"));
    auto* grid = new QGridLayout(box);
    const int perRow = shape_ == Shape::Single ? kTerminalCount : 3;
    const int diameter = shape_ == Shape::Single ? kSingleLampDiameter : kMultiLampDiameter;
    for (int i = 0; i < kTerminalCount; ++i) {
        auto* check = new QCheckBox(Q(text::kTerminalNames[i]));
        check->setObjectName(QStringLiteral("terminal%1").arg(Q(text::kTerminalNames[i])));
        auto* lamp = new CLamp(diameter);
        lamp->setObjectName(QStringLiteral("lamp%1").arg(Q(text::kTerminalNames[i])));
        lamp->SetState(shape_ == Shape::Single ? CLamp::State::Off : CLamp::State::Unmonitored);
        checks_[static_cast<std::size_t>(i)] = check;
        lamps_[static_cast<std::size_t>(i)] = lamp;
        connect(check, &QCheckBox::clicked, this, [this, i] { ToggleTerminal(i); });
        auto* cell = new QHBoxLayout;
        cell->setSpacing(4);
        cell->addWidget(lamp, 0, Qt::AlignVCenter);
        cell->addWidget(check);
        cell->addStretch(1);
        // The relay stands a little apart from the five inputs.
        const int column = i % perRow + (shape_ == Shape::Single && i == kTerminalCount - 1 ? 1 : 0);
        grid->addLayout(cell, i / perRow, column);
    }
    if (shape_ == Shape::Single) grid->setColumnMinimumWidth(kTerminalCount - 1, 16);
    return box;
}

QGroupBox* CMonitorPanel::BuildControl() {
    auto* box = new QGroupBox(Q(text::kGroupControl));
    box->setObjectName(QStringLiteral("controlGroup"));
    auto* grid = new QGridLayout(box);

    struct ButtonSpec {
        const char* text;
        const char* name;
        MonitorButton button;
    };
    static constexpr ButtonSpec kPresses[] = {
        {text::kRunButton, "run", MonitorButton::Run},
        {text::kStopButton, "stop", MonitorButton::Stop},
        {text::kFwdButton, "fwd", MonitorButton::Forward},
        {text::kRevButton, "rev", MonitorButton::Reverse},
        {text::kAbnormityReset, "faultReset", MonitorButton::FaultReset},
    };
    int i = 0;
    for (const ButtonSpec& p : kPresses) {
        QPushButton* b = MakeButton(p.text, p.name);
        connect(b, &QPushButton::clicked, this, [this, button = p.button] { Press(button); });
        if (i < 4)
            grid->addWidget(b, i / 2, i % 2);
        else
            grid->addWidget(b, 2, 0, 1, 2);
        ++i;
    }

    funNo_ = new QComboBox;
    funNo_->setObjectName(QStringLiteral("funNo"));
    funNo_->setMaxVisibleItems(16);
    connect(funNo_, &QComboBox::currentIndexChanged, this, [this](int position) {
        if (position >= 0) SelectParameter(position);
    });
    funData_ = MakeValue("funData");
    setData_ = new QLineEdit;
    setData_->setObjectName(QStringLiteral("setData"));
    setData_->setMaxLength(kInputFieldLimit);
    connect(setData_, &QLineEdit::textChanged, this,
            [this] { FollowInputRule(setData_, lastSetText_, setIntegerDigits_, setDecimals_); });
    QPushButton* set = MakeButton(text::kSetButton, "setDataSet");
    connect(set, &QPushButton::clicked, this, &CMonitorPanel::SetParameterData);
    QPushButton* trend = MakeButton(text::kTrendButton, "trend");
    connect(trend, &QPushButton::clicked, this, [this] {
        if (active_ && HasStation()) emit trendPressed(station_);
    });

    grid->addWidget(new QLabel(Q(text::kFunNoLabel)), 3, 0);
    grid->addWidget(funNo_, 3, 1);
    grid->addWidget(new QLabel(Q(text::kFunDataLabel)), 4, 0);
    grid->addWidget(funData_, 4, 1);
    grid->addWidget(new QLabel(Q(text::kSetDataLabel)), 5, 0);
    auto* input = new QHBoxLayout;
    input->addWidget(setData_, 1);
    input->addWidget(set);
    grid->addLayout(input, 6, 0, 1, 2);
    grid->addWidget(trend, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
    return box;
}

QLineEdit* CMonitorPanel::Field(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

QPushButton* CMonitorPanel::Button(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void CMonitorPanel::SetLabel(const QString& label) {
    if (!label_) return;
    label_->setText(label);
    // A long title would push the station number out of the narrow field.
    label_->setCursorPosition(0);
    label_->setToolTip(label);
}

void CMonitorPanel::MarkTrip(bool tripped) {
    if (tripped == tripped_) return;
    tripped_ = tripped;
    for (QLineEdit* e : {fault_, label_}) {
        if (!e) continue;
        QPalette red;
        if (tripped) {
            red = e->palette();
            red.setColor(QPalette::Base, kTripColour);
            red.setColor(QPalette::Text, Qt::white);
        }
        // An empty palette gives the field back its own colours.
        e->setPalette(red);
    }
}

// ---------------------------------------------------------------- states

void CMonitorPanel::FillFunctionList(int position) {
    QSignalBlocker quiet(funNo_);
    if (funNo_->count() != kFunctionListSize) {
        funNo_->clear();
        for (int p = 0; p < kFunctionListSize; ++p) funNo_->addItem(Q(FunctionCodeAt(p)));
    }
    funNo_->setCurrentIndex(position);
}

void CMonitorPanel::Activate(int position) {
    if (!HasStation()) return Deactivate(false);
    const bool wasActive = active_;
    active_ = true;
    if (!wasActive) {
        for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(true);
        for (CLamp* lamp : lamps_) lamp->SetState(CLamp::State::Off);
    }
    if (link_) link_->setEnabled(false);
    if (unlink_) unlink_->setEnabled(true);
    FillFunctionList(position);
    position_ = -1;  // the parameter is made current even when the position stays
    SelectParameter(position);
}

void CMonitorPanel::Deactivate(bool linkable) {
    active_ = false;
    position_ = -1;
    for (QCheckBox* c : checks_) c->setChecked(false);
    {
        QSignalBlocker quiet(funNo_);
        funNo_->clear();
    }
    EmptyFields();
    for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(false);
    if (label_) label_->setEnabled(true);
    if (link_) link_->setEnabled(linkable);
    for (CLamp* lamp : lamps_) {
        lamp->setEnabled(true);
        lamp->SetState(CLamp::State::Unmonitored);
    }
}

void CMonitorPanel::EmptyFields() {
    for (const char* name : {"runState", "direction", "setFreq", "outputFreq", "outputVolt", "outputAmp",
                             "outputPower", "busVolt", "fault", "funData"})
        Field(name)->clear();
    SetInputText(freqInput_, lastFreqText_, {});
    SetInputText(setData_, lastSetText_, {});
    MarkTrip(false);
}

void CMonitorPanel::Refresh() {
    if (!active_ || !HasStation()) {
        EmptyFields();
        for (CLamp* lamp : lamps_) lamp->SetState(CLamp::State::Unmonitored);
        return;
    }
    const StationRecord& r = Record();
    runState_->setText(Q(RunStateText(r.running)));
    direction_->setText(Q(DirectionText(r.reverse)));
    Field("setFreq")->setText(Q(TwoDecimalMonitorText(r.setFreq)));
    Field("outputFreq")->setText(Q(TwoDecimalMonitorText(r.outFreq)));
    Field("outputVolt")->setText(Q(OneDecimalMonitorText(r.outVolt)));
    Field("outputAmp")->setText(Q(OneDecimalMonitorText(r.outAmp)));
    Field("outputPower")->setText(Q(PowerMonitorText(r.outVolt, r.outAmp)));
    Field("busVolt")->setText(Q(OneDecimalMonitorText(r.busVolt)));
    fault_->setText(Q(FaultName(r.faultCode)));
    MarkTrip(DriveTripped(r.faultCode));
    funData_->setText(Q(engine_.FunDataText(station_)));
    for (int i = 0; i < kTerminalCount; ++i) {
        const bool on = r.terminals[static_cast<std::size_t>(i)] != 0;
        checks_[static_cast<std::size_t>(i)]->setChecked(on);
        lamps_[static_cast<std::size_t>(i)]->SetState(on ? CLamp::State::On : CLamp::State::Off);
    }
}

// ---------------------------------------------------------------- controls

void CMonitorPanel::Press(MonitorButton button) {
    if (!active_ || !HasStation()) return;
    engine_.PressButton(station_, button);
}

void CMonitorPanel::ToggleTerminal(int i) {
    if (!active_ || !HasStation()) return;
    if (busy_) {
        // An ignored click leaves the mark as the drive reported it.
        checks_[static_cast<std::size_t>(i)]->setChecked(Record().terminals[static_cast<std::size_t>(i)] != 0);
        return;
    }
    engine_.PressButton(station_, static_cast<MonitorButton>(static_cast<int>(MonitorButton::S1) + i));
}

void CMonitorPanel::AfterSet(QLineEdit* edit, std::string& lastAccepted, const SetOutcome& outcome) {
    if (outcome.ignored) return;
    if (outcome.accepted) return SetInputText(edit, lastAccepted, outcome.text);
    // Refused: the engine has shown "Over Range !!"; the value stays to be mended.
    edit->setFocus();
    edit->selectAll();
}

void CMonitorPanel::SetFrequency() {
    if (!active_ || !HasStation()) return;
    AfterSet(freqInput_, lastFreqText_, engine_.SetFrequencyText(station_, freqInput_->text().toStdString()));
}

void CMonitorPanel::SetParameterData() {
    if (!active_ || !HasStation()) return;
    AfterSet(setData_, lastSetText_, engine_.SetDataText(station_, setData_->text().toStdString()));
}

void CMonitorPanel::SelectParameter(int position) {
    if (position == position_ || !HasStation()) return;
    const int number = ParameterOfPosition(position);
    if (number < 0) return;
    position_ = position;
    engine_.SelectFunction(station_, position);
    const SetDataLimits limits = SetDataLimitsOf(number);
    setIntegerDigits_ = limits.integerDigits;
    setDecimals_ = limits.decimals;
    setData_->setMaxLength(limits.width > 0 ? limits.width : kInputFieldLimit);
    funData_->setText(Q(engine_.FunDataText(station_)));
    SetInputText(setData_, lastSetText_, {});
    emit positionChosen(station_, position);
}

// ---------------------------------------------------------------- typing

void CMonitorPanel::SetInputText(QLineEdit* edit, std::string& lastAccepted, const std::string& text) {
    lastAccepted = text;  // first, so the change below is not taken for typing
    if (edit->text() != Q(text)) edit->setText(Q(text));
}

void CMonitorPanel::FollowInputRule(QLineEdit* edit, std::string& lastAccepted, int integerDigits, int decimals) {
    const std::string now = edit->text().toStdString();
    if (now == lastAccepted) return;
    const InputRuleResult result = ApplyInputRule(lastAccepted, now, integerDigits, decimals, edit->cursorPosition());
    lastAccepted = result.text;
    if (now != result.text) {
        QSignalBlocker quiet(edit);
        edit->setText(Q(result.text));
    }
    edit->setCursorPosition(result.caret);
}

}  // namespace kolt
