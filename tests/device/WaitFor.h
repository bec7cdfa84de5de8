#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vantor::test {

// Waits until the condition holds, at most ten seconds; false when it never did.
inline bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

}  // namespace vantor::test
