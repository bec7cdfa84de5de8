#include "device/DeviceThreads.h"

namespace vantor {

DeviceThreads::DeviceThreads(std::shared_ptr<HidBackend> backend, DeviceLink& link,
                             DeviceState& state, DeviceEvents& events, Timing timing)
    : m_listener(std::move(backend), state, events, timing.listenerRetryMs),
      m_monitor(link, state, events, timing.monitor) {}

void DeviceThreads::Start() {
    m_listener.Start();
    m_monitor.Start();
}

void DeviceThreads::Stop() {
    m_monitor.Stop();
    m_listener.Stop();
}

}  // namespace vantor
