// The program beside a floor: qt-floor, a bare Qt Widgets program with a tray icon and one
// window of the main window's size, built with this benchmark. In one run:
// - BM_MemoryBesideFloor: resident memory of both hidden in the tray (the program started with
//   "/Start", its window never shown), with the window shown, and hidden again, and the
//   program's figures as ratios of the floor's; a table of where the memory lies
//   (/proc/PID/smaps_rollup) is printed after it. It also times, once each, the floor's showing
//   and the program's first opening and its opening again after being hidden (its pictures
//   decoded again), from the request to the painted window;
// - BM_FirstWindowBesideFloor: launch to a painted window, five starts of each taken in turns
//   (the floor with --show, the program with the keyboard present), medians and their ratio.
// Both need a display: bench/app/beside-floor.sh runs them on a virtual one.

#include "ProgramProcess.h"
#include "SimProgramHome.h"

#include "mainwindow/ControlIds.h"
#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"
#include "shell/Paths.h"
#include "shell/skin/SkinIni.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using vantor::bench::Clock;
using vantor::bench::SimProgramHome;
using Rollup = std::map<std::string, double>;

constexpr char kFloorPainted[] = "qt-floor: window painted";
constexpr int kStarts = 5;
// After its start the program looks for the keyboard and reads it; that settles first.
constexpr auto kKeyboardFound = std::chrono::milliseconds(1500);

// The floor comes from this benchmark's own build, whichever build's program is measured.
QString FloorProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/qt-floor");
}

// The main window's size: that of the main skin's background picture.
QString MainWindowSize() {
    const QString skins = SimProgramHome::Bin() + QStringLiteral("/Skins");
    const std::optional<QString> main =
        vantor::SkinIni(skins + QStringLiteral("/Main.ini"))
            .ReadString(QStringLiteral("SCREEN"), QStringLiteral("Main"));
    QImageReader reader(vantor::AppPaths::ResolveCaseInsensitive(skins, main.value_or(QString())));
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid()) return {};
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

void StartFloor(QProcess& floor, const QString& size, bool show) {
    QStringList arguments{QStringLiteral("--size"), size};
    if (show) arguments << QStringLiteral("--show");
    floor.setProcessChannelMode(QProcess::SeparateChannels);
    floor.setReadChannel(QProcess::StandardError);
    floor.start(FloorProgram(), arguments);
}

void EndFloor(QProcess& floor) {
    floor.terminate();
    if (!floor.waitForFinished(5000)) floor.kill();
    floor.waitForFinished(5000);
}

double Mb(const Rollup& rollup, const char* field) {
    const auto found = rollup.find(field);
    return found == rollup.end() ? 0 : found->second / 1024.0;
}

// The three states each program is measured in.
enum State { kHidden, kShown, kHiddenAgain, kStateCount };
constexpr std::array<const char*, kStateCount> kStateNames{"hidden in the tray", "window shown",
                                                         "hidden again"};

