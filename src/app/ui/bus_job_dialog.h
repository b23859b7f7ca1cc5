// The dialogs "Backup Bus", "Restore Bus" and "Bus Drift": a folder, the
// stations, Start and Cancel, a table that fills in as each station is done,
// and the report. The job runs on the bus thread through the runner the
// window program gives; this dialog stays responsive meanwhile.
#pragma once

#include "link/bus_backup.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kolt {

class CBusJobDialog : public QDialog {
    Q_OBJECT
public:
    enum class Job { Backup, Restore, Drift };
    // Runs a procedure on the bus and returns when it is done; false when the
    // program is closing.
    using Runner = std::function<bool(const std::function<void(LinkContext&)>&)>;

    CBusJobDialog(Job job, Runner run, QWidget* parent = nullptr);
    ~CBusJobDialog() override;

    // Backup: the open document's station titles and the files' mains frequency.
    void SetBackupDefaults(const std::array<std::string, kStationMax>& titles, bool hz50);
    // Drift: "Open Compare" hands the chosen station's result here.
    void SetOpenCompare(std::function<void(const DriftStationReport&)> open) { openCompare_ = std::move(open); }

    void SetFolder(const QString& folder);
    QString Folder() const;
    // The report of the last run ("" before the first).
    QString Report() const;
    bool Running() const { return running_; }

    // While a job runs, closing asks it to stop instead.
    void reject() override;

private:
    void Start();
    void Cancel();
    void Browse();
    void OpenCompare();
    void AddRow(const QStringList& cells);
    void ShowStation(int station, int index, int count);
    void ShowBackupRow(const BusCsvRow& row);
    void ShowRestore(const RestoreStationReport& r);
    void ShowDrift(const DriftStationReport& r);
    void Finished(const QString& report);

    class Progress;
    Job job_;
    Runner run_;
    std::array<std::string, kStationMax> titles_{};
    bool hz50_ = true;
    std::function<void(const DriftStationReport&)> openCompare_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
    DriftReport drift_;

    QLineEdit* folder_;
    QLineEdit* stations_;
    QTableWidget* table_;
    QLabel* status_;
    QPushButton* start_;
    QPushButton* cancel_button_;
    QPushButton* compare_ = nullptr;
};

}  // namespace kolt
