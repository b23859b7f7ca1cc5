// What every link procedure works with: the application state, its one port,
// the user and the window program's document host.
#pragma once

#include <atomic>
#include <functional>

namespace kolt {

class CMarbenApp;
class CModbusPort;
class IPrompts;
class IDocumentHost;

struct LinkContext {
    CMarbenApp& app;
    CModbusPort& port;
    IPrompts& prompts;
    IDocumentHost& host;
    // The bus's cancel, set from another thread; null where nobody can cancel
    // but the progress window's own button (the application's cancel flag).
    const std::atomic<bool>* cancel = nullptr;
    // Runs `work` (port calls only) where the port lives and returns when it
    // is done: on the bus thread in the window program, whose own thread goes
    // on with its events meanwhile. Unset: here and now.
    std::function<void(const std::function<void()>& work)> runOnPort{};

    // The user has cancelled: the cancel flag, or the bus's cancel (which
    // then sets the flag, so the procedure ends as after its Cancel button).
    bool Cancelled();
    void OnPort(const std::function<void()>& work) {
        if (runOnPort)
            runOnPort(work);
        else
            work();
    }
};

}  // namespace kolt
