// The Monitor command in the window program: the start dialog, the monitor
// windows, the frame's 400 ms poll and the posted monitor commands. Two
// engines share the work. The bus engine lives on the link's bus thread: it
// runs the starts, every poll cycle and every monitor command against the
// port. The window engine stays on this thread: the windows draw its table,
// which takes the polled fields from the snapshot each cycle posts back, and
// its trend record grows from those snapshots; the buttons and Set store their
// requests there and queue their commands, which go to the bus in the order
// made. The windows are made here, so the engines reach them through their
// window interface only.
#pragma once

#include "app/ui/main_frame.h"
#include "link/link_context.h"
#include "monitor/monitor_engine.h"
#include "monitor/monitor_windows.h"
#include "monitor/ui/mon_multi_dialog.h"
#include "monitor/ui/mon_single_dialog.h"
#include "monitor/ui/trend_window.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace kolt {

class CLinkCommands;

class CMonitorCommands : public QObject, private IMonitorWindows {
    Q_OBJECT
public:
    // `link` owns the bus the monitor runs on; its context has the prompts
    // and the frame's document host (whose Unlink closes the monitor windows).
    CMonitorCommands(CMarbenApp& app, CLinkCommands& link);
    ~CMonitorCommands() override;

    // The window engine (see above); it never calls the port.
    CMonitorEngine& Engine() { return engine_; }
    CMonSingleDialog* SingleWindow() const { return single_; }
    CMonMultiDialog* MultiWindow() const { return multi_; }
    // The station's trend window, or nullptr when none is open.
    CTrendWindow* TrendWindow(int station) const;

    // Hands Monitor and the timer's poll cycle to the frame; the windows
    // retitle when the frame reports new station titles or another document.
    void Install(CMainFrame& frame);

    // The Monitor command: the start dialog, then one of the two starts.
    void Monitor();
    // A start without the dialog: all stations of `stations`, or the single
    // station stations.front(). It runs on the bus while this thread runs its
    // event loop, as Link does. True when a window opened.
    bool Start(bool all, const std::vector<int>& stations);
    // The 400 ms tick (the frame holds the busy flag): posts the next poll
    // cycle to the bus and returns; nothing while one is still in flight or a
    // procedure runs.
    void PollTick();
    bool CycleInFlight() const { return cycleInFlight_; }
    // The cycle running on the bus ends at its wait in progress, without a
    // monitor error, and one still queued there does nothing (a window
    // closing, Link or Unlink, the program ending).
    void CancelCycle();
    // Opens the station's trend window, or raises the one that is open.
    void OpenTrend(int station);
    // The open window shows the open document's station titles again.
    void RefreshStationTitles();
signals:
    // A poll cycle's snapshot has been drawn; `seconds` is the cycle's time on the bus.
    void cycleEnded(double seconds);

private:
    struct BusSide;
    struct Snapshot;

    bool OpenSingleWindow(int station) override;
    bool OpenAllWindow(int page) override;
    int AllWindowPage() const override;
    void RefreshSingle() override;
    void RefreshAll() override;
    void ClearPanel(int station) override;
    void CloseSingleWindow() override;

    const std::string* StationTitle(int station) const;
    void Adopt(QDialog* window);
    // A posted command's turn has come in the event loop: it goes to the bus.
    void RunPosted();
    // A monitor window has closed: the bus engine hears it after what is queued.
    void OnWindowClosed();
    void ApplySnapshot(const Snapshot& snapshot);

    CMarbenApp& app_;
    CLinkCommands& link_;
    IPrompts& prompts_;
    IDocumentHost& frameHost_;
    CMonitorEngine engine_;
    // What the bus thread works with; its jobs share it, so a job still
    // running when this object goes finds it whole.
    std::shared_ptr<BusSide> bus_;
    // This object while it lives: what the bus posts back finds it through here.
    std::shared_ptr<CMonitorCommands*> self_;
    bool cycleInFlight_ = false;
    QPointer<CMainFrame> frame_;
    QPointer<CMonSingleDialog> single_;
    QPointer<CMonMultiDialog> multi_;
    // One trend window per station; they outlive the monitor windows.
    std::map<int, QPointer<CTrendWindow>> trends_;
    // Each station's title as text, as StationTitle last decoded it.
    mutable std::array<std::string, kStationMax> titleTexts_;
};

}  // namespace kolt
