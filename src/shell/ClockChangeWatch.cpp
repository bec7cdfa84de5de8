#include "shell/ClockChangeWatch.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

#include <sys/timerfd.h>
#include <unistd.h>

namespace vantor {

ClockChangeWatch::ClockChangeWatch(std::function<void()> onChange)
    : m_onChange(std::move(onChange)) {
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) return;
    if (!Arm()) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { OnReadable(); });
}

ClockChangeWatch::~ClockChangeWatch() {
    m_notifier.reset();
    if (m_fd >= 0) ::close(m_fd);
}

bool ClockChangeWatch::Arm() {
    // An expiry that never comes: only a change of the clock wakes the file.
    itimerspec never{};
    never.it_value.tv_sec = INT32_MAX;
    return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never,
                             nullptr) == 0;
}

void ClockChangeWatch::OnReadable() {
    uint64_t expirations = 0;
    const ssize_t got = ::read(m_fd, &expirations, sizeof expirations);
    const bool cancelled = got < 0 && errno == ECANCELED;
    // The cancellation disarms the timer; it is armed again for the next change.
    Arm();
    if (cancelled && m_onChange) m_onChange();
}

}  // namespace vantor
