// macros: the keyboard's macros as its macro area holds them.

#include "CtlExit.h"
#include "commands/Commands.h"
#include "commands/CtlJson.h"
#include "commands/ProfileFileText.h"

#include "keyassign/MacroArea.h"

namespace vantor::ctl {

int RunMacros(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "macros", &code)) return code;
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    std::vector<uint8_t> area;
    const CommandResult read = ReadKeyboardMacroArea(*link, &area);
    if (read != CommandResult::Ok) return context.FailCommand(read, QStringLiteral("read macro area"));
    const std::optional<std::vector<KeyboardMacro>> macros = ParseKeyboardMacroArea(area);
    if (!macros) return context.Fail(kExitOutOfMemory, QStringLiteral("out of memory reading the macro area"));

    if (context.Json()) {
        QJsonArray list;
        for (size_t slot = 0; slot < macros->size(); ++slot) {
            QJsonObject macro = MacroJson((*macros)[slot]);
            macro.insert(QStringLiteral("slot"), int(slot));
            list.append(macro);
        }
        WriteJson(context, QJsonObject{{"macros", list}});
        return kExitOk;
    }
    QTextStream& out = context.Out();
    if (macros->empty()) out << "no macros\n";
    for (size_t slot = 0; slot < macros->size(); ++slot) {
        const KeyboardMacro& macro = (*macros)[slot];
        out << "slot " << slot;
        if (!macro.name.isEmpty()) out << "  \"" << macro.name << '"';
        out << "  plays " << macro.cycleCount << "  " << macro.actions.size() << " actions\n";
        for (const KeyboardMacroAction& action : macro.actions) {
            out << "  " << EnglishKeyName(action.keyCode)
                << (action.direction == 1 ? " release " : " press ")
                << MacroActionDelayMs(action) << " ms\n";
        }
    }
    return kExitOk;
}

}  // namespace vantor::ctl
