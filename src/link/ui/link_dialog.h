// The Link dialog: COM port and line settings, the stations to scan, and the
// Link / Unlink / Close choice.
#pragma once

#include "base/marben_app.h"
#include "link/link_procedure.h"
#include "link/ui/station_choice.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kolt {

class CLinkDialog : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Close, Link, Unlink };

    // Maps a COM number to the device it opens, shown beside the number.
    using DeviceResolver = std::function<std::string(int)>;

    // Shows the app's line settings and current station; the link flag decides
    // which buttons act.
    explicit CLinkDialog(const CMarbenApp& app, QWidget* parent = nullptr, DeviceResolver resolver = {});

    Choice choice() const { return choice_; }

    // The values as the dialog shows them now (codes as the settings file keeps them).
    int comPort() const;
    int baudRate() const;
    int dataBits() const;
    int parity() const;    // 0 none, 1 odd, 2 even
    int stopBits() const;  // 0 one, 2 two
    // Stations of "Single" (parsed text) or of "All of the Inverter".
    std::vector<int> stations() const;
    // The network port chosen in the port list; empty for a COM port.
    std::string portName() const;
    // The advanced part: a time-out field's ms, 0 when empty (the port kind's
    // default), -1 when it is not a number.
    int readTimeoutMs() const;
    int charGapMs() const;

    // The button and the values, as the link command takes them.
    LinkRequest request() const;

private:
    void SetLineValues(int baud, int dataBits, int parity, int stopBits);
    void ApplyDefaults();
    void UpdateEnabling();
    void PortChosen(int index);
    void ChooseNetworkPort();
    void ShowAdvanced(bool on);
    // False, with its message shown, while a time-out is out of range.
    bool AdvancedValuesOk();
    void Finish(Choice c);

    bool linked_;
    Choice choice_ = Choice::Close;
    int storedComPort_ = 1;    // what comPort() gives while a network port is chosen
    int lastPortIndex_ = 0;    // the list's choice before "Network..."

    QComboBox* comPort_;
    QComboBox* baud_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QPushButton* defaults_;
    QLabel* lineNote_;
    QToolButton* advancedToggle_;
    QWidget* advanced_;
    QLineEdit* readTimeout_;
    QLineEdit* charGap_;
    QCheckBox* echo_;
    QCheckBox* rs485_;
    StationChoice station_;
    QPushButton* link_;
    QPushButton* unlink_;
    QPushButton* close_;
};

}  // namespace kolt
