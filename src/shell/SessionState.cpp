#include "shell/SessionState.h"

namespace vantor {

void SessionState::OnSessionEvent(int event) {
    switch (Event(event)) {
        case Event::Lock: m_reason = Reason::Lock; break;
        case Event::ConsoleDisconnect: m_reason = Reason::ConsoleDisconnect; break;
        case Event::Unlock:
            if (m_reason == Reason::Lock) m_reason = Reason::None;
            break;
        case Event::ConsoleConnect:
            if (m_reason == Reason::ConsoleDisconnect) m_reason = Reason::None;
            break;
    }
}

}  // namespace vantor
