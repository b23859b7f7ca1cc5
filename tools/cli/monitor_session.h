// What kolt-cli monitor and control share: the monitor engine on a bus
// session, with "windows" that exist only as far as the engine asks.
#pragma once

#include "bus_session.h"
#include "monitor/monitor_engine.h"

#include <vector>

namespace kolt::cli {

// The monitor windows of a command line: opening always works, nothing is
// drawn, a panel given up after Abort is remembered.
class CliMonitorWindows : public CUndrawnMonitorWindows {
public:
    CMonitorEngine* engine = nullptr;
    std::vector<int> givenUp;

    void ClearPanel(int station) override { givenUp.push_back(station); }
    void CloseSingleWindow() override {
        if (engine) engine->WindowClosed();
    }
};

struct MonitorSession {
    explicit MonitorSession(CliContext& ctx) : bus(ctx), engine(bus.link, windows) { windows.engine = &engine; }

    BusSession bus;
    CliMonitorWindows windows;
    CMonitorEngine engine;
};

}  // namespace kolt::cli
