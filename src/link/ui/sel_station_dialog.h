// The "Compare Inverter with Default" dialog: the station to read and the
// mains frequency of the defaults.
#pragma once

#include "link/inverter_compare.h"

#include <QDialog>

class QComboBox;

namespace kolt {

class CSelStationDialog : public QDialog {
    Q_OBJECT
public:
    // Preset with the current station and the application's 50 Hz flag.
    explicit CSelStationDialog(const CMarbenApp& app, QWidget* parent = nullptr);

    InverterCompareRequest Request() const;

private:
    QComboBox* station_ = nullptr;
    QComboBox* frequency_ = nullptr;
};

}  // namespace kolt
