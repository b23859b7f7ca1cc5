// How the monitor engine reaches the monitor windows. The window program
// implements it with the single-station and all-station dialogs; kolt-cli and
// the tests implement it without any window. At most one window exists at a
// time; the engine knows which (CMonitorEngine::Window()).
#pragma once

namespace kolt {

class IMonitorWindows {
public:
    virtual ~IMonitorWindows() = default;

    // Create and show the single-station window for `station`. True when it
    // exists now; the engine then sets the monitoring flag and refreshes it.
    virtual bool OpenSingleWindow(int station) = 0;
    // Create and show the all-station window on `page` (0..50). True when it
    // exists now; the engine then sets the monitoring flag and refreshes it.
    virtual bool OpenAllWindow(int page) = 0;

    // The all-station window's page (0..50): the poll cycle reads stations
    // 5 * page + 1 .. 5 * page + 5.
    virtual int AllWindowPage() const = 0;

    // Redraw every display field from the station monitor table.
    virtual void RefreshSingle() = 0;
    virtual void RefreshAll() = 0;
    // The all-station window empties and disables the panel of `station` when
    // it is on the current page (its monitored flag is already clear).
    virtual void ClearPanel(int station) = 0;
    // Close the single-station window (an Abort after a lost station). The
    // window's close must call CMonitorEngine::WindowClosed(); the engine also
    // calls it itself afterwards, so a second call is harmless.
    virtual void CloseSingleWindow() = 0;
};

// Windows that are never drawn: opening always works, the all-station window
// stays on page 0, and nothing is shown. kolt-cli and the benchmarks build on it.
class CUndrawnMonitorWindows : public IMonitorWindows {
public:
    bool OpenSingleWindow(int) override { return true; }
    bool OpenAllWindow(int) override { return true; }
    int AllWindowPage() const override { return 0; }
    void RefreshSingle() override {}
    void RefreshAll() override {}
    void ClearPanel(int) override {}
    void CloseSingleWindow() override {}
};

}  // namespace kolt
