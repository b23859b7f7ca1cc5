#include "app/ui/monitor_commands.h"

#include "app/ui/link_commands.h"
#include "base/document_host.h"

#include "base/command_ids.h"
#include "document/marben_doc.h"
#include "monitor/ui/mon_multi_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/monitor_texts.h"
#include "monitor/ui/monitor_dialog.h"

#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace kolt {

namespace {
// How soon a posted command looks again whether the bus is free.
constexpr int kPostedRetryMs = 10;
constexpr int kStationsPerPage = 5;

using Owner = std::shared_ptr<CMonitorCommands*>;
// Something for the window thread to do with the monitor commands, when they still exist.
using WindowStep = std::function<void(CMonitorCommands&)>;
}  // namespace

// A cycle's result as the window thread takes it: the records it polled, the
// stations that gave a trend sample, and its time on the bus.
struct CMonitorCommands::Snapshot {
    std::vector<std::pair<int, StationRecord>> records;
    std::vector<int> sampled;
    double seconds = 0;
};

// The bus thread's half. Everything the bus engine asks of the windows and the
// frame is gathered while a job runs and posted in one step when it ends, so
// the window thread applies a job's outcome whole (a closed window together
// with the link state that closed it). Only the starts wait for the window
// thread: their windows must exist before the polls begin.
struct CMonitorCommands::BusSide final : IMonitorWindows, IDocumentHost {
    BusSide(CLinkCommands& link, Owner owner)
        : prompts(link.Prompts()), owner(std::move(owner)),
          ctx{app, link.Bus().Port(), link.Prompts(), *this, &link.Bus().CancelFlag()}, engine(ctx, *this) {
        engine.KeepTrend(false);
    }

    CWindowThreadPrompts& prompts;
    Owner owner;
    CMarbenApp app;
    LinkContext ctx;
    CMonitorEngine engine;
    int page = 0;
    std::vector<int> sampled;
    std::vector<WindowStep> steps;
    bool linkChanged = false;  // since the last Flush
    // A cycle runs (read by the window thread to cancel only a cycle).
    std::atomic<bool> cycleRunning{false};
    // Counts CancelCycle calls: a cycle posted before one of them does nothing.
    std::atomic<int> cancels{0};

    // Window's thread: the window side in its state as of the start.
    bool OpenWindow(bool all, int stationOrPage) {
        bool opened = false;
        prompts.OnWindowThread([&] {
            CMonitorCommands* m = *owner;
            if (!m) return;
            m->engine_.Table() = engine.Table();
            m->engine_.Trend().Clear();
            opened = all ? m->OpenAllWindow(stationOrPage) : m->OpenSingleWindow(stationOrPage);
        });
        return opened;
    }
    void Later(WindowStep step) { steps.push_back(std::move(step)); }
    // Posts what the job gathered for the window thread. A link state the job
    // changed comes first, as the windows then saw it (an Abort that unlinked
    // has cleared the linked flag before the window closes).
    void Flush() {
        if (steps.empty()) return;
        std::shared_ptr<const CMarbenApp> state;
        if (linkChanged) state = std::make_shared<const CMarbenApp>(app);
        linkChanged = false;
        prompts.Post([owner = owner, state, steps = std::move(steps)] {
            if (CMonitorCommands* m = *owner; m && state) TakeLinkState(*state, m->app_);
            for (const WindowStep& step : steps)
                if (CMonitorCommands* m = *owner) step(*m);
        });
        steps.clear();
    }

    void RunCycle(const CMarbenApp& from, int generation, int onPage, const std::vector<std::pair<int, StationRecord>>& records) {
        auto snapshot = std::make_shared<Snapshot>();
        // Running first, then the count: a CancelCycle in between either
        // counts before this look or finds the cycle running and cancels it.
        cycleRunning = true;
        if (generation == cancels.load()) {
            app = from;
            page = onPage;
            for (const auto& [s, r] : records) CopyWindowFields(r, engine.Table()[s]);
            sampled.clear();
            const auto began = std::chrono::steady_clock::now();
            engine.PollCycle();
            snapshot->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
            for (const auto& [s, r] : records) snapshot->records.emplace_back(s, engine.Table()[s]);
            snapshot->sampled = sampled;
        }
        cycleRunning = false;
        Later([snapshot](CMonitorCommands& m) { m.ApplySnapshot(*snapshot); });
        Flush();
    }

    void RunCommand(const CMarbenApp& from, CMonitorEngine::PostedCommand command, const StationRecord& handed) {
        app = from;
        StationRecord& r = engine.Table()[command.station];
        CopyWindowFields(handed, r);
        CopyRequests(handed, r);
        engine.HandleCommand(static_cast<int>(command.command), command.station);
        Later([](CMonitorCommands& m) {
            // An Abort after a lost station may have closed the link.
            if (m.frame_ && !m.app_.busyFlag) m.frame_->UpdateCommandUi();
        });
        Flush();
    }

    // IMonitorWindows, on the bus thread.
    bool OpenSingleWindow(int station) override { return OpenWindow(false, station); }
    bool OpenAllWindow(int startPage) override { return OpenWindow(true, startPage); }
    int AllWindowPage() const override { return page; }
    // The snapshot at the end of the cycle redraws.
    void RefreshSingle() override {}
    void RefreshAll() override {}
    void ClearPanel(int station) override {
        Later([station](CMonitorCommands& m) {
            m.engine_.Table()[station].monitored = 0;
            m.ClearPanel(station);
        });
    }
    void CloseSingleWindow() override {
        Later([](CMonitorCommands& m) { m.CloseSingleWindow(); });
    }

