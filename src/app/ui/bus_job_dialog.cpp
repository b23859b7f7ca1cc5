#include "app/ui/bus_job_dialog.h"

#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "monitor/station_range.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace kolt {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Label(int station) { return QStringLiteral("%1").arg(station, 3, 10, QLatin1Char('0')); }

QString Version(int version) {
    return version < 0 ? QString() : QStringLiteral("%1.%2").arg(version / 10).arg(version % 10);
}

const char* Title(CBusJobDialog::Job job) {
    switch (job) {
    case CBusJobDialog::Job::Backup: return text::kBackupBusTitle;
    case CBusJobDialog::Job::Restore: return text::kBusRestoreCaption;
    case CBusJobDialog::Job::Drift: return text::kBusDriftTitle;
    }
    return "";
}

QStringList Columns(CBusJobDialog::Job job) {
    switch (job) {
    case CBusJobDialog::Job::Backup: return {"Station", "Title", "Model", "Version", "File", "Result"};
    case CBusJobDialog::Job::Restore: return {"Station", "Written", "Verified", "Result"};
    case CBusJobDialog::Job::Drift: return {"Station", "Code", "Name", "Backup", "Drive"};
    }
    return {};
}

}  // namespace

// The job's reports, carried from the bus thread to the dialog's; the cancel
// read the other way.
class CBusJobDialog::Progress : public IBusJobProgress {
public:
    explicit Progress(CBusJobDialog* dialog) : dialog_(dialog), cancel_(dialog->cancel_) {}

    void Station(int station, int index, int count) override {
        Post([=](CBusJobDialog* d) { d->ShowStation(station, index, count); });
    }
    bool CancelRequested() override { return cancel_.load(); }
    void Done(const BusCsvRow& row) override {
        Post([row](CBusJobDialog* d) { d->ShowBackupRow(row); });
    }
    void Done(const RestoreStationReport& r) override {
        Post([r](CBusJobDialog* d) { d->ShowRestore(r); });
    }
    void Done(const DriftStationReport& r) override {
        Post([r](CBusJobDialog* d) { d->ShowDrift(r); });
    }

private:
    template <class F>
    void Post(F f) {
        QPointer<CBusJobDialog> d = dialog_;
        QMetaObject::invokeMethod(
            dialog_, [d, f] { if (d) f(d.data()); }, Qt::QueuedConnection);
    }

    CBusJobDialog* dialog_;
    const std::atomic<bool>& cancel_;
};

CBusJobDialog::CBusJobDialog(Job job, Runner run, QWidget* parent) : QDialog(parent), job_(job), run_(std::move(run)) {
    setObjectName("busJobDialog");
    setWindowTitle(QString::fromUtf8(Title(job)));

    folder_ = new QLineEdit;
    folder_->setObjectName("folderEdit");
    auto* browse = new QPushButton(QString::fromUtf8(text::kBusBrowse));
    browse->setObjectName("browseButton");
    connect(browse, &QPushButton::clicked, this, &CBusJobDialog::Browse);
    stations_ = new QLineEdit;
    stations_->setObjectName("stationsEdit");
    auto* folderLabel = new QLabel(QString::fromUtf8(text::kBusFolderLabel));
    folderLabel->setBuddy(folder_);
    auto* stationsLabel = new QLabel(QString::fromUtf8(text::kBusStationsLabel));
    stationsLabel->setBuddy(stations_);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    auto* stationRow = new QHBoxLayout;
    stationRow->addWidget(stationsLabel);
    stationRow->addWidget(stations_, 1);
    stationRow->addWidget(new QLabel(QString::fromUtf8(text::kBusStationsHint)));

    table_ = new QTableWidget(0, static_cast<int>(Columns(job).size()));
    table_->setObjectName("resultTable");
    table_->setHorizontalHeaderLabels(Columns(job));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);

    status_ = new QLabel;
    status_->setObjectName("statusLabel");
    status_->setWordWrap(true);

    start_ = new QPushButton(QString::fromUtf8(text::kBusStart));
    start_->setObjectName("startButton");
    start_->setDefault(true);
    connect(start_, &QPushButton::clicked, this, &CBusJobDialog::Start);
    cancel_button_ = new QPushButton(QString::fromUtf8(text::kBusClose));
    cancel_button_->setObjectName("cancelButton");
    connect(cancel_button_, &QPushButton::clicked, this, &CBusJobDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    if (job == Job::Drift) {
        compare_ = new QPushButton(QString::fromUtf8(text::kBusOpenCompare));
        compare_->setObjectName("compareButton");
        compare_->setEnabled(false);
        connect(compare_, &QPushButton::clicked, this, &CBusJobDialog::OpenCompare);
        buttons->addWidget(compare_);
    }
    buttons->addWidget(start_);
    buttons->addWidget(cancel_button_);

    auto* top = new QVBoxLayout(this);
    top->addLayout(folderRow);
    top->addLayout(stationRow);
    top->addWidget(table_, 1);
    top->addWidget(status_);
    top->addLayout(buttons);
    resize(760, 460);
}

