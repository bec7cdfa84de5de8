#pragma once

#include "keymodel/KeyCode.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <set>

class QKeyEvent;

namespace vantor {

// Takes the keys typed while the key assignment dialog waits for a key or records a macro: an
// application-wide event filter reads every key event's native scan code (evdev + 8 on X11
// and Wayland) and the dialog grabs the keyboard, so the keys neither reach the dialog's
// controls nor the desktop.
//  - The first press of a key is reported once and its auto-repeats are swallowed; its
//    release is reported too (a release without a press seen since Start is swallowed).
//  - Left/Right Super and Menu are reported as 0x15B, 0x15C and 0x15D whatever `accepting`
//    says, and swallowed.
//  - Media keys and keys without a code pass untouched (while the grab holds they reach no
//    other program: the desktop sees them only once the grab ends).
//  - Every other key is swallowed, and reported only while `accepting` says yes.
class KeyCapture : public QObject {
    Q_OBJECT

public:
    using Captured = std::function<void(KeyCode, bool press)>;

    KeyCapture(QWidget* grabber, Captured captured, std::function<bool()> accepting);
    ~KeyCapture() override;

    void Start();
    void Stop();
    bool IsActive() const { return m_active; }

    // What the filter does with one key event: true when it is swallowed.
    bool Take(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_grabber;
    Captured m_captured;
    std::function<bool()> m_accepting;
    bool m_active = false;
    std::set<KeyCode> m_held;
};

}  // namespace vantor
