#pragma once

#include "device/DeviceEvents.h"

#include <QString>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace vantor::test {

// The window's side of the device threads, reduced to a record of what was asked of it, in
// order: "gone", "connected", "open", "hide", "message:KEY", "lighting", "profile",
// "tray:ICON" and "tray-event:ICON".
class RecordingEvents : public DeviceEvents {
public:
    void KeyboardGone() override { Record("gone"); }
    void KeyboardConnected() override { Record("connected"); }
    void OpenMainWindow() override { Record("open"); }
    void HideMainWindow() override { Record("hide"); }
    void ShowMessage(const QString& key) override { Record("message:" + key.toStdString()); }
    void LightingChanged() override { Record("lighting"); }
    void ProfileSwitched() override { Record("profile"); }
    void SetTrayState(bool special, int icon) override {
        Record((special ? "tray-event:" : "tray:") + std::to_string(icon));
    }

    std::vector<std::string> Calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    size_t Count(const std::string& call) const {
        std::lock_guard lock(m_mutex);
        return size_t(std::count(m_calls.begin(), m_calls.end(), call));
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_calls.clear();
    }

private:
    void Record(const std::string& call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(call);
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

}  // namespace vantor::test