CBusJobDialog::~CBusJobDialog() = default;

void CBusJobDialog::SetBackupDefaults(const std::array<std::string, kStationMax>& titles, bool hz50) {
    titles_ = titles;
    hz50_ = hz50;
}

void CBusJobDialog::SetFolder(const QString& folder) { folder_->setText(folder); }
QString CBusJobDialog::Folder() const { return folder_->text(); }
QString CBusJobDialog::Report() const { return running_ ? QString() : status_->text(); }

void CBusJobDialog::reject() {
    if (running_) return Cancel();
    QDialog::reject();
}

void CBusJobDialog::Cancel() {
    cancel_ = true;
    status_->setText(QString::fromUtf8(text::kBusCancelling));
}

void CBusJobDialog::Browse() {
    const QString dir = QFileDialog::getExistingDirectory(this, windowTitle(), folder_->text());
    if (!dir.isEmpty()) folder_->setText(dir);
}

void CBusJobDialog::Start() {
    if (running_) return;
    if (folder_->text().trimmed().isEmpty()) {
        QMessageBox::information(this, windowTitle(), QString::fromUtf8(text::kBusNoFolder));
        return;
    }
    const std::string folder = folder_->text().trimmed().toStdString();
    const std::string stationText = stations_->text().trimmed().toStdString();
    // Empty: every station for a backup, every station of bus.csv otherwise.
    const std::vector<int> stations =
        stationText.empty() && job_ != Job::Backup ? std::vector<int>{} : ParseStationRange(stationText);

    table_->setRowCount(0);
    drift_ = {};
    cancel_ = false;
    running_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{folder_, stations_, start_}) w->setEnabled(false);
    if (compare_) compare_->setEnabled(false);
    cancel_button_->setText(QString::fromUtf8(text::kBusCancel));

    Progress progress(this);
    BlockReadMemory memory;
    QString report;
    const bool open = run_([&](LinkContext& ctx) {
        switch (job_) {
        case Job::Backup: {
            BackupRequest request{folder, stations, titles_, hz50_};
            const BackupReport r = BackupBus(ctx, request, memory, progress);
            report = Q(r.error.empty() ? BackupSummary(r) : r.error);
            break;
        }
        case Job::Restore: {
            const RestoreReport r = RestoreBus(ctx, {folder, stations}, memory, progress);
            int verified = 0;
            for (const auto& s : r.stations) verified += s.result == RestoreResult::Verified ? 1 : 0;
            char buf[128];
            std::snprintf(buf, sizeof buf, text::kBusRestoreReport, verified, static_cast<int>(r.stations.size()));
            report = Q(r.error.empty() ? buf : r.error);
            break;
        }
        case Job::Drift: {
            DriftReport r = DriftBus(ctx, {folder, stations}, memory, progress);
            int differences = 0, read = 0;
            for (const auto& s : r.stations) {
                differences += static_cast<int>(s.differences.size());
                read += s.read ? 1 : 0;
            }
            char buf[128];
            std::snprintf(buf, sizeof buf, text::kBusDriftReport, differences, read,
                          static_cast<int>(r.stations.size()) - read);
            report = Q(r.error.empty() ? buf : r.error);
            drift_ = std::move(r);
            break;
        }
        }
    });
    if (!open) return;  // the program is closing; so is this dialog
    // The rows posted by the job come before the report.
    QCoreApplication::sendPostedEvents(this);
    Finished(report);
}

