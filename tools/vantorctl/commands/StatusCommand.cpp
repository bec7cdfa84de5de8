// status: the keyboard's status block.

#include "CtlExit.h"
#include "commands/Commands.h"
#include "commands/CtlJson.h"

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
    QJsonArray effectList;
    for (size_t i = 0; i < kStatusEffectListSize; ++i) {
        if (const uint8_t effect = status[kStatusEffectList + i]) {
            effects << QString::number(effect);
            effectList.append(int(effect));
        }
    }
    const qint64 capacity = qint64(status[kStatusMacroCapacity]) * qint64(kMacroCapacityUnit);
    if (context.Json()) {
        WriteJson(context, QJsonObject{{"activeProfile", int(status[kStatusActiveProfile])},
                                       {"macroCapacityBytes", capacity},
                                       {"effects", effectList}});
        return kExitOk;
    }
    context.Out() << "active profile: " << int(status[kStatusActiveProfile]) << '\n'
                  << "macro capacity: " << capacity
                  << " bytes\n"
                  << "effects: " << effects.join(QLatin1Char(' ')) << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
