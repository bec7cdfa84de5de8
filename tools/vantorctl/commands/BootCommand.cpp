// boot: put the keyboard into its boot mode.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "device/BootCommands.h"
#include "device/CommandResult.h"

namespace vantor::ctl {

int RunBoot(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "boot", &code)) return code;
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    if (EnterBootMode(*link) != CommandResult::Ok) {
        return context.Fail(kExitNoAnswer, QStringLiteral("boot mode was not entered: the "
                                                          "request could not be written"));
    }
    context.Out() << "boot mode entered; the keyboard now waits for its updater\n";
    return kExitOk;
}

}  // namespace vantor::ctl
