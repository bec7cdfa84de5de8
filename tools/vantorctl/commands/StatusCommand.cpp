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

    const QJsonObject fields = StatusBlockJson(status);
    if (context.Json()) {
        WriteJson(context, fields);
        return kExitOk;
    }
    QStringList effects;
    for (const QJsonValue& effect : fields[QStringLiteral("effects")].toArray()) {
        effects << QString::number(effect.toInt());
    }
    context.Out() << "active profile: " << fields[QStringLiteral("activeProfile")].toInt() << '\n'
                  << "macro capacity: " << fields[QStringLiteral("macroCapacityBytes")].toInteger()
                  << " bytes\n"
                  << "effects: " << effects.join(QLatin1Char(' ')) << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
