// macros: the keyboard's macros as its macro area holds them.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "keyassign/MacroArea.h"
#include "keymodel/KeyTables.h"

namespace vantor::ctl {

namespace {

constexpr uint32_t kDelayUnitMs = 10;

// The key's English name; its code in hex for a code the key table does not name.
QString NameOfKey(KeyCode code) {
    const int row = RowOfCode(code);
    const char* english = row >= 0 ? KeyTable[static_cast<size_t>(row)].englishName : nullptr;
    if (english != nullptr && *english != '\0') return QString::fromUtf8(english);
    return QStringLiteral("0x%1").arg(code, 3, 16, QLatin1Char('0'));
}

}  // namespace

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

    QTextStream& out = context.Out();
    if (macros->empty()) out << "no macros\n";
    for (size_t slot = 0; slot < macros->size(); ++slot) {
        const KeyboardMacro& macro = (*macros)[slot];
        out << "slot " << slot;
        if (!macro.name.isEmpty()) out << "  \"" << macro.name << '"';
        out << "  plays " << macro.cycleCount << "  " << macro.actions.size() << " actions\n";
        for (const KeyboardMacroAction& action : macro.actions) {
            out << "  " << NameOfKey(action.keyCode) << (action.direction == 1 ? " release " : " press ")
                << action.delayField * kDelayUnitMs << " ms\n";
        }
    }
    return kExitOk;
}

}  // namespace vantor::ctl
