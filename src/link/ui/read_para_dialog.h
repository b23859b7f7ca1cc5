// The Read dialog: the station to read from and the parameter groups.
#pragma once

#include "base/marben_app.h"
#include "link/read_procedure.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace kolt {

class CReadParaDialog : public QDialog {
    Q_OBJECT
public:
    // Starts at the current station with both groups on; while a monitor
    // window is open the station and the groups cannot be changed.
    explicit CReadParaDialog(const CMarbenApp& app, QWidget* parent = nullptr);

    int station() const;
    bool readBasic() const;
    bool readAdvanced() const;
    ReadRequest request() const { return {station(), readBasic(), readAdvanced()}; }

private:
    QComboBox* station_;
    QCheckBox* basic_;
    QCheckBox* advanced_;
};

}  // namespace kolt
