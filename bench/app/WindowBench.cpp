// The main window of the program as a process on an X server, against vantor-sim: how long a
// start with the keyboard present takes until the window is on the screen and painted (the
// program writes a line on its first paint when VANTOR_MARK_FIRST_PAINT is set; also the
// processor time it used until then), and how much
// processor time the program then uses while the window stays open with colour mode off.
// Both need a display: bench/app/first-window.sh runs them on a virtual one.

#include "ProgramProcess.h"
#include "SimProgramHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using vantor::bench::Clock;
using vantor::bench::HasDisplay;
using vantor::bench::SimProgramHome;
using vantor::bench::StartToPaintedWindow;

constexpr int kIdleSeconds = 30;

// User plus system time of every thread of a process, in seconds.
double ProcessorSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which ends at the last ')': utime and stime are the
    // 14th and 15th fields of the line.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// A number read from each thread's file under /proc/PID/task, by thread id.
std::map<QString, double> PerThread(qint64 pid, const QString& file,
                                    const std::function<double(const QByteArray&)>& value) {
    std::map<QString, double> numbers;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile text(tasks + u'/' + task + u'/' + file);
        if (text.open(QIODevice::ReadOnly)) numbers[task] = value(text.readAll());
    }
    return numbers;
}

// How much the per-thread numbers grew from before to after, over the threads alive at the end
// (one that ended meanwhile takes its count with it; new ones count from zero).
double Growth(const std::map<QString, double>& before, const std::map<QString, double>& after) {
    double sum = 0;
    for (const auto& [task, number] : after) {
        const auto found = before.find(task);
        sum += number - (found == before.end() ? 0 : found->second);
    }
    return sum;
}

// How often each thread of a process has gone to sleep and woken up (context switches).
std::map<QString, double> ContextSwitches(qint64 pid) {
    return PerThread(pid, QStringLiteral("status"), [](const QByteArray& status) {
        double switches = 0;
        for (const QByteArray& line : status.split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") ||
                line.startsWith("nonvoluntary_ctxt_switches:"))
                switches += line.mid(line.indexOf(':') + 1).trimmed().toDouble();
        }
        return switches;
    });
}

// Time each thread of a process has run, in seconds, to the nanosecond (the scheduler's own
// count; /proc/PID/stat counts whole clock ticks, 10 ms, too coarse for an idle process).
std::map<QString, double> RunSeconds(qint64 pid) {
    return PerThread(pid, QStringLiteral("schedstat"), [](const QByteArray& schedstat) {
        return schedstat.split(' ').value(0).toDouble() / 1e9;
    });
}

void BM_StartToPaintedWindow(benchmark::State& state) {
    if (!HasDisplay(state)) return;
    SimProgramHome home;
    if (home.Error()) {
        state.SkipWithError(home.Error());
        return;
    }
    std::vector<double> times, processor;
    for (auto _ : state) {
        QProcess program;
        const auto start = Clock::now();
        if (!StartToPaintedWindow(program)) {
            state.SkipWithError("the program's window did not show");
            SimProgramHome::Kill(program);
            break;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
        // What the program itself spent, which a busy machine stretches less than the time.
        processor.push_back(ProcessorSeconds(program.processId()) * 1000);
        SimProgramHome::Kill(program);
        // Started right after the last instance ended, a start shares the machine with what that
        // exit leaves to settle; a pause (VANTOR_BENCH_PAUSE_MS) times starts as a person makes
        // them. Outside the timed part.
        std::this_thread::sleep_for(std::chrono::milliseconds(
            qEnvironmentVariableIntValue("VANTOR_BENCH_PAUSE_MS")));
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["min_ms"] = times.front();
    state.counters["max_ms"] = times.back();
    std::sort(processor.begin(), processor.end());
    state.counters["cpu_median_ms"] = processor[processor.size() / 2];
}
BENCHMARK(BM_StartToPaintedWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IdleWithWindowOpen(benchmark::State& state) {
    if (!HasDisplay(state)) return;
    SimProgramHome home;
    if (home.Error()) {
        state.SkipWithError(home.Error());
        return;
    }
    for (auto _ : state) {
        QProcess program;
        if (!StartToPaintedWindow(program)) {
            state.SkipWithError("the program's window did not show");
            SimProgramHome::Kill(program);
            break;
        }
        // What follows the keyboard's arrival (its state read, the tray icon) settles first.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const qint64 pid = program.processId();
        const auto cpuBefore = RunSeconds(pid);
        const auto switchesBefore = ContextSwitches(pid);
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        const double cpu = Growth(cpuBefore, RunSeconds(pid));
        const double switches = Growth(switchesBefore, ContextSwitches(pid));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        state.counters["cpu_percent"] = 100 * cpu / seconds;
        state.counters["wakeups_per_s"] = switches / seconds;
        SimProgramHome::Kill(program);
    }
}
BENCHMARK(BM_IdleWithWindowOpen)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
