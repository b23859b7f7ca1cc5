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
    int page = 0;
    int singleOpens = 0, allOpens = 0, openedStation = 0, openedPage = -1;
    int singleRefreshes = 0, allRefreshes = 0, singleCloses = 0;
    std::vector<int> clearedPanels;

    bool OpenSingleWindow(int station) override {
        ++singleOpens;
        openedStation = station;
        return allowOpen;
    }
    bool OpenAllWindow(int p) override {
        ++allOpens;
        openedPage = page = p;
        return allowOpen;
    }
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

    // The drive's stations, linked through `linkStation`, with the frames of
    // the link forgotten.
    void StartLinked(std::vector<int> stations, int linkStation) {
        StartDrive(QuickDrive(std::move(stations)));
        LinkStation(linkStation);
        drive->ClearFramesHeard();
    }
    std::vector<std::string> Heard() { return drive->FramesHeard(); }
    std::vector<std::string> TakeFrames() {
        auto f = drive->FramesHeard();
        drive->ClearFramesHeard();
        return f;
    }
    // Every kind of message shown, in order ("monitor", "comm", "message").
    std::vector<std::string> Kinds() const {
        std::vector<std::string> out;
        for (const auto& s : prompts.shown) out.push_back(s.kind);
        return out;
    }

    FakeMonitorWindows windows;
    CMonitorEngine engine{ctx, windows};
};

}  // namespace kolt::testing
