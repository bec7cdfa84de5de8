// What the presence monitor costs while a keyboard is connected, against the in-process
// emulated keyboard: one presence probe (its fallback every few seconds), and the process CPU
// time over a few seconds of waiting for the keyboard to leave with the program's own timing.

#include "device/DeviceEvents.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "device/PresenceMonitor.h"
#include "emulator/EmulatorBackend.h"
#include "support/WaitFor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include <time.h>

namespace vantor {
namespace {

class QuietEvents : public DeviceEvents {
public:
    void KeyboardGone() override {}
    void KeyboardConnected() override {}
    void OpenMainWindow() override {}
    void HideMainWindow() override {}
    void ShowMessage(const QString&) override {}
    void LightingChanged() override {}
    void ProfileSwitched() override {}
    void SetTrayState(bool, int) override {}
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_PresenceProbe(benchmark::State& state) {
    auto emulator = std::make_shared<EmulatorBackend>();
    HidDevice device(emulator);
    device.Enumerate();
    while (const auto path = device.NextPath()) {
        if (device.Open(*path, true, true, true, false) && device.UsagePage() == 0xFF1C) break;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.Probe());
    }
}
BENCHMARK(BM_PresenceProbe);

// One run: the monitor connects, then waits for `seconds`; reported as the share of one core
// the process used meanwhile.
void BM_ConnectedMonitorCpu(benchmark::State& state) {
    constexpr double kSeconds = 3.0;
    for (auto _ : state) {
        auto emulator = std::make_shared<EmulatorBackend>();
        DeviceLink link(emulator);
        DeviceState deviceState;
        deviceState.SetFirstReportDone(true);
        QuietEvents events;
        PresenceMonitor monitor(link, deviceState, events);
        monitor.Start();
        if (!test::WaitFor([&] { return deviceState.Present(); })) {
            state.SkipWithError("the monitor did not find the keyboard");
            return;
        }

        const auto wallStart = std::chrono::steady_clock::now();
        const double cpuStart = ProcessCpuSeconds();
        std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
        const double cpu = ProcessCpuSeconds() - cpuStart;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        monitor.Stop();

        state.counters["cpu_percent"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_ConnectedMonitorCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantor
