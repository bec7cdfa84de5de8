#include "SimServer.h"

#include "device/SimSocketBackend.h"

#include <chrono>
#include <thread>

namespace vantor::test {

CtlRun RunCtl(const QStringList& args) {
    ChildProcess ctl;
    if (!ctl.Start(VANTORCTL_PROGRAM, args) || !ctl.WaitForExit(kProcessWaitMs)) return {};
    return {ctl.ExitCode(), ctl.Stdout(), ctl.Stderr()};
}

bool SimServer::Start(const QString& socket) {
    m_socket = socket;
    if (!m_process.Start(VANTOR_SIM_PROGRAM, {"--socket", socket})) return false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kProcessWaitMs);
    while (m_process.IsRunning() && !SimSocketBackend(socket).IsServerReachable() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
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
