#pragma once

// vantor-sim and vantorctl as processes of their own, for the tests that run the built programs.

#include "support/ChildProcess.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <vector>

namespace vantor::test {

inline constexpr int kProcessWaitMs = 10000;  // a deadline, never reached when things work

struct CtlRun {
    int exit = -1;  // -1 when the program could not be started or did not end in time
    QString out, err;
};

// Points the child processes at the test's folders while it lives.
class ChildEnvironment {
public:
    explicit ChildEnvironment(const QProcessEnvironment& environment) {
        for (const QString& name : {QStringLiteral("VANTOR_PROGRAM_DIR"),
                                    QStringLiteral("XDG_CONFIG_HOME"),
                                    QStringLiteral("XDG_DATA_HOME"),
                                    QStringLiteral("XDG_RUNTIME_DIR")}) {
            const QByteArray key = name.toLocal8Bit();
            m_saved.push_back({key, qgetenv(key.constData()), qEnvironmentVariableIsSet(key.constData())});
            qputenv(key.constData(), environment.value(name).toLocal8Bit());
        }
    }
    ~ChildEnvironment() {
        for (const Saved& s : m_saved) {
            if (s.wasSet) qputenv(s.key.constData(), s.value);
            else qunsetenv(s.key.constData());
        }
    }

private:
    struct Saved {
        QByteArray key, value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};

// Runs the built vantorctl to its end.
CtlRun RunCtl(const QStringList& args);

// vantor-sim serving an emulated keyboard on a socket of its own.
class SimServer {
public:
    // Starts the program and waits until its socket answers; false when it does not come up.
    bool Start(const QString& socket, const QStringList& options = {});
    // Runs "vantor-sim --socket SOCKET ctl ACTION..." against it; true when that succeeded.
    bool Control(const QStringList& action);
    // Its report log ("ctl log"): one line per report, "> " received or "< " sent, in hex.
    QStringList Log();
    // Terminates it; true when it has ended.
    bool Stop();

private:
    QString m_socket;
    ChildProcess m_process;
};

}  // namespace vantor::test
