#include "app/ui/monitor_commands.h"

#include "base/command_ids.h"
#include "document/marben_doc.h"
#include "monitor/ui/mon_multi_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/monitor_texts.h"
#include "monitor/ui/monitor_dialog.h"

#include <QTimer>

namespace kolt {

namespace {
// How soon a posted command looks again whether the bus is free.
constexpr int kPostedRetryMs = 10;
}  // namespace

CMonitorCommands::CMonitorCommands(CMarbenApp& app, LinkContext& link)
    : app_(app), prompts_(link.prompts), engine_(link, *this) {
    // A command asked for by a window runs later from the event loop, never
    // inside the poll cycle or the button handler that asked for it.
    engine_.SetPostHook([this] { QMetaObject::invokeMethod(this, &CMonitorCommands::RunPosted, Qt::QueuedConnection); });
}

CMonitorCommands::~CMonitorCommands() {
    // Program end: the windows go without telling an engine that is going too.
    for (QDialog* w : {static_cast<QDialog*>(single_.data()), static_cast<QDialog*>(multi_.data())})
        if (w) {
            w->disconnect(this);
            delete w;
        }
    // The trend windows read the engine's record.
    for (auto& [station, w] : trends_) delete w.data();
}

void CMonitorCommands::Install(CMainFrame& frame) {
    frame_ = &frame;
    frame.SetCommandHandler(cmd::kMonitor, [this] { Monitor(); });
    frame.SetPollCycle([this] { engine_.PollCycle(); });
    connect(&frame, &CMainFrame::stationTitlesChanged, this, &CMonitorCommands::RefreshStationTitles);
}

void CMonitorCommands::Monitor() {
    if (!engine_.MonitorMayStart()) return;
    bool all = false;
    std::vector<int> stations;
    {
        FlagGuard busy(app_.busyFlag);
        CMonitorDialog dialog(app_.currentStation, frame_);
        if (dialog.exec() != QDialog::Accepted) return;
        all = dialog.AllStations();
        stations = dialog.Stations();
    }
    if (all)
        engine_.StartAll(stations);
    else
        engine_.StartSingle(stations.front());
    if (frame_) frame_->UpdateCommandUi();
}

void CMonitorCommands::RunPosted() {
    if (portBusy_ && portBusy_()) {
        QTimer::singleShot(kPostedRetryMs, this, &CMonitorCommands::RunPosted);
        return;
    }
    engine_.RunNextPosted();
    // An Abort after a lost station may have closed the link.
    if (frame_ && !app_.busyFlag) frame_->UpdateCommandUi();
}

const std::string* CMonitorCommands::StationTitle(int station) const {
    const CMarbenDoc* doc = frame_ ? frame_->Document() : nullptr;
    if (!doc || station < 1 || station > kStationMax) return nullptr;
    const auto k = static_cast<std::size_t>(station - 1);
    titleTexts_[k] = doc->TextCodec().Text(doc->stationTitles[k]);
    return &titleTexts_[k];
}

void CMonitorCommands::RefreshStationTitles() {
    if (single_)
        single_->Retitle();
    else if (multi_)
        multi_->Relabel();
    for (auto& [station, w] : trends_)
        if (w) w->Retitle(QString::fromStdString(StationCaption(station, StationTitle(station))));
}

CTrendWindow* CMonitorCommands::TrendWindow(int station) const {
    const auto it = trends_.find(station);
    return it == trends_.end() ? nullptr : it->second.data();
}

void CMonitorCommands::OpenTrend(int station) {
    CTrendWindow* w = TrendWindow(station);
    if (!w) {
        w = new CTrendWindow(engine_.Trend(), prompts_, station,
                             QString::fromStdString(StationCaption(station, StationTitle(station))), frame_);
        trends_[station] = w;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void CMonitorCommands::Adopt(QDialog* window) {
    // Unlink closes the window through the frame.
    if (frame_) frame_->SetMonitorWindow(window);
    window->show();
    window->raise();
    window->activateWindow();
}

bool CMonitorCommands::OpenSingleWindow(int station) {
    auto* w = new CMonSingleDialog(engine_, app_.busyFlag, station,
                                   [this](int s) { return StationTitle(s); }, frame_);
    single_ = w;
    connect(w, &CMonSingleDialog::trendRequested, this, &CMonitorCommands::OpenTrend);
    connect(w, &CMonSingleDialog::closed, this, [this] {
        single_ = nullptr;
        if (frame_) frame_->UpdateCommandUi();
    });
    Adopt(w);
    return true;
}

bool CMonitorCommands::OpenAllWindow(int page) {
    auto* w = new CMonMultiDialog(engine_, app_.busyFlag, page, [this](int s) { return StationTitle(s); }, frame_);
    multi_ = w;
    connect(w, &CMonMultiDialog::trendRequested, this, &CMonitorCommands::OpenTrend);
    connect(w, &CMonMultiDialog::closed, this, [this] {
        multi_ = nullptr;
        if (frame_) frame_->UpdateCommandUi();
    });
    Adopt(w);
    return true;
}

int CMonitorCommands::AllWindowPage() const { return multi_ ? multi_->Page() : 0; }

void CMonitorCommands::RefreshSingle() {
    if (single_) single_->Refresh();
}

void CMonitorCommands::RefreshAll() {
    if (multi_) multi_->Refresh();
}

void CMonitorCommands::ClearPanel(int station) {
    if (multi_) multi_->ClearPanel(station);
}

void CMonitorCommands::CloseSingleWindow() {
    if (single_) single_->close();
}

}  // namespace kolt
