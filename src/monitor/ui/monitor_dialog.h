// The Monitor command's start dialog: watch one station, or every station
// that answers in a range text.
#pragma once

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kolt {

class CMonitorDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on "Single Station:" with `currentStation` chosen in the list.
    explicit CMonitorDialog(int currentStation, QWidget* parent = nullptr);

    bool AllStations() const;
    // The station chosen in the list (1..254).
    int SingleStation() const;
    // The result: the one chosen station, or the range text's stations ascending
    // (an empty text is every station, separators alone none).
    std::vector<int> Stations() const;

private:
    void UpdateEnabling();

    QRadioButton* single_;
    QRadioButton* all_;
    QComboBox* station_;
    QLineEdit* range_;
    QLabel* hint_;
};

}  // namespace kolt
