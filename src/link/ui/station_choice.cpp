#include "link/ui/station_choice.h"

#include "base/texts.h"
#include "link/station_list.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace kolt {

std::vector<int> StationChoice::Stations() const {
    if (all->isChecked()) return AllStations();
    return ParseStationList(text->text().toStdString());
}

void StationChoice::SetEnabled(bool on) {
    single->setEnabled(on);
    all->setEnabled(on);
    text->setEnabled(on && single->isChecked());
    hint->setEnabled(on && single->isChecked());
}

StationChoice MakeStationChoice(const char* singleCaption, const char* allCaption, int station) {
    StationChoice c;
    c.single = new QRadioButton(QString::fromUtf8(singleCaption));
    c.single->setObjectName("singleRadio");
    c.all = new QRadioButton(QString::fromUtf8(allCaption));
    c.all->setObjectName("allRadio");
    c.text = new QLineEdit(QString::number(station));
    c.text->setObjectName("stationEdit");
    c.hint = new QLabel(QString::fromUtf8(text::kStationHint));
    c.hint->setObjectName("stationHint");
    c.single->setChecked(true);

    c.box = new QGroupBox(QString::fromUtf8(text::kStationGroup));
    c.box->setObjectName("stationGroup");
    auto* layout = new QGridLayout(c.box);
    layout->addWidget(c.single, 0, 0);
    layout->addWidget(c.text, 0, 1);
    layout->addWidget(c.hint, 1, 1);
    layout->addWidget(c.all, 2, 0, 1, 2);
    return c;
}

}  // namespace kolt
