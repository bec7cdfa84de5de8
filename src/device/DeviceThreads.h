#pragma once

#include "device/DeviceEvents.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "device/EventListener.h"
#include "device/PresenceMonitor.h"

#include <memory>

namespace vantor {

// The two device threads of the program, started together (the listener first) and stopped
// together at exit. The program starts them with the process; what they ask of the window
// waits until the window can take it (DeviceEventsGate).
class DeviceThreads {
public:
    struct Timing {
        MonitorTiming monitor;
        int listenerRetryMs = 1000;
    };

    DeviceThreads(std::shared_ptr<HidBackend> backend, DeviceLink& link, DeviceState& state,
                  DeviceEvents& events, Timing timing);
    DeviceThreads(std::shared_ptr<HidBackend> backend, DeviceLink& link, DeviceState& state,
                  DeviceEvents& events)
        : DeviceThreads(std::move(backend), link, state, events, Timing{}) {}
    ~DeviceThreads() { Stop(); }

    void Start();
    // The monitor first, so no connect handling runs while the listener goes.
    void Stop();

    PresenceMonitor& Monitor() { return m_monitor; }
    EventListener& Listener() { return m_listener; }

private:
    EventListener m_listener;
    PresenceMonitor m_monitor;
};

}  // namespace vantor
