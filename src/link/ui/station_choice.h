// The "Station" group of the Link and Write dialogs: "Single" with its station
// text and the hint under it, or every station on the line.
#pragma once

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kolt {

struct StationChoice {
    QGroupBox* box = nullptr;
    QRadioButton* single = nullptr;
    QRadioButton* all = nullptr;
    QLineEdit* text = nullptr;
    QLabel* hint = nullptr;

    // The chosen stations, ascending: the parsed text or all 254.
    std::vector<int> Stations() const;
    // The radio buttons follow `on`; the text and hint act only for "Single".
    void SetEnabled(bool on);
};

// The group with "Single" chosen and `station` in its text; the captions of
// the two radio buttons differ between the dialogs.
StationChoice MakeStationChoice(const char* singleCaption, const char* allCaption, int station);

}  // namespace kolt