void PrintRollups(const std::array<Rollup, kStateCount>& floor,
                  const std::array<Rollup, kStateCount>& program) {
    static constexpr std::array<const char*, 6> kFields{
        "Rss", "Pss", "Anonymous", "Shared_Clean", "Private_Clean", "Private_Dirty"};
    std::printf("\nWhere the memory lies (/proc/PID/smaps_rollup, MB):\n%-30s", "");
    for (const char* field : kFields) std::printf(" %13s", field);
    std::printf("\n");
    const auto row = [](const char* who, const char* state, const Rollup& rollup) {
        std::printf("%-8s %-21s", who, state);
        for (const char* field : kFields) std::printf(" %13.1f", Mb(rollup, field));
        std::printf("\n");
    };
    for (int state = 0; state < kStateCount; ++state) {
        row("qt-floor", kStateNames[state], floor[state]);
    }
    for (int state = 0; state < kStateCount; ++state) {
        row("vantor", kStateNames[state], program[state]);
    }
    const double floorHidden = Mb(floor[kHidden], "Rss");
    const double tray = Mb(program[kHidden], "Rss");
    const double again = Mb(program[kHiddenAgain], "Rss");
    const double shown = Mb(program[kShown], "Rss");
    std::printf("\nvantor in the tray: %.1f MB = %.2f x the floor's hidden %.1f MB "
                "(goal: at most 1.30 x)\n",
                tray, tray / floorHidden, floorHidden);
    std::printf("vantor hidden again: %+.1f MB against never shown (goal: within 5 MB)\n",
                again - tray);
    std::printf("vantor window shown: %.1f MB = %.2f x the floor's shown %.1f MB "
                "(goal: at most 60 MB)\n\n",
                shown, shown / Mb(floor[kShown], "Rss"), Mb(floor[kShown], "Rss"));
    std::fflush(stdout);
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Asks the running program to open its window; true once it has been painted.
bool OpenWindow(QProcess& program, const QString& server) {
    vantor::SendInstanceRequest(server, vantor::kMessageOpen, vantor::kTagOpen, 20000);
    return vantor::bench::WaitForLine(program, vantor::bench::kVantorPaintedLine);
}

// A display, the emulator's home and the main window's size; false (the benchmark skipped with
// the reason) when one is missing.
bool ReadyToRun(benchmark::State& state, const SimProgramHome& home, QString& size) {
    if (!vantor::bench::HasDisplay(state)) return false;
    if (home.Error()) {
        state.SkipWithError(home.Error());
        return false;
    }
    size = MainWindowSize();
    if (size.isEmpty()) state.SkipWithError("the main skin's picture has no size");
    return !size.isEmpty();
}

void BM_MemoryBesideFloor(benchmark::State& state) {
    SimProgramHome home;
    QString size;
    if (!ReadyToRun(state, home, size)) return;
    std::array<Rollup, kStateCount> floor, program;
    double floorShowMs = 0, firstOpenMs = 0, againOpenMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        QProcess floorProcess;
        StartFloor(floorProcess, size, false);
        if (!vantor::bench::WaitForLine(floorProcess, "qt-floor: ready")) {
            state.SkipWithError("qt-floor did not start");
            EndFloor(floorProcess);
            break;
        }
        std::this_thread::sleep_for(kKeyboardFound);
        floor[kHidden] = vantor::bench::SettledMemory(floorProcess.processId());
        auto asked = Clock::now();
        floorProcess.write("show\n");
        if (!vantor::bench::WaitForLine(floorProcess, kFloorPainted)) {
            state.SkipWithError("qt-floor's window did not show");
            EndFloor(floorProcess);
            break;
        }
        floorShowMs = MsSince(asked);
        floor[kShown] = vantor::bench::SettledMemory(floorProcess.processId());
        floorProcess.write("hide\n");
        floor[kHiddenAgain] = vantor::bench::SettledMemory(floorProcess.processId());
        EndFloor(floorProcess);

        QProcess vantorProcess;
        vantor::bench::StartVantor(vantorProcess, {QStringLiteral("/Start")});
        const QString server = home.InstanceServer();
        // A request without its tag: answered (with 0) once the event loop runs.
        if (!vantor::SendInstanceRequest(server, 0, 0, 20000)) {
            state.SkipWithError("the program did not come up");
            SimProgramHome::Kill(vantorProcess);
            break;
        }
        std::this_thread::sleep_for(kKeyboardFound);
        program[kHidden] = vantor::bench::SettledMemory(vantorProcess.processId());
        asked = Clock::now();
        if (!OpenWindow(vantorProcess, server)) {
            state.SkipWithError("the program's window did not show");
            SimProgramHome::Kill(vantorProcess);
            break;
        }
        firstOpenMs = MsSince(asked);
        program[kShown] = vantor::bench::SettledMemory(vantorProcess.processId());
        // Cancel closes the window to the tray.
        vantor::SendInstanceRequest(server, vantor::kMessageCommand, vantor::kTagCommand, 20000,
                                    uint32_t(vantor::ControlIds::kCancel));
        program[kHiddenAgain] = vantor::bench::SettledMemory(vantorProcess.processId());
        // Opened again, its pictures come back.
        asked = Clock::now();
        if (OpenWindow(vantorProcess, server)) againOpenMs = MsSince(asked);
        SimProgramHome::Kill(vantorProcess);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (floor[kHidden].empty() || program[kHiddenAgain].empty()) return;
    const double floorHidden = Mb(floor[kHidden], "Rss");
    state.counters["floor_hidden_MB"] = floorHidden;
    state.counters["floor_shown_MB"] = Mb(floor[kShown], "Rss");
    state.counters["tray_MB"] = Mb(program[kHidden], "Rss");
    state.counters["tray_x_floor"] = Mb(program[kHidden], "Rss") / floorHidden;
    state.counters["shown_MB"] = Mb(program[kShown], "Rss");
    state.counters["shown_x_floor"] = Mb(program[kShown], "Rss") / Mb(floor[kShown], "Rss");
    state.counters["again_MB"] = Mb(program[kHiddenAgain], "Rss");
    state.counters["again_x_floor"] = Mb(program[kHiddenAgain], "Rss") / floorHidden;
    // From the request to the painted window, once each (timed: noisy on a busy machine).
    state.counters["floor_show_ms"] = floorShowMs;
    state.counters["open_ms"] = firstOpenMs;
    state.counters["open_again_ms"] = againOpenMs;
    PrintRollups(floor, program);
}
BENCHMARK(BM_MemoryBesideFloor)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_FirstWindowBesideFloor(benchmark::State& state) {
    SimProgramHome home;
    QString size;
    if (!ReadyToRun(state, home, size)) return;
    std::vector<double> floorMs, programMs;
    for (auto _ : state) {
        const auto round = Clock::now();
        for (int start = 0; start < kStarts; ++start) {
            QProcess floor;
            auto launched = Clock::now();
            StartFloor(floor, size, true);
            if (!vantor::bench::WaitForLine(floor, kFloorPainted)) {
                state.SkipWithError("qt-floor's window did not show");
                EndFloor(floor);
                return;
            }
            floorMs.push_back(MsSince(launched));
            EndFloor(floor);

            QProcess program;
            launched = Clock::now();
            if (!vantor::bench::StartToPaintedWindow(program)) {
                state.SkipWithError("the program's window did not show");
                SimProgramHome::Kill(program);
                return;
            }
            programMs.push_back(MsSince(launched));
            SimProgramHome::Kill(program);
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - round).count());
    }
    state.counters["floor_median_ms"] = Median(floorMs);
    state.counters["median_ms"] = Median(programMs);
    state.counters["x_floor"] = Median(programMs) / Median(floorMs);
    state.counters["max_ms"] = *std::max_element(programMs.begin(), programMs.end());
}
BENCHMARK(BM_FirstWindowBesideFloor)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
