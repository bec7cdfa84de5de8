// status: the keyboard's status block.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "device/CommandResult.h"
#include "device/StatusCommands.h"

namespace vantor::ctl {

int RunStatus(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "status", &code)) return code;
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    StatusBlock status{};
    const CommandResult result = ReadStatus(*link, &status);
    if (result != CommandResult::Ok) return context.FailCommand(result, QStringLiteral("read status"));

    QStringList effects;
    for (size_t i = 0; i < kStatusEffectListSize; ++i) {
        if (const uint8_t effect = status[kStatusEffectList + i]) effects << QString::number(effect);
    }
    context.Out() << "active profile: " << int(status[kStatusActiveProfile]) << '\n'
                  << "macro capacity: " << size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit
                  << " bytes\n"
                  << "effects: " << effects.join(QLatin1Char(' ')) << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
