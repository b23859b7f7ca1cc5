// Backup Bus, Restore Bus and Bus Drift through the main window's Operation
// menu against the virtual drive: start, the table filling in, Cancel, the
// report. The jobs' rules are the core tests'; here, that the window runs them.
#include "app/ui/bus_job_commands.h"
#include "core/cli_run_support.h"
#include "drive_frame_fixture.h"

#include <QAbstractItemModel>
#include <QTableWidget>

#include <filesystem>

namespace kolt::testing {
namespace {

constexpr int kF07 = 7;

class BusJobGuiTest : public DriveFrameTest {
protected:
    // Stations 1..3; station 2 is absent. Station 1 is linked.
    void Start() {
        StartDrive({1, 2, 3}, {2});
        MakeLinkedFrame();
        jobs = std::make_unique<CBusJobCommands>(app, fake, *link);
        jobs->Install(*frame);
        LinkWithText("1");
        ASSERT_EQ(app.linkedFlag, 1);
    }
    void TearDown() override {
        jobs.reset();
        DriveFrameTest::TearDown();
    }

    // Runs a command's dialog: the folder, the stations, Start; `whileRunning`
    // runs at the first row the table gets. Keeps the rows and the report.
    void RunJob(int command, const QString& stations, std::function<void(CBusJobDialog*)> whileRunning = {},
                std::function<void(CBusJobDialog*)> after = {}) {
        WhenModal<CBusJobDialog>([=, this](CBusJobDialog* d) {
            d->SetFolder(folder);
            d->findChild<QLineEdit*>("stationsEdit")->setText(stations);
            auto* table = d->findChild<QTableWidget*>("resultTable");
            QMetaObject::Connection c;
            if (whileRunning)
                c = QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, d, [=] {
                    if (d->Running()) whileRunning(d);
                });
            d->findChild<QPushButton*>("startButton")->click();
            QObject::disconnect(c);
            rows.clear();
            for (int r = 0; r < table->rowCount(); ++r) {
                QStringList cells;
                for (int k = 0; k < table->columnCount(); ++k)
                    cells << (table->item(r, k) ? table->item(r, k)->text() : QString());
                rows << cells.join('|');
            }
            report = d->Report();
            if (after) return after(d);
            d->findChild<QPushButton*>("cancelButton")->click();
        });
        frame->RunCommand(command);
    }

    std::unique_ptr<CBusJobCommands> jobs;
    QString folder = dir.filePath("backup");
    QStringList rows;
    QString report;
};

TEST_F(BusJobGuiTest, BackupFillsTheTableAndCancelStopsIt) {
    Start();
    EXPECT_TRUE(Enabled(cmd::kBackupBus) && Enabled(cmd::kRestoreBus) && Enabled(cmd::kBusDrift));
    RunJob(cmd::kBackupBus, "1-3");
    EXPECT_EQ(std::tuple(rows, report, std::filesystem::exists(folder.toStdString() + "/station_003.kpf")),
              std::tuple(QStringList({"001||D200-0.75|1.2|station_001.kpf|saved", "003||D200-0.75|1.2|station_003.kpf|saved"}),
                         "2 saved, 1 absent, 0 failed", true));

    // Cancel as the first station is done (station 3 is slow enough to be
    // caught before or while it is read): it is not done, and bus.csv says so.
    drive->SetDelayMs(20);
    RunJob(cmd::kBackupBus, "1,3", [](CBusJobDialog* d) { d->findChild<QPushButton*>("cancelButton")->click(); });
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith("003|") && rows[1].endsWith("||not done (cancelled)")) << rows[1].toStdString();
    EXPECT_EQ(std::tuple(rows[0], report), std::tuple("001||D200-0.75|1.2|station_001.kpf|saved",
                                                      "1 saved, 0 absent, 0 failed, 1 not done (cancelled) - not done (cancelled)"));
    const auto csv = Lines(ReadBytes(folder.toStdString() + "/bus.csv"));
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_TRUE(csv[2].starts_with("3,") && csv[2].ends_with(",not done (cancelled)")) << csv[2];
    EXPECT_EQ(Messages(), "");
}

TEST_F(BusJobGuiTest, RestoreVerifiesAndDriftOpensACompareDocument) {
    Start();
    RunJob(cmd::kBackupBus, "1,3");
    ASSERT_EQ(report, "2 saved, 0 absent, 0 failed");
    drive->SetParamValue(1, kF07, 4000);
    RunJob(cmd::kBusDrift, "");
    EXPECT_EQ(std::tuple(rows, report), std::tuple(QStringList({"001|F07|Frequency upper limit (Hz)|50.00|40.00", "003||no drift||"}),
                                                   "1 differences in 2 stations read, 0 not read"));

    RunJob(cmd::kRestoreBus, "1");
    EXPECT_EQ(std::make_tuple(rows, report, drive->ParamValue(1, kF07)),
              std::make_tuple(QStringList({"001|99|99|verified"}), QString("1 of 1 stations restored and verified"), 5000));

    // Drift again, then the first station's result as a File with File document.
    drive->SetParamValue(3, kF07, 4100);
    RunJob(cmd::kBusDrift, "3", {}, [](CBusJobDialog* d) {
        d->findChild<QTableWidget*>("resultTable")->selectRow(0);
        d->findChild<QPushButton*>("compareButton")->click();
    });
    ASSERT_NE(frame->Document(), nullptr);
    const CMarbenDoc& doc = *frame->Document();
    EXPECT_EQ(std::make_tuple(doc.compareMode, doc.names[0], doc.names[1]),
              std::make_tuple(2, "station_003.kpf", "Station_003"));
    EXPECT_EQ(std::count(doc.differs.begin(), doc.differs.end(), 1), 1);
}

}  // namespace
}  // namespace kolt::testing
