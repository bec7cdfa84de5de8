#pragma once

// The faults of the fault matrix: every way the keyboard can misbehave, with the cause an
// operation must then report. The core's matrix and vantorctl's run the same rows against
// their own operations.

#include "device/CommandReport.h"
#include "device/StatusCommands.h"
#include "emulator/EmulatorFault.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::test {

// What an operation's result says happened.
enum class Cause {
    Done,
    Absent,   // no keyboard, or it was pulled out midway
    Silent,   // the keyboard did not answer, or a request could not be written
    Refused,  // the keyboard answered with an error status
    Other,    // anything else (a capacity, file or macro failure): always wrong here
};

inline std::ostream& operator<<(std::ostream& out, Cause cause) {
    constexpr const char* kNames[] = {"done", "absent", "silent", "refused", "other"};
    return out << kNames[static_cast<int>(cause)];
}

// Where in an operation's requests the keyboard leaves, counted on a run without faults.
enum class UnplugAt { Never, Start, Middle, NearEnd };

// A reply time-out and a lateness that fall between one attempt and the next: the reply to
// the first attempt arrives while the second one waits.
inline constexpr int kMatrixReplyTimeoutMs = 25;
inline constexpr int kMatrixLateMs = 33;
inline constexpr int kMatrixJitterMs = 5;

struct FaultRow {
    const char* name;
    EmulatorFault fault;
    UnplugAt unplug;
    Cause expected;
    // A late keyboard may still exceed every attempt on a busy machine; silence is then the
    // true cause too.
    bool mayFallSilent = false;

    bool Absent() const { return name == std::string_view("absent"); }

    FaultSwitch Switch(int reportsBeforeUnplug) const {
        FaultSwitch with{fault};
        with.lateReplyMs = kMatrixLateMs;
        with.lateJitterMs = kMatrixJitterMs;
        with.reportsBeforeUnplug = reportsBeforeUnplug;
        return with;
    }

    // The "ctl fault" action of vantor-sim for the row.
    QStringList SimAction(int reportsBeforeUnplug) const {
        const QString late = QString::number(kMatrixLateMs);
        const QString jitter = QString::number(kMatrixJitterMs);
        switch (fault) {
        case EmulatorFault::LateReply: return {"fault", "late", late, jitter};
        case EmulatorFault::UnplugMidTransfer:
            return {"fault", "unplug", QString::number(reportsBeforeUnplug)};
        default: return {"fault", FaultName(fault)};
        }
    }
};

// The keyboard gone before the operation starts ("absent") and gone midway ("unplug ...")
// are both absent to vantorctl, which looks whether the keyboard is still listed; the core
// sees only requests that could not be written or went unanswered, so it reports them silent.
inline constexpr std::array<FaultRow, 11> kFaultRows = {{
    {"none", EmulatorFault::None, UnplugAt::Never, Cause::Done},
    {"absent", EmulatorFault::None, UnplugAt::Never, Cause::Absent},
    {"noreply", EmulatorFault::NoReply, UnplugAt::Never, Cause::Silent},
    {"late", EmulatorFault::LateReply, UnplugAt::Never, Cause::Done, true},
    {"stale", EmulatorFault::StaleReply, UnplugAt::Never, Cause::Done},
    {"ff", EmulatorFault::StatusFF, UnplugAt::Never, Cause::Refused},
    {"fe", EmulatorFault::StatusFE, UnplugAt::Never, Cause::Refused},
    {"writefail", EmulatorFault::WriteFailure, UnplugAt::Never, Cause::Silent},
    {"unplug_start", EmulatorFault::UnplugMidTransfer, UnplugAt::Start, Cause::Absent},
    {"unplug_middle", EmulatorFault::UnplugMidTransfer, UnplugAt::Middle, Cause::Absent},
    {"unplug_near_end", EmulatorFault::UnplugMidTransfer, UnplugAt::NearEnd, Cause::Absent},
}};

// The requests that go through before the keyboard leaves, for an operation that sends
// `requests` of them without faults.
inline int ReportsBeforeUnplug(UnplugAt at, int requests) {
    switch (at) {
    case UnplugAt::Start: return 0;
    case UnplugAt::Middle: return requests / 2;
    case UnplugAt::NearEnd: return requests > 0 ? requests - 1 : 0;
    case UnplugAt::Never: break;
    }
    return 0;
}

// One cell of the matrix: a fault row and an operation of the test's own table.
struct MatrixCell {
    size_t fault;
    size_t operation;
};

// How GoogleTest shows a cell (the test's name carries the operation's).
inline void PrintTo(const MatrixCell& cell, std::ostream* out) {
    *out << kFaultRows[cell.fault].name << ", operation " << cell.operation;
}

inline std::vector<MatrixCell> MatrixCells(size_t operations) {
    std::vector<MatrixCell> cells;
    for (size_t f = 0; f < kFaultRows.size(); ++f)
        for (size_t o = 0; o < operations; ++o) cells.push_back({f, o});
    return cells;
}

inline std::string CellName(const MatrixCell& cell, const char* operation) {
    return std::string(kFaultRows[cell.fault].name) + "_" + operation;
}

// The whole of a file, empty when it cannot be read; and a file made to hold bytes.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool SetFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Every status block the requests wrote carries the keyboard's own bytes (`own`, as it was
// before), the active profile aside: a stale or refused reply must never be written back.
inline void ExpectOwnStatusWrites(std::span<const uint8_t> own, const std::vector<CommandReport>& requests) {
    StatusBlock expected{};
    std::memcpy(expected.data(), own.data(), std::min(own.size(), expected.size()));
    for (const CommandReport& request : requests) {
        if (request.command != kCmdWriteStatus) continue;
        StatusBlock written{};
        std::memcpy(written.data(), request.payload, written.size());
        written[kStatusActiveProfile] = expected[kStatusActiveProfile];
        EXPECT_EQ(written, expected);
    }
}

}  // namespace vantor::test
