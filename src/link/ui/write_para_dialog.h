// The Write dialog: the stations to write to and the parameter groups.
#pragma once

#include "base/marben_app.h"
#include "link/ui/station_choice.h"
#include "link/write_procedure.h"

#include <QDialog>

#include <vector>

class QCheckBox;

namespace kolt {

class CWriteParaDialog : public QDialog {
    Q_OBJECT
public:
    // Starts with "Single:" and the current station, both groups on.
    explicit CWriteParaDialog(const CMarbenApp& app, QWidget* parent = nullptr);

    // The chosen stations, ascending: the parsed text or all 254.
    std::vector<int> stations() const;
    bool writeBasic() const;
    bool writeAdvanced() const;
    WriteRequest request() const { return {stations(), writeBasic(), writeAdvanced()}; }

    // OK is refused, with a message, while the text names no station at all.
    void accept() override;

private:
    void UpdateEnabling();

    StationChoice station_;
    QCheckBox* basic_;
    QCheckBox* advanced_;
};

}  // namespace kolt
