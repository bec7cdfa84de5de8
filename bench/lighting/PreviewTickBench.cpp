// Processor time of one tick of the lighting preview, against its 50 ms period: the engine
// alone for every effect, and the engine with the main window painting every key button it
// touched (offscreen, the window shown), for a whole-picture wave (4), a per-key effect (14)
// and the plain reset (7).

#include "lighting/PreviewEngine.h"
#include "mainwindow/MainWindow.h"
#include "shell/tray/TrayIcon.h"

#include "device/DeviceState.h"
#include "mainwindow/ProgramData.h"
#include "shell/InstanceMessages.h"
#include "support/Application.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace vantor {
namespace {

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The processor time of a tick as a share of the preview's period.
void ReportShare(benchmark::State& state, double cpuMs) {
    const double perTick = cpuMs / double(state.iterations());
    state.counters["cpu_ms_per_tick"] = perTick;
    state.counters["percent_of_period"] = 100 * perTick / MainWindow::kPreviewMs;
}

void BM_PreviewEngineTick(benchmark::State& state) {
    PreviewEngine engine;
    const PreviewInput input{uint8_t(state.range(0)), kDirectionFirst, state.range(1) != 0,
                             Rgb{0x20, 0x80, 0xFF}};
    const double start = ThreadCpuMs();
    for (auto _ : state) benchmark::DoNotOptimize(&engine.Tick(input));
    ReportShare(state, ThreadCpuMs() - start);
}
BENCHMARK(BM_PreviewEngineTick)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 18, 20}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

using test::EnsureApplication;

// The main window with its preview tick in reach.
class TickingWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    using MainWindow::PreviewTick;
};

// The window shown with the keyboard arrived, as when colour mode runs.
struct WindowRig {
    WindowRig() : ready((EnsureApplication(), test::CopyProgramData(env.ProgramFolder()))) {
        if (!ready) return;
        keyboard.FillDeviceState(deviceState);
        deviceState.SetPresent(true);
        MainWindow::Setup setup;
        setup.link = &keyboard.Link();
        setup.deviceState = &deviceState;
        setup.namedEventPrefix = QStringLiteral("VantorPreviewBench_");
        setup.requireTrayHost = false;
        window = std::make_unique<TickingWindow>(env.Paths().MainSkinFile(),
                                              env.Paths().SkinFolder(), setup);
        window->Initialise();
        window->HandleMessage({kMessageConnected, kTagProf});
        QApplication::processEvents();
        window->RunCommand(TrayIcon::kCommandOpen);
        QApplication::processEvents();
    }
    ~WindowRig() {
        if (window) window->Exit();
    }
    test::TestEnvironment env;
    const bool ready;
    test::EmulatedLink keyboard;
    DeviceState deviceState;
    std::unique_ptr<TickingWindow> window;
};

void BM_PreviewTickPainted(benchmark::State& state) {
    WindowRig rig;
    if (!rig.ready) {
        state.SkipWithError("the build's skin is missing (set VANTOR_BINARY_DIR)");
        return;
    }
    const PreviewInput input{uint8_t(state.range(0)), kDirectionFirst, true, Rgb{}};
    rig.window->SetPreviewSource([input] { return input; });
    const double start = ThreadCpuMs();
    for (auto _ : state) {
        rig.window->PreviewTick();
        // The buttons' repaints.
        QApplication::processEvents();
    }
    ReportShare(state, ThreadCpuMs() - start);
}
BENCHMARK(BM_PreviewTickPainted)->Arg(4)->Arg(14)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor
