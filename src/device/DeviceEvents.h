#pragma once

#include <QString>

namespace vantor {

// Tray icon resources the device threads choose between.
inline constexpr int kTrayIconDisconnected = 128;
inline constexpr int kTrayIconConnected = 141;
inline constexpr int kTrayIconKeyboardEvent = 142;

// What the device threads ask of the user-interface side. They run on the presence monitor,
// the event listener and its short icon threads, never on the user-interface thread; the
// window implements each method by handing the work to its own thread as noted. The monitor
// must not be waited on by the user-interface thread while it may be inside a "blocking"
// call, so a window that stops the device threads keeps its event loop turning (or answers
// blocking calls at once) until Stop returns.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;

    // Keyboard gone (0x4753): close open child dialogs, take the focus back. Blocking queued:
    // returns after the user-interface thread has handled it.
    virtual void KeyboardGone() = 0;
    // Keyboard connected (0x5452, tag "PROF"): reload profiles, profile buttons, lighting
    // and per-key colour marks. Blocking queued.
    virtual void KeyboardConnected() = 0;
    // First sight of the keyboard (0x5350, tag "OPEN"): show the window and raise it.
    // Queued.
    virtual void OpenMainWindow() = 0;
    // Hide the main window after the keyboard has gone. Queued.
    virtual void HideMainWindow() = 0;
    // A message box with OK showing the text of a language key. Queued.
    virtual void ShowMessage(const QString& languageKey) = 0;
    // The keyboard changed its lighting (event 0x0401): re-read status and lighting, refresh
    // the panel. Queued.
    virtual void LightingChanged() = 0;
    // The keyboard switched profile (event 0x0402): reset the in-memory key assignments,
    // follow the active profile, reload colours and lighting. Queued.
    virtual void ProfileSwitched() = 0;
    // Show tray icon resource `icon`. special is true when a keyboard event sets it (142, or
    // back to the base icon), false when the presence changes the base icon (141 or 128).
    // Queued.
    virtual void SetTrayState(bool special, int icon) = 0;
};

}  // namespace vantor
