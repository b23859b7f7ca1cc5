// The Link dialog's "Network..." entry: host, TCP port and kind of a serial
// device server.
#pragma once

#include "base/port_name.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QRadioButton;

namespace kolt {

class CNetworkPortDialog : public QDialog {
    Q_OBJECT
public:
    // Starts with `preset` when it names a network port, else empty as raw TCP.
    explicit CNetworkPortDialog(const std::string& preset, QWidget* parent = nullptr);

    // "tcp://HOST:PORT" or "rfc2217://HOST:PORT" once OK has accepted it.
    const std::string& portName() const { return name_; }

private:
    void Accept();

    QLineEdit* host_;
    QLineEdit* port_;
    QRadioButton* raw_;
    QRadioButton* rfc2217_;
    std::string name_;
};

}  // namespace kolt
