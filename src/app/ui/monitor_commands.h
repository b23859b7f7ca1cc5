// The Monitor command in the window program: the start dialog, the monitor
// engine behind the two monitor windows, the frame's 400 ms poll and the
// posted monitor commands. The windows are made here, so the engine reaches
// them through its window interface only.
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

namespace kolt {

class CMonitorCommands : public QObject, private IMonitorWindows {
    Q_OBJECT
public:
    // `link` is the link commands' context: the one port, the prompts and the
    // frame's document host (whose Unlink closes the monitor windows).
    CMonitorCommands(CMarbenApp& app, LinkContext& link);
    ~CMonitorCommands() override;

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
    // Opens the station's trend window, or raises the one that is open.
    void OpenTrend(int station);
    // The open window shows the open document's station titles again.
    void RefreshStationTitles();
    // True while the bus runs a procedure for another command: a posted
    // command then waits for it, as it waited for a blocking one before.
    void SetPortBusy(std::function<bool()> busy) { portBusy_ = std::move(busy); }

private:
    bool OpenSingleWindow(int station) override;
    bool OpenAllWindow(int page) override;
    int AllWindowPage() const override;
    void RefreshSingle() override;
    void RefreshAll() override;
    void ClearPanel(int station) override;
    void CloseSingleWindow() override;

    const std::string* StationTitle(int station) const;
    void Adopt(QDialog* window);
    // A posted command's turn has come in the event loop.
    void RunPosted();

    CMarbenApp& app_;
    IPrompts& prompts_;
    CMonitorEngine engine_;
    QPointer<CMainFrame> frame_;
    QPointer<CMonSingleDialog> single_;
    QPointer<CMonMultiDialog> multi_;
    // One trend window per station; they outlive the monitor windows.
    std::map<int, QPointer<CTrendWindow>> trends_;
    // Each station's title as text, as StationTitle last decoded it.
    mutable std::array<std::string, kStationMax> titleTexts_;
    std::function<bool()> portBusy_;
};

}  // namespace kolt