    // IDocumentHost, on the bus thread: only the status panes and the windows.
    CMarbenDoc* ActiveDocument() override { return nullptr; }
    bool InPrintPreview() override { return false; }
    void CloseActiveDocument() override {}
    CMarbenDoc* CreateNewDocument() override { return nullptr; }
    void RefreshStatusPanes() override {
        linkChanged = true;
        Later([](CMonitorCommands& m) { m.frameHost_.RefreshStatusPanes(); });
    }
    void CloseMonitorWindows() override {
        Later([](CMonitorCommands& m) { m.frameHost_.CloseMonitorWindows(); });
    }
};

CMonitorCommands::CMonitorCommands(CMarbenApp& app, CLinkCommands& link)
    : app_(app), link_(link), prompts_(link.Context().prompts), frameHost_(link.Context().host),
      engine_(link.Context(), *this), self_(std::make_shared<CMonitorCommands*>(this)) {
    bus_ = std::make_shared<BusSide>(link, self_);
    bus_->engine.SetStationObserver([bus = bus_.get()](int station, const StationRecord&) {
        bus->sampled.push_back(station);
    });
    // A command asked for by a window goes to the bus from the event loop,
    // never from inside the button handler that asked for it.
    engine_.SetPostHook([this] { QMetaObject::invokeMethod(this, &CMonitorCommands::RunPosted, Qt::QueuedConnection); });
    link.SetBeforeLink([this] { CancelCycle(); });
}

CMonitorCommands::~CMonitorCommands() {
    *self_ = nullptr;
    link_.SetBeforeLink({});
    CancelCycle();
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
    frame.SetPollCycle([this] { PollTick(); });
    connect(&frame, &CMainFrame::stationTitlesChanged, this, &CMonitorCommands::RefreshStationTitles);
}

void CMonitorCommands::Monitor() {
    if (!engine_.MonitorMayStart() || link_.Waiting()) return;
    bool all = false;
    std::vector<int> stations;
    {
        FlagGuard busy(app_.busyFlag);
        CMonitorDialog dialog(app_.currentStation, frame_);
        if (dialog.exec() != QDialog::Accepted) return;
        all = dialog.AllStations();
        stations = dialog.Stations();
    }
    Start(all, stations);
    if (frame_) frame_->UpdateCommandUi();
}

bool CMonitorCommands::Start(bool all, const std::vector<int>& stations) {
    if (!all && stations.empty()) return false;
    NestedFlagGuard busy(app_.busyFlag);
    CMarbenApp from = app_;
    from.cancelFlag = 0;
    bool started = false;
    BusSide& bus = *bus_;
    link_.RunOnPort([&] {
        bus.app = from;
        started = all ? bus.engine.StartAll(stations) : bus.engine.StartSingle(stations.front());
        bus.Flush();
    });
    // The job has ended: the bus engine's state can be read here until the next one.
    TakeLinkState(bus.app, app_);
    started = started && (single_ || multi_);
    if (started) {
        app_.monitoringFlag = 1;
        engine_.Table() = bus.engine.Table();
        cycleInFlight_ = false;
        if (single_) single_->Refresh();
        if (multi_) multi_->Refresh();
    }
    frameHost_.RefreshStatusPanes();
    return started;
}

void CMonitorCommands::PollTick() {
    if (cycleInFlight_ || link_.Waiting() || (!single_ && !multi_)) return;
    std::vector<std::pair<int, StationRecord>> records;
    int page = 0;
    if (single_) {
        if (StationMonitorTable::Holds(app_.currentStation))
            records.emplace_back(app_.currentStation, engine_.Table()[app_.currentStation]);
    } else {
        page = multi_->Page();
        for (int s = kStationsPerPage * page + 1; s <= std::min(kStationsPerPage * page + kStationsPerPage, kStationMax); ++s)
            records.emplace_back(s, engine_.Table()[s]);
    }
    cycleInFlight_ = true;
    link_.Bus().Post([bus = bus_, from = app_, generation = bus_->cancels.load(), page,
                      records = std::move(records)](CModbusPort&) { bus->RunCycle(from, generation, page, records); });
}

void CMonitorCommands::CancelCycle() {
    ++bus_->cancels;
    if (bus_->cycleRunning.load()) link_.Bus().Cancel();
}

void CMonitorCommands::ApplySnapshot(const Snapshot& snapshot) {
    for (const auto& [s, r] : snapshot.records) CopyPolledFields(r, engine_.Table()[s]);
    for (int s : snapshot.sampled) engine_.Trend().Record(s, engine_.Table()[s]);
    if (single_) single_->Refresh();
    if (multi_) multi_->Refresh();
    cycleInFlight_ = false;
    emit cycleEnded(snapshot.seconds);
}

void CMonitorCommands::RunPosted() {
    // A procedure on the bus (Read, Write) ends first, as it did when it blocked.
    if (link_.Waiting()) {
        QTimer::singleShot(kPostedRetryMs, this, &CMonitorCommands::RunPosted);
        return;
    }
    const auto next = engine_.TakeNextPosted();
    if (!next) return;
    // The requests go with the command that sends them.
    StationRecord& r = engine_.Table()[next->station];
    StationRecord handed = r;
    r.ClearRequests();
    link_.Bus().Post([bus = bus_, from = app_, command = *next, handed](CModbusPort&) {
        bus->RunCommand(from, command, handed);
    });
}

void CMonitorCommands::OnWindowClosed() {
    CancelCycle();
    link_.Bus().Post([bus = bus_](CModbusPort&) {
        bus->engine.WindowClosed();
        bus->app.monitoringFlag = 0;
    });
    if (frame_) frame_->UpdateCommandUi();
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
        OnWindowClosed();
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
        OnWindowClosed();
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
