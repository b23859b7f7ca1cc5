#include "link/ui/group_checks.h"

#include <QCheckBox>

namespace kolt {

void KeepOneChecked(QCheckBox* basic, QCheckBox* advanced) {
    QObject::connect(basic, &QCheckBox::toggled, advanced, [advanced](bool on) {
        if (!on) advanced->setChecked(true);
    });
    QObject::connect(advanced, &QCheckBox::toggled, basic, [basic](bool on) {
        if (!on) basic->setChecked(true);
    });
}

}  // namespace kolt
