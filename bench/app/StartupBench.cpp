// The program's start-up: from exec to ready in the tray (its instance socket answers, so its
// window is initialised and its event loop runs), against vantor-sim, and its resident memory
// then and once the keyboard has been found. Each iteration starts a fresh instance and ends
// it with "/Kill".

#include "shell/InstanceGuard.h"
#include "shell/InstanceRequest.h"

#include "mainwindow/ProgramData.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// VmRSS of a process, in kB; 0 when it cannot be read.
double ResidentKb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void BM_StartupToTray(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_app";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QTemporaryDir root;
    const QString bin = vantor::test::BuildProgramFolder();
    if (!root.isValid() || !vantor::test::CopyProgramData(root.filePath("program"))) {
        state.SkipWithError("the build's bin/ with Skins is missing (set VANTOR_BINARY_DIR)");
        return;
    }
    const QString socket = root.filePath("sim.sock");
    qputenv("XDG_RUNTIME_DIR", root.filePath("runtime").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", root.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", root.filePath("data").toLocal8Bit());
    qputenv("VANTOR_PROGRAM_DIR", root.filePath("program").toLocal8Bit());
    qputenv("VANTOR_SIM", socket.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QProcess sim;
    sim.start(bin + "/vantor-sim", {"--socket", socket});
    if (!sim.waitForStarted() ||
        !WaitUntil([&] { return QFile::exists(socket); }, 10000)) {
        state.SkipWithError("vantor-sim did not start");
        return;
    }
    const QString server = vantor::InstanceGuard(root.filePath("runtime")).ServerPath();
    double readyRss = 0, connectedRss = 0;
    for (auto _ : state) {
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = Clock::now();
        program.start(bin + "/vantor", {"/Start"});
        // A request without its tag: answered (with 0) once the event loop runs.
        if (!vantor::SendInstanceRequest(server, 0, 0, 20000)) {
            state.SkipWithError("the program did not come up");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        readyRss += ResidentKb(pid_t(program.processId()));
        // Give the monitor time to find the emulated keyboard and load its state.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        connectedRss += ResidentKb(pid_t(program.processId()));

        QProcess::execute(bin + "/vantor", {"/Kill"});
        program.waitForFinished(20000);
    }
    state.counters["rss_ready_MB"] =
        benchmark::Counter(readyRss / 1024.0, benchmark::Counter::kAvgIterations);
    state.counters["rss_connected_MB"] =
        benchmark::Counter(connectedRss / 1024.0, benchmark::Counter::kAvgIterations);
    sim.terminate();
    sim.waitForFinished(5000);
}
BENCHMARK(BM_StartupToTray)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
