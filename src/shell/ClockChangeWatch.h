#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace vantor {

// Tells, on the thread that made it, when the system's wall clock is set (by the user, NTP
// stepping it, a time tool): a timer file armed on the real-time clock far in the future,
// which the kernel cancels when the clock is set. Without timer files it never tells.
class ClockChangeWatch {
public:
    explicit ClockChangeWatch(std::function<void()> onChange);
    ~ClockChangeWatch();
    ClockChangeWatch(const ClockChangeWatch&) = delete;
    ClockChangeWatch& operator=(const ClockChangeWatch&) = delete;

    bool IsWatching() const { return m_fd >= 0; }

private:
    bool Arm();
    void OnReadable();

    std::function<void()> m_onChange;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace vantor
