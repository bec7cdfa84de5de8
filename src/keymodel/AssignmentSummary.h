#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "keymodel/KeyAssignment.h"

namespace vantor {

// Name of the working store's macro with an id, empty when there is none.
using MacroNameLookup = std::function<QString(uint32_t macroId)>;

// The tooltip of a key button: the base name (the key's name, or "G1".."G9" for an extra
// key) and, unless the record is a default, what the key has been set to, composed from the
// "KEY_PROMPT_*" texts of the current language.
QString AssignmentSummary(const QString& baseName, const KeyAssignment& record,
                          const MacroNameLookup& macroName);

}  // namespace vantor
