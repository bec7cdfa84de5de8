#pragma once

namespace vantor {

// Whether the user's session is locked or its console disconnected. Only the flag is kept;
// nothing in the program acts on it.
class SessionState {
public:
    enum class Event { ConsoleConnect = 1, ConsoleDisconnect = 2, Lock = 7, Unlock = 8 };
    enum class Reason { None, Lock, ConsoleDisconnect };

    // Lock and console disconnect set the flag with their reason; the matching unlock or
    // connect clears it. An unlock does not end a disconnect, nor a connect a lock.
    void OnSessionEvent(int event);

    bool IsSuspended() const { return m_reason != Reason::None; }
    Reason SuspendReason() const { return m_reason; }

private:
    Reason m_reason = Reason::None;
};

}  // namespace vantor
