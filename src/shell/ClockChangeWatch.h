#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace vantor {

// Where the news that the wall clock was set comes from: a file descriptor that becomes
// readable, and what reading it says.
class ClockChangeSource {
public:
    virtual ~ClockChangeSource() = default;
    // The descriptor to watch for reading; negative when this source can tell nothing.
    virtual int Descriptor() const = 0;
    // Takes what made the descriptor readable and gets ready for the next change; true when
    // it was a setting of the clock.
    virtual bool TakeChange() = 0;
};

// The system's wall clock (set by the user, NTP stepping it, a time tool): a timer file armed
// on the real-time clock far in the future, which the kernel cancels when the clock is set.
// Without timer files it can tell nothing.
class SystemClockChanges : public ClockChangeSource {
public:
    SystemClockChanges();
    ~SystemClockChanges() override;
    SystemClockChanges(const SystemClockChanges&) = delete;
    SystemClockChanges& operator=(const SystemClockChanges&) = delete;

    int Descriptor() const override { return m_fd; }
    bool TakeChange() override;

private:
    bool Arm();

    int m_fd = -1;
};

// Tells, on the thread that made it, each time its source says the clock was set.
class ClockChangeWatch {
public:
    explicit ClockChangeWatch(
        std::function<void()> onChange,
        std::unique_ptr<ClockChangeSource> source = std::make_unique<SystemClockChanges>());
    ~ClockChangeWatch();
    ClockChangeWatch(const ClockChangeWatch&) = delete;
    ClockChangeWatch& operator=(const ClockChangeWatch&) = delete;

    bool IsWatching() const { return m_notifier != nullptr; }

private:
    std::function<void()> m_onChange;
    std::unique_ptr<ClockChangeSource> m_source;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace vantor
