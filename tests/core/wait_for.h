// Waiting for a state another thread steers, instead of sleeping a guessed time.
#pragma once

#include <chrono>
#include <thread>

namespace kolt::testing {

// True as soon as done() holds; false when it still does not after timeoutMs.
template <class Pred>
bool WaitFor(Pred done, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace kolt::testing
