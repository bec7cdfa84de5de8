#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vantor::test {

// Waits on this thread until the condition, set by other threads, holds; false when the
// time-out passes first. Turns no event loop: for code that waits on queued calls or timers
// of this thread, use WaitUntil.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace vantor::test
