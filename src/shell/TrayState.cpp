#include "shell/TrayState.h"

namespace vantor {

bool TrayState::Set(bool special, int code) {
    int next = m_base;
    if (special) {
        next = kSpecial;
    } else if (code != 0) {
        m_base = code;
        next = code;
    }
    if (next == m_shown) return false;
    m_shown = next;
    return true;
}

}  // namespace vantor
