// Ctrl+C asks a long command to stop at its next safe point instead of
// killing it; the old handler comes back when the catcher goes.
#pragma once

#include <atomic>
#include <csignal>

namespace kolt::cli {

class InterruptCatcher {
public:
    InterruptCatcher() {
        Flag() = 0;
        struct sigaction sa {};
        sa.sa_handler = [](int) { Flag() = 1; };
        sigemptyset(&sa.sa_mask);
        ::sigaction(SIGINT, &sa, &old_);
    }
    ~InterruptCatcher() { ::sigaction(SIGINT, &old_, nullptr); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    // Read on the bus thread; lock-free, so the handler may set it.
    static bool Interrupted() { return Flag() != 0; }

private:
    static std::atomic<int>& Flag() {
        static std::atomic<int> flag{0};
        return flag;
    }
    struct sigaction old_ {};
};

}  // namespace kolt::cli
