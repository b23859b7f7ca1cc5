#include "link/ui/group_checks.h"

#include "base/texts.h"

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

void MakeGroupChecks(QCheckBox*& basic, QCheckBox*& advanced) {
    basic = new QCheckBox(QString::fromUtf8(text::kBasicGroup));
    basic->setObjectName("basicCheck");
    advanced = new QCheckBox(QString::fromUtf8(text::kAdvancedGroup));
    advanced->setObjectName("advancedCheck");
    basic->setChecked(true);
    advanced->setChecked(true);
    KeepOneChecked(basic, advanced);
}

}  // namespace kolt
