// A linked bench for the monitor engine: the link bench's virtual drive and
// recording prompts, plus monitor windows that only count what they are asked.
#pragma once

#include "link_test_support.h"
#include "monitor/monitor_engine.h"

#include <vector>

namespace kolt::testing {

class FakeMonitorWindows : public IMonitorWindows {
public:
    CMonitorEngine* engine = nullptr;  // told when a window closes
    bool allowOpen = true;
    int page = 0, singleOpens = 0, allOpens = 0, openedStation = 0, openedPage = -1;
    int singleRefreshes = 0, allRefreshes = 0, singleCloses = 0;
    std::vector<int> clearedPanels;

    bool OpenSingleWindow(int station) override { return ++singleOpens, openedStation = station, allowOpen; }
    bool OpenAllWindow(int p) override { return ++allOpens, openedPage = page = p, allowOpen; }
    int AllWindowPage() const override { return page; }
    void RefreshSingle() override { ++singleRefreshes; }
    void RefreshAll() override { ++allRefreshes; }
    void ClearPanel(int station) override { clearedPanels.push_back(station); }
    void CloseSingleWindow() override {
        ++singleCloses;
        if (engine) engine->WindowClosed();
    }
};

class MonitorBench : public LinkBench {
protected:
    MonitorBench() { windows.engine = &engine; }

    // The drive's stations, linked through `linkStation`, with the frames of the link forgotten.
    void StartLinked(std::vector<int> stations, int linkStation) {
        StartDrive(QuickDrive(std::move(stations)));
        LinkStation(linkStation);
        drive->ClearFramesHeard();
    }
    std::vector<std::string> Heard() { return drive->FramesHeard(); }
    // The frames one poll cycle sends, and those of the posted commands.
    std::vector<std::string> Cycle() {
        drive->ClearFramesHeard();
        engine.PollCycle();
        return Heard();
    }
    std::vector<std::string> Run() {
        drive->ClearFramesHeard();
        engine.RunPostedCommands();
        return Heard();
    }
    // Every kind of message shown, in order ("monitor", "comm", "message").
    std::vector<std::string> Kinds() const {
        std::vector<std::string> out;
        for (const auto& s : prompts.shown) out.push_back(s.kind);
        return out;
    }
    // The stations the all-station monitor polls.
    std::vector<int> Monitored() {
        std::vector<int> out;
        for (int s = 1; s < kMonitorRecords; ++s)
            if (engine.Table()[s].monitored) out.push_back(s);
        return out;
    }
    // The application's flags that are up and the open window, e.g. "linked monitoring single".
    std::string Flags() const {
        std::string out;
        for (auto [on, name] : {std::pair{app.linkedFlag, "linked"}, {app.busyFlag, "busy"},
                                {app.monitoringFlag, "monitoring"}, {app.scanFlag, "scan"}})
            if (on) out += std::string(out.empty() ? "" : " ") + name;
        const MonitorWindowKind w = engine.Window();
        return out + (w == MonitorWindowKind::Single ? " single" : w == MonitorWindowKind::All ? " all" : "");
    }

    FakeMonitorWindows windows;
    CMonitorEngine engine{ctx, windows};
};

}  // namespace kolt::testing
