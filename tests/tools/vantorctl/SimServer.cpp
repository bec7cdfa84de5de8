#include "SimServer.h"

#include "device/SimSocketBackend.h"
#include "support/WaitFor.h"

namespace vantor::test {

CtlRun RunCtl(const QStringList& args) {
    ChildProcess ctl;
    if (!ctl.Start(VANTORCTL_PROGRAM, args) || !ctl.WaitForExit(kProcessWaitMs)) return {};
    return {ctl.ExitCode(), ctl.Stdout(), ctl.Stderr()};
}

bool SimServer::Start(const QString& socket) {
    m_socket = socket;
    if (!m_process.Start(VANTOR_SIM_PROGRAM, {"--socket", socket})) return false;
    WaitFor([&] { return !m_process.IsRunning() || SimSocketBackend(socket).IsServerReachable(); },
            kProcessWaitMs);
    return SimSocketBackend(socket).IsServerReachable();
}

bool SimServer::Control(const QStringList& action) {
    ChildProcess ctl;
    return ctl.Start(VANTOR_SIM_PROGRAM, QStringList{"--socket", m_socket, "ctl"} + action) &&
           ctl.WaitForExit(kProcessWaitMs) && ctl.ExitCode() == 0;
}

bool SimServer::Stop() {
    m_process.Terminate();
    return m_process.WaitForExit(kProcessWaitMs);
}

}  // namespace vantor::test
