#pragma once

// vantor-sim and vantorctl as processes of their own, for the tests that run the built programs.

#include "support/ChildProcess.h"

#include <QString>
#include <QStringList>

namespace vantor::test {

inline constexpr int kProcessWaitMs = 10000;  // a deadline, never reached when things work

struct CtlRun {
    int exit = -1;  // -1 when the program could not be started or did not end in time
    QString out, err;
};

// Runs the built vantorctl to its end.
CtlRun RunCtl(const QStringList& args);

// vantor-sim serving an emulated keyboard on a socket of its own.
class SimServer {
public:
    // Starts the program and waits until its socket answers; false when it does not come up.
    bool Start(const QString& socket);
    // Runs "vantor-sim --socket SOCKET ctl ACTION..." against it; true when that succeeded.
    bool Control(const QStringList& action);
    // Terminates it; true when it has ended.
    bool Stop();

private:
    QString m_socket;
    ChildProcess m_process;
};

}  // namespace vantor::test
