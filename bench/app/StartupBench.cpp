// The program's start-up: from exec to ready in the tray (its instance socket answers, so its
// window is initialised and its event loop runs), against vantor-sim, and its resident memory
// then and once the keyboard has been found. Each iteration starts a fresh instance and ends
// it with "/Kill".

#include "shell/InstanceRequest.h"

#include "ProgramProcess.h"
#include "SimProgramHome.h"

#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using vantor::bench::Clock;
using vantor::bench::ResidentKb;
using vantor::bench::SimProgramHome;

void BM_StartupToTray(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    SimProgramHome home;
    if (home.Error()) {
        state.SkipWithError(home.Error());
        return;
    }
    const QString bin = SimProgramHome::Bin();
    const QString server = home.InstanceServer();
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
        readyRss += ResidentKb(program.processId());
        // Give the monitor time to find the emulated keyboard and load its state.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        connectedRss += ResidentKb(program.processId());

        SimProgramHome::Kill(program);
    }
    state.counters["rss_ready_MB"] =
        benchmark::Counter(readyRss / 1024.0, benchmark::Counter::kAvgIterations);
    state.counters["rss_connected_MB"] =
        benchmark::Counter(connectedRss / 1024.0, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartupToTray)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
