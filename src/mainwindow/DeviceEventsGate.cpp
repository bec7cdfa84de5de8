#include "mainwindow/DeviceEventsGate.h"

namespace vantor {

void DeviceEventsGate::Open(DeviceEvents& window) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return;
        m_window = &window;
    }
    m_changed.notify_all();
}

void DeviceEventsGate::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_window = nullptr;
    }
    m_changed.notify_all();
}

void DeviceEventsGate::Pass(const std::function<void(DeviceEvents&)>& call) {
    DeviceEvents* window = nullptr;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_window != nullptr || m_closed; });
        window = m_window;
    }
    if (window != nullptr) call(*window);
}

void DeviceEventsGate::KeyboardGone() { Pass([](DeviceEvents& w) { w.KeyboardGone(); }); }
void DeviceEventsGate::KeyboardConnected() { Pass([](DeviceEvents& w) { w.KeyboardConnected(); }); }
void DeviceEventsGate::OpenMainWindow() { Pass([](DeviceEvents& w) { w.OpenMainWindow(); }); }
void DeviceEventsGate::HideMainWindow() { Pass([](DeviceEvents& w) { w.HideMainWindow(); }); }
void DeviceEventsGate::ShowMessage(const QString& languageKey) {
    Pass([&languageKey](DeviceEvents& w) { w.ShowMessage(languageKey); });
}
void DeviceEventsGate::LightingChanged() { Pass([](DeviceEvents& w) { w.LightingChanged(); }); }
void DeviceEventsGate::ProfileSwitched() { Pass([](DeviceEvents& w) { w.ProfileSwitched(); }); }
void DeviceEventsGate::SetTrayState(bool special, int icon) {
    Pass([special, icon](DeviceEvents& w) { w.SetTrayState(special, icon); });
}

}  // namespace vantor
