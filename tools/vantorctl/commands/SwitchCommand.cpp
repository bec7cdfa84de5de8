// switch N: make on-board profile N active (read the status block, set byte 10, write it).

#include "CtlExit.h"
#include "commands/Commands.h"

#include "device/CommandResult.h"
#include "device/StatusCommands.h"

namespace vantor::ctl {

int RunSwitch(CtlContext& context) {
    int code = kExitOk;
    int profile = 0;
    if (!context.ExpectArguments(1, "switch N", &code) ||
        !context.ProfileArgument(0, &profile, &code)) {
        return code;
    }
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    StatusBlock status{};
    CommandResult result = ReadStatus(*link, &status);
    if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("read status"));
    status[kStatusActiveProfile] = uint8_t(profile);
    result = WriteStatus(*link, status);
    if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("write status"));
    context.Out() << "active profile: " << profile << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
