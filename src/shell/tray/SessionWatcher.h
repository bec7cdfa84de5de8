#pragma once

#include "shell/SessionState.h"

#include <QObject>

namespace vantor {

// Follows the lock and unlock of the user's login session (logind's Lock and Unlock signals on
// the system bus) into a SessionState. Where there is no system bus or no logind session, it
// watches nothing and the flag stays clear.
class SessionWatcher : public QObject {
    Q_OBJECT

public:
    explicit SessionWatcher(QObject* parent = nullptr);

    // False when nothing could be watched.
    bool Start();
    const SessionState& State() const { return m_state; }

private slots:
    void OnLock();
    void OnUnlock();

private:
    SessionState m_state;
};

}  // namespace vantor
