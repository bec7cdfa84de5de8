#include "shell/InstanceHandOff.h"

#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"

namespace vantor {

namespace {

HandOffResult Ended(int exitCode, QString message = QString()) {
    return HandOffResult{false, exitCode, std::move(message)};
}

HandOffResult SendToRunning(const InstanceGuard& guard, uint32_t message, uint32_t tag,
                            const char* what, int timeoutMs) {
    if (SendInstanceRequest(guard.ServerPath(), message, tag, timeoutMs)) return Ended(0);
    return Ended(1, QStringLiteral("the running instance did not answer the %1 request within "
                                   "%2 ms")
                        .arg(QLatin1String(what))
                        .arg(timeoutMs));
}

}  // namespace

HandOffResult HandOffAtStart(const CommandLine& commandLine, InstanceGuard& guard,
                             int answerTimeoutMs) {
    const bool locked = guard.TryLock();
    const bool lockUnusable = !locked && !guard.Error().isEmpty();
    if (commandLine.kill) {
        if (lockUnusable) return Ended(0, guard.Error());
        if (locked) {
            guard.Release();  // nothing runs: end at once
            return Ended(0);
        }
        return SendToRunning(guard, kMessageKill, kTagKill, "KILL", answerTimeoutMs);
    }
    if (locked) return HandOffResult{true, 0, {}};
    if (lockUnusable) {
        return HandOffResult{true, 0,
                             guard.Error() + QStringLiteral(": starting without the "
                                                            "single-instance lock")};
    }
    return SendToRunning(guard, kMessageOpen, kTagOpen, "OPEN", answerTimeoutMs);
}

}  // namespace vantor
