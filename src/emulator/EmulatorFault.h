#pragma once

#include <QString>

#include <optional>

namespace vantor {

// How the emulated keyboard misbehaves on its vendor interface until told otherwise.
enum class EmulatorFault {
    None,
    NoReply,         // requests are received (and logged) but neither carried out nor answered
    LateReply,       // requests are carried out; each reply arrives lateReplyMs later, give or
                     // take up to lateJitterMs (so replies may overtake each other)
    StaleReply,      // requests are carried out; each is answered first with the reply to the
                     // request before it, then with its own
    StatusFF,        // requests are refused: the reply carries status 0xFF, nothing changes
    StatusFE,        // the same with status 0xFE
    WriteFailure,    // the request report cannot be written; the keyboard never sees it
    UnplugMidTransfer,  // reportsBeforeUnplug more requests go through, then the keyboard
                        // leaves as the next one is written (that write fails)
};

struct FaultSwitch {
    EmulatorFault fault = EmulatorFault::None;
    // Longer than the host's 300 ms reply time-out by default.
    int lateReplyMs = 400;
    int reportsBeforeUnplug = 0;
    // StatusFF and StatusFE: only requests with this command code are refused, the others are
    // carried out (a keyboard that refuses one step of a sequence); -1 refuses every request.
    int refusedCommand = -1;
    // LateReply: each reply's delay is lateReplyMs give or take up to this much.
    int lateJitterMs = 0;
};

// The switch names used on the emulator's command line: "none", "noreply", "late", "stale",
// "ff", "fe", "writefail", "unplug".
QString FaultName(EmulatorFault fault);
std::optional<EmulatorFault> FaultFromName(const QString& name);

}  // namespace vantor
