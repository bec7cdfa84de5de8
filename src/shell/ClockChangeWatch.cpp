#include "shell/ClockChangeWatch.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

#include <sys/timerfd.h>
#include <unistd.h>

namespace vantor {

SystemClockChanges::SystemClockChanges() {
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0 && !Arm()) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SystemClockChanges::~SystemClockChanges() {
    if (m_fd >= 0) ::close(m_fd);
}

bool SystemClockChanges::Arm() {
    // An expiry that never comes: only a change of the clock wakes the file.
    itimerspec never{};
    never.it_value.tv_sec = INT32_MAX;
    return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never,
                             nullptr) == 0;
}

bool SystemClockChanges::TakeChange() {
    uint64_t expirations = 0;
    const ssize_t got = ::read(m_fd, &expirations, sizeof expirations);
    const bool cancelled = got < 0 && errno == ECANCELED;
    // The cancellation disarms the timer; it is armed again for the next change.
    if (cancelled) Arm();
    return cancelled;
}

ClockChangeWatch::ClockChangeWatch(std::function<void()> onChange,
                                   std::unique_ptr<ClockChangeSource> source)
    : m_onChange(std::move(onChange)), m_source(std::move(source)) {
    if (!m_source || m_source->Descriptor() < 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(m_source->Descriptor(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        if (m_source->TakeChange() && m_onChange) m_onChange();
    });
}

ClockChangeWatch::~ClockChangeWatch() { m_notifier.reset(); }

}  // namespace vantor
