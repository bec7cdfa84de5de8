#include "macros/MacrosFromKeyboard.h"

#include "shell/lang/Language.h"

#include <algorithm>
#include <new>

namespace vantor {

namespace {
constexpr uint32_t kKeyboardDelayUnitMs = 10;
}

std::optional<std::vector<MacroRecord>> MacrosFromKeyboard(std::span<const KeyboardMacro> macros,
                                                           const QString& newNamePrefix)
{
    const size_t count = std::min(macros.size(), static_cast<size_t>(kMaxMacros));
    std::vector<MacroRecord> records;
    try {
        records.resize(count);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }

    for (size_t i = 0; i < count; ++i) {
        const KeyboardMacro& source = macros[i];
        MacroRecord& record = records[i];
        record.id = static_cast<uint16_t>(i + 1);
        record.cycleCount = source.cycleCount;
        for (const KeyboardMacroAction& action : source.actions) {
            if (!record.AddAction({kKeyboardDelayUnitMs * action.delayField, action.keyCode,
                                   action.direction}))
                break;
        }
        record.SetName(source.name.isEmpty() ? newNamePrefix + QString::number(i + 1)
                                             : source.name);
    }
    return records;
}

std::optional<std::vector<MacroRecord>> MacrosFromKeyboard(std::span<const KeyboardMacro> macros)
{
    return MacrosFromKeyboard(macros, LanguageText(QStringLiteral("MACRO_NEW_PREFIX")));
}

}  // namespace vantor
