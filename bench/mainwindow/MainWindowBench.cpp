// The main window in this process, offscreen, on the build's skin and an emulated keyboard:
// how long RefreshKeyButtons takes, and how often the window paints while an Apply goes to a
// keyboard that takes 300 ms for every reply.

#include "mainwindow/MainWindow.h"
#include "mainwindow/ProfileSlots.h"
#include "shell/AppLocks.h"

#include "mainwindow/ConnectedWindow.h"
#include "mainwindow/ProgramData.h"
#include "support/Application.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

namespace vantor {
namespace {

using Clock = std::chrono::steady_clock;

using test::EnsureApplication;

// A window with the keyboard arrived, every key of profile 1 assigned.
struct Rig {
    Rig() : ready((EnsureApplication(), test::CopyProgramData(env.ProgramFolder()))) {
        if (!ready) return;
        connected = std::make_unique<test::ConnectedWindow>(env, QStringLiteral("VantorBench_"));
        window = connected->window.get();
        std::lock_guard lock(StoreLock());
        const auto records = window->Store().Data().Records();
        for (int record = 0; record < 256; ++record)
            records[record] = KeyAssignment{kAssignKey, 0, 0x15B, 0, 0};
    }
    test::TestEnvironment env;
    const bool ready;
    std::unique_ptr<test::ConnectedWindow> connected;
    MainWindow* window = nullptr;
};

void BM_RefreshKeyButtons(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the build's skin is missing (set VANTOR_BINARY_DIR)");
        return;
    }
    // The steady state: the language and settings files written at start-up have settled.
    test::TestEnvironment::WaitUntilFilesSettle();
    for (auto _ : state) {
        std::lock_guard lock(StoreLock());
        rig.window->RefreshKeyButtons();
    }
}
BENCHMARK(BM_RefreshKeyButtons)->Unit(benchmark::kMicrosecond);

// Notes the time of every paint of the window or any of its controls.
class PaintClock : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto now = Clock::now();
            if (m_last) m_longestGap = std::max(m_longestGap, now - *m_last);
            m_last = now;
            ++m_paints;
        }
        return false;
    }
    double LongestGapMs() const {
        return std::chrono::duration<double, std::milli>(m_longestGap).count();
    }
    int Paints() const { return m_paints; }

private:
    std::optional<Clock::time_point> m_last;
    Clock::duration m_longestGap{};
    int m_paints = 0;
};

void BM_PaintingDuringSlowApply(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the build's skin is missing (set VANTOR_BINARY_DIR)");
        return;
    }
    // Shown as the tray's Open shows it, once its start-up has hidden it.
    QApplication::processEvents();
    rig.window->RunCommand(TrayIcon::kCommandOpen);
    QApplication::processEvents();
    // Replies come 300 ms after each request; the link waits for them up to 400 ms.
    rig.connected->keyboard.Link().SetTimeouts({1000, 400, 10});
    FaultSwitch slow{EmulatorFault::LateReply};
    slow.lateReplyMs = 300;
    rig.connected->keyboard.Keyboard().SetFault(slow);
    double longestGap = 0, paints = 0, requests = 0;
    for (auto _ : state) {
        rig.window->SetUnappliedChanges(true);
        rig.connected->keyboard.Keyboard().ClearLog();
        PaintClock clock;
        QApplication::instance()->installEventFilter(&clock);
        const auto start = Clock::now();
        const int applied = rig.window->Profiles().Apply();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        QApplication::instance()->removeEventFilter(&clock);
        if (applied != 1) state.SkipWithError("the slow keyboard did not take the download");
        longestGap = std::max(longestGap, clock.LongestGapMs());
        paints += clock.Paints();
        requests += double(rig.connected->keyboard.Requests().size());
    }
    state.counters["longest_paint_gap_ms"] = longestGap;
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
    state.counters["reports"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PaintingDuringSlowApply)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vantor
