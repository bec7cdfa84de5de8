// gui-command ID: hands a command to the running program, as its buttons and menus issue them;
// the way to reach commands no control issues (32780 opens the update window).

#include "CtlExit.h"
#include "commands/Commands.h"

#include "shell/InstanceGuard.h"
#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"
#include "shell/Paths.h"

namespace vantor::ctl {

namespace {

constexpr int kAnswerTimeoutMs = 5000;

}  // namespace

int RunGuiCommand(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "gui-command ID", &code)) return code;
    const std::optional<int64_t> number =
        context.Decimal(context.Args()[0], QStringLiteral("a command id"), 1, 0xFFFF, &code);
    if (!number) return code;
    const uint id = uint(*number);
    // The running program holds the single-instance lock; when it is free nothing runs. The
    // lock is let go at once, so a program starting now still takes it.
    InstanceGuard guard(AppPaths::Current()->RuntimeFolder());
    if (guard.TryLock() || !guard.Error().isEmpty()) {
        guard.Release();
        return context.Fail(kExitNotRunning, QStringLiteral("the program is not running"));
    }
    const std::optional<uint32_t> answer =
        SendInstanceRequest(guard.ServerPath(), kMessageCommand, kTagCommand, kAnswerTimeoutMs, id);
    if (!answer) {
        return context.Fail(kExitNoAnswer, QStringLiteral("the running program did not answer "
                                                          "within %1 ms")
                                               .arg(kAnswerTimeoutMs));
    }
    if (*answer == 0) {
        return context.Fail(kExitNoAnswer,
                            QStringLiteral("the running program did not take the command"));
    }
    context.Out() << "command " << id << " handed to the running program\n";
    return kExitOk;
}

}  // namespace vantor::ctl
