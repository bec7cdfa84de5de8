#include "SimServer.h"

#include "device/SimSocketBackend.h"
#include "support/WaitFor.h"

namespace vantor::test {

CtlRun RunCtl(const QStringList& args) {
    ChildProcess ctl;
    if (!ctl.Start(VANTORCTL_PROGRAM, args) || !ctl.WaitForExit(kProcessWaitMs)) return {};
    return {ctl.ExitCode(), ctl.Stdout(), ctl.Stderr()};
}

bool SimServer::Start(const QString& socket, const QStringList& options) {
    m_socket = socket;
    if (!m_process.Start(VANTOR_SIM_PROGRAM, QStringList{"--socket", socket} + options)) return false;
    WaitFor([&] { return !m_process.IsRunning() || SimSocketBackend(socket).IsServerReachable(); },
            kProcessWaitMs);
    return SimSocketBackend(socket).IsServerReachable();
}

bool SimServer::Control(const QStringList& action) {
    ChildProcess ctl;
    return ctl.Start(VANTOR_SIM_PROGRAM, QStringList{"--socket", m_socket, "ctl"} + action) &&
           ctl.WaitForExit(kProcessWaitMs) && ctl.ExitCode() == 0;
}

QStringList SimServer::Log() {
    ChildProcess ctl;
    if (!ctl.Start(VANTOR_SIM_PROGRAM, {"--socket", m_socket, "ctl", "log"}) ||
        !ctl.WaitForExit(kProcessWaitMs) || ctl.ExitCode() != 0) {
        return {};
    }
    return ctl.Stdout().split(u'\n', Qt::SkipEmptyParts);
}

bool SimServer::Stop() {
    m_process.Terminate();
    return m_process.WaitForExit(kProcessWaitMs);
}

}  // namespace vantor::test
