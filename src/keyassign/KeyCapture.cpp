#include "keyassign/KeyCapture.h"

#include "keymodel/EvdevKeys.h"
#include "keymodel/KeyConversions.h"

#include <QApplication>
#include <QKeyEvent>

namespace vantor {

namespace {

bool IsDesktopKey(KeyCode code) { return code == 0x15B || code == 0x15C || code == 0x15D; }

// The modifier mask the evdev table reads: Alt turns Print Screen into Sys Req, Ctrl Pause
// into Break.
uint8_t HeldModifiers(Qt::KeyboardModifiers modifiers) {
    uint8_t mask = 0;
    if (modifiers & Qt::ControlModifier) mask |= 0x01;
    if (modifiers & Qt::AltModifier) mask |= 0x04;
    return mask;
}

}  // namespace

KeyCapture::KeyCapture(QWidget* grabber, Captured captured, std::function<bool()> accepting)
    : m_grabber(grabber), m_captured(std::move(captured)), m_accepting(std::move(accepting)) {}

KeyCapture::~KeyCapture() { Stop(); }

void KeyCapture::Start() {
    if (m_active) return;
    m_active = true;
    m_held.clear();
    qApp->installEventFilter(this);
    if (m_grabber) m_grabber->grabKeyboard();
}

void KeyCapture::Stop() {
    if (!m_active) return;
    m_active = false;
    qApp->removeEventFilter(this);
    if (m_grabber) m_grabber->releaseKeyboard();
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QObject::eventFilter(watched, event);
    // A key event is offered to every widget up the parent chain; only the first offer counts.
    if (!watched->isWidgetType()) return false;
    return Take(static_cast<const QKeyEvent&>(*event));
}

bool KeyCapture::Take(const QKeyEvent& event) {
    const KeyCode code = KeyCodeOfNativeScanCode(event.nativeScanCode(), HeldModifiers(event.modifiers()));
    if (code == kNoKey || IsMediaKeyCode(code)) return false;
    const bool press = event.type() == QEvent::KeyPress;
    const bool reported = press ? !event.isAutoRepeat() && m_held.insert(code).second : m_held.erase(code) > 0;
    if (reported && (IsDesktopKey(code) || m_accepting())) m_captured(code, press);
    return true;
}

}  // namespace vantor
