#pragma once

#include "device/DeviceEvents.h"

#include <condition_variable>
#include <functional>
#include <mutex>

namespace vantor {

// The device threads start with the process, so the keyboard is found and first read while
// the main window is still being built. What they ask of the window passes this gate: each call
// waits until the window opens it (once the window can take them) and then goes on to the
// window, on the calling thread as before. Once closed, waiting and later calls return at once
// and do nothing; a call already passed on finishes in the window.
class DeviceEventsGate : public DeviceEvents {
public:
    void Open(DeviceEvents& window);
    void Close();

    void KeyboardGone() override;
    void KeyboardConnected() override;
    void OpenMainWindow() override;
    void HideMainWindow() override;
    void ShowMessage(const QString& languageKey) override;
    void LightingChanged() override;
    void ProfileSwitched() override;
    void SetTrayState(bool special, int icon) override;

private:
    void Pass(const std::function<void(DeviceEvents&)>& call);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    DeviceEvents* m_window = nullptr;
    bool m_closed = false;
};

}  // namespace vantor
