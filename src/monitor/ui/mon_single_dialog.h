// The single-station monitor: one drive's running state, refreshed after
// every poll, and its run, direction, reset, terminal, frequency and
// parameter commands. Modeless; EXIT or the close box closes it.
#pragma once

#include "monitor/monitor_engine.h"

#include <QDialog>

#include <functional>
#include <string>

namespace kolt {

class CMonitorPanel;

// The station title of a station in the open document, or nullptr when no
// document is open.
using StationTitleSource = std::function<const std::string*(int station)>;

class CMonSingleDialog : public QDialog {
    Q_OBJECT
public:
    CMonSingleDialog(CMonitorEngine& engine, const std::uint8_t& busyFlag, int station, StationTitleSource titles,
                     QWidget* parent = nullptr);

    int Station() const { return station_; }
    CMonitorPanel* Panel() const { return panel_; }

    // Every display field and lamp from the station monitor table.
    void Refresh();
    // The title again from the open document's station title.
    void Retitle();

signals:
    // The window is closing (EXIT, close box, or the engine's close).
    void closed();
    // The panel's "Trend" was pressed.
    void trendRequested(int station);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    CMonitorEngine& engine_;
    int station_;
    StationTitleSource titles_;
    CMonitorPanel* panel_;
    bool closing_ = false;
};

}  // namespace kolt
