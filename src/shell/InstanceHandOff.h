#pragma once

#include "shell/CommandLine.h"
#include "shell/InstanceGuard.h"

#include <QString>

namespace vantor {

// How long a start waits for the running instance to answer; a "KILL" is answered only once
// that instance has shut down.
inline constexpr int kDefaultHandOffTimeoutMs = 15000;

// What a start does about the single instance, decided before any window exists.
struct HandOffResult {
    bool keepStarting = false;  // this process is the instance: it holds the lock
    int exitCode = 0;           // otherwise, the code to end with
    QString message;            // why it failed, for the terminal; empty when it did not
};

// "/Kill": when another instance holds the lock, it is sent "KILL" and this start waits until
// that instance has run its shutdown; with none running it ends at once. Without "/Kill": when
// the lock is free this process takes it and goes on; otherwise the running instance is sent
// "OPEN" and this start ends. Both end with code 0 once the instance has answered, and with
// code 1 and a message when it holds the lock but does not answer in time. When the lock file
// cannot be made at all, the start goes on without it and says so.
HandOffResult HandOffAtStart(const CommandLine& commandLine, InstanceGuard& guard,
                             int answerTimeoutMs = kDefaultHandOffTimeoutMs);

}  // namespace vantor
