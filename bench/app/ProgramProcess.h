#pragma once

// What the application benchmarks read of a program they run as a process: the lines it writes
// on standard error, its memory as the kernel counts it, and whether there is a display.

#include "SimProgramHome.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>

namespace vantor::bench {

// Reads the process's standard error until a line containing `line` has come; false when the
// process ends or the time-out passes first. What came before is kept in `seen`.
inline bool WaitForLine(QProcess& program, const QByteArray& line, int timeoutMs = 20000,
                        QByteArray* seen = nullptr) {
    QByteArray own;
    QByteArray& text = seen ? *seen : own;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (program.waitForReadyRead(50)) text += program.readAllStandardError();
        if (text.contains(line)) return true;
        if (program.state() == QProcess::NotRunning) return false;
    }
    return false;
}

// The fields of /proc/PID/smaps_rollup in kB ("Rss", "Pss", "Anonymous", "Shared_Clean", …):
// the process's whole memory in one read. Empty when it cannot be read.
inline std::map<std::string, double> MemoryRollup(qint64 pid) {
    std::map<std::string, double> fields;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly)) return fields;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        // The first line names the address range, with no number after its colon.
        if (colon <= 0 || !line.endsWith(" kB")) continue;
        const QByteArray number = line.mid(colon + 1).trimmed().split(' ')[0];
        fields[line.left(colon).toStdString()] = number.toDouble();
    }
    return fields;
}

// VmRSS of a process, in kB; 0 when it cannot be read.
inline double ResidentKb(qint64 pid) {
    const auto rollup = MemoryRollup(pid);
    const auto rss = rollup.find("Rss");
    return rss == rollup.end() ? 0 : rss->second;
}

// Waits until the process's resident memory has not moved by more than 64 kB for `quietMs`
// (what a state change frees or takes has happened), at most `timeoutMs`; its rollup then.
inline std::map<std::string, double> SettledMemory(qint64 pid, int quietMs = 600,
                                                   int timeoutMs = 6000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    double last = ResidentKb(pid);
    auto quietSince = Clock::now();
    while (Clock::now() < deadline &&
           Clock::now() - quietSince < std::chrono::milliseconds(quietMs)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const double now = ResidentKb(pid);
        if (now > last + 64 || now < last - 64) quietSince = Clock::now();
        last = now;
    }
    return MemoryRollup(pid);
}

inline constexpr char kVantorPaintedLine[] = "vantor: main window painted";

// Starts the program of the build under test, with its standard error to read and a line on
// its window's first paint.
inline void StartVantor(QProcess& program, const QStringList& arguments) {
    qputenv("VANTOR_MARK_FIRST_PAINT", "1");
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.setReadChannel(QProcess::StandardError);
    program.start(SimProgramHome::Bin() + "/vantor", arguments);
}

// Starts the program, which opens its window when it finds the keyboard; true once the window
// has been painted.
inline bool StartToPaintedWindow(QProcess& program) {
    StartVantor(program, {});
    return WaitForLine(program, kVantorPaintedLine);
}

inline bool HasDisplay(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || qgetenv("QT_QPA_PLATFORM") != "xcb") {
        state.SkipWithError(
            "needs an X display and QT_QPA_PLATFORM=xcb (bench/app/first-window.sh)");
        return false;
    }
    return true;
}

}  // namespace vantor::bench