void CBusJobDialog::Finished(const QString& report) {
    running_ = false;
    for (QWidget* w : std::initializer_list<QWidget*>{folder_, stations_, start_}) w->setEnabled(true);
    cancel_button_->setText(QString::fromUtf8(text::kBusClose));
    if (compare_) compare_->setEnabled(!drift_.stations.empty());
    status_->setText(cancel_ ? report + " - " + QString::fromUtf8(text::kBusNotDone) : report);
}

void CBusJobDialog::AddRow(const QStringList& cells) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    for (int c = 0; c < cells.size(); ++c) table_->setItem(row, c, new QTableWidgetItem(cells[c]));
    table_->scrollToBottom();
}

void CBusJobDialog::ShowStation(int station, int index, int count) {
    if (!running_ || cancel_) return;
    const std::string label = std::string(text::kStation) + " " + Label(station).toStdString();
    char buf[96];
    std::snprintf(buf, sizeof buf, text::kBusInWork, label.c_str(), index, count);
    status_->setText(QString::fromUtf8(buf));
}

void CBusJobDialog::ShowBackupRow(const BusCsvRow& row) {
    // Empty addresses are only counted: a bus has many.
    if (row.result == text::kBusNoAnswer) return;
    AddRow({Label(row.station), Q(row.title), row.capacity < 0 ? QString() : Q(ModelName(row.capacity)),
            Version(row.version), Q(row.file), Q(row.result)});
}

void CBusJobDialog::ShowRestore(const RestoreStationReport& r) {
    QString result = r.result == RestoreResult::Verified ? QStringLiteral("verified") : Q(r.message);
    for (const ValueDifference& d : r.differences)
        result += (d.number == r.differences.front().number ? "" : "; ") + Q(DifferenceText(d));
    if (r.result == RestoreResult::Differs) result.prepend(QStringLiteral("read back differs: "));
    const bool wrote = r.result == RestoreResult::Verified || r.result == RestoreResult::Differs;
    AddRow({Label(r.station), QString::number(r.written.size()),
            wrote ? QString::number(r.written.size() - r.differences.size()) : QString(),
            r.written.empty() || wrote ? result : Q(RestoreOutcomeText(r))});
}

void CBusJobDialog::ShowDrift(const DriftStationReport& r) {
    if (!r.read) return AddRow({Label(r.station), QString(), Q(r.message), QString(), QString()});
    if (r.differences.empty()) return AddRow({Label(r.station), QString(), QString::fromUtf8(text::kBusNoDrift)});
    for (const ValueDifference& d : r.differences)
        AddRow({Label(r.station), Q(CodeText(d.number)), Q(Description(d.number)),
                Q(FormatParamValue(d.fileValue, d.number)), Q(FormatParamValue(d.driveValue, d.number))});
}

void CBusJobDialog::OpenCompare() {
    const int row = table_->currentRow() < 0 ? 0 : table_->currentRow();
    if (!openCompare_ || row >= table_->rowCount()) return;
    const int station = table_->item(row, 0)->text().toInt();
    for (const DriftStationReport& r : drift_.stations)
        if (r.station == station && r.read) {
            accept();
            openCompare_(r);
            return;
        }
}

}  // namespace kolt
