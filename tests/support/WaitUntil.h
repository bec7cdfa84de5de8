#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace vantor::test {

// Runs this thread's event loop until the condition holds; false when the time-out passes
// first. For conditions that queued calls, timers or widgets of this thread bring about.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace vantor::test
