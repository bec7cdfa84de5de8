// The conversion of a macro area read back from the keyboard into macro records: nothing may
// be read outside the bytes given, nor written past a record.
#include "keyassign/MacroArea.h"
#include "macros/MacrosFromKeyboard.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    const std::optional<std::vector<KeyboardMacro>> macros =
        ParseKeyboardMacroArea(std::span<const uint8_t>(data, size));
    if (!macros) {
        return 0;
    }
    const auto records = MacrosFromKeyboard(*macros, QStringLiteral("Macro"));
    if (!records || records->size() != macros->size() ||
        records->size() > static_cast<size_t>(kMaxMacros)) {
        std::abort();
    }
    for (const MacroRecord& record : *records) {
        if (record.actionCount > kMaxMacroActions || record.NameLength() > kMacroNameCapacity) {
            std::abort();
        }
    }
    return 0;
}
