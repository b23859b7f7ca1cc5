// The controls of one monitored station: the "CURRENT" values, the "TM2
// status" terminals with their lamps and the "CONTROL" buttons and fields.
// The single-station window holds one, the all-station window five. A panel
// shows what the station monitor table holds and hands every press to the
// engine, which sets the requests and posts the command; the panel never
// talks to the bus.
#pragma once

#include "monitor/monitor_engine.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kolt {

class CLamp;

class CMonitorPanel : public QWidget {
    Q_OBJECT
public:
    // Single: one wide panel (values and terminals left, controls right).
    // Multi: a narrow column with a station label and Link/Unlink.
    enum class Shape { Single, Multi };

    // `busyFlag` is the application's: Link and Unlink do nothing while it is up
    // (the engine ignores the other buttons itself).
    CMonitorPanel(Shape shape, CMonitorEngine& engine, const std::uint8_t& busyFlag, QWidget* parent = nullptr);

    // The station shown; 0 or anything above 254 is no station (the fifth panel of the last page).
    void SetStation(int station) { station_ = station; }
    int Station() const { return station_; }
    bool HasStation() const { return StationMonitorTable::Holds(station_) && station_ > 0; }
    // The station label shows its beginning (the number); the whole text is its tip.
    void SetLabel(const QString& label);

    // Enables the controls for a monitored station: the 111 codes in "Fun. no.",
    // `position` chosen, and that parameter made the station's selected one.
    void Activate(int position);
    // No monitored station here: values and inputs empty, check marks off, every
    // control disabled but "Link" (kept only when `linkable`), "Fun. no." empty.
    void Deactivate(bool linkable);
    bool IsActive() const { return active_; }

    // Writes the display fields from the station's record, or empties them
    // when the panel is inactive; the lamps follow. While the drive reports a
    // trip, "Error message:" and the station label show white on red.
    void Refresh();

    // The "Fun. no." position chosen last (0..110).
    int Position() const { return position_; }

    // Widgets by role, for the windows' layout and for tests.
    QLineEdit* Field(const char* name) const;
    QPushButton* Button(const char* name) const;
    QCheckBox* TerminalCheck(int i) const { return checks_[static_cast<std::size_t>(i)]; }
    CLamp* Lamp(int i) const { return lamps_[static_cast<std::size_t>(i)]; }
    QComboBox* FunctionList() const { return funNo_; }
    QLineEdit* FrequencyInput() const { return freqInput_; }
    QLineEdit* SetDataInput() const { return setData_; }

signals:
    // "Fun. no." moved to a new position for this panel's station.
    void positionChosen(int station, int position);
    void linkPressed();
    // "Trend" for this panel's station.
    void trendPressed(int station);
    void unlinkPressed();

private:
    QLineEdit* MakeValue(const char* name);
    QGroupBox* BuildCurrent();
    QGroupBox* BuildTerminals();
    QGroupBox* BuildControl();
    void FillFunctionList(int position);
    void SelectParameter(int position);
    void Press(MonitorButton button);
    void ToggleTerminal(int i);
    void SetFrequency();
    void SetParameterData();
    void AfterSet(QLineEdit* edit, std::string& lastAccepted, const SetOutcome& outcome);
    void FollowInputRule(QLineEdit* edit, std::string& lastAccepted, int integerDigits, int decimals);
    void SetInputText(QLineEdit* edit, std::string& lastAccepted, const std::string& text);
    void EmptyFields();
    void MarkTrip(bool tripped);
    const StationRecord& Record() const { return engine_.Table()[station_]; }

    Shape shape_;
    CMonitorEngine& engine_;
    const std::uint8_t& busy_;
    int station_ = 0;
    bool active_ = false;
    bool tripped_ = false;
    int position_ = -1;
    // Typing limits of "Set data": the selected parameter's digits.
    int setIntegerDigits_ = 0;
    int setDecimals_ = 0;
    std::string lastFreqText_;
    std::string lastSetText_;

    QLineEdit* label_ = nullptr;
    QLineEdit* runState_;
    QLineEdit* direction_;
    QLineEdit* fault_;
    QLineEdit* freqInput_;
    QLineEdit* funData_;
    QLineEdit* setData_;
    QComboBox* funNo_;
    std::array<QCheckBox*, kTerminalCount> checks_{};
    std::array<CLamp*, kTerminalCount> lamps_{};
    QPushButton* link_ = nullptr;
    QPushButton* unlink_ = nullptr;
};

}  // namespace kolt
