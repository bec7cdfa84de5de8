#pragma once

#include <chrono>
#include <optional>

namespace vantor {

// The bus timing of one direction of a full-speed interrupt endpoint polled every frame: a
// report crosses at the start of a 1 ms frame, at most one per frame. Frames are counted from
// the pacer's epoch.
class UsbFramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kFrame{1};

    explicit UsbFramePacer(Clock::time_point epoch = Clock::now()) : m_epoch(epoch) {}

    // Books the first free frame that starts after notBefore and returns its start.
    Clock::time_point Take(Clock::time_point notBefore);

private:
    Clock::time_point m_epoch;
    std::optional<Clock::time_point> m_last;
};

}  // namespace vantor
