#pragma once

#include "macros/KeyboardMacro.h"
#include "macros/MacroRecord.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vantor {

// Turns the macros read back from the keyboard into table records, in the keyboard's order:
// ids 1..n, not pending, the keyboard's cycle count and actions, the delay 10 times the
// delay field. A macro without a stored name is named newNamePrefix followed by its 1-based
// position.
//
// The records keep their limits: at most 100 macros, 4000 actions and 249 name characters
// are taken, and a delay is capped at 40,000 ms (the keyboard's 12-bit field reaches
// 40,950), the most any other part of the program stores or edits.
//
// nullopt when memory runs out.
std::optional<std::vector<MacroRecord>> MacrosFromKeyboard(std::span<const KeyboardMacro> macros,
                                                           const QString& newNamePrefix);

// The same with the current language's "MACRO_NEW_PREFIX" text.
std::optional<std::vector<MacroRecord>> MacrosFromKeyboard(std::span<const KeyboardMacro> macros);

}  // namespace vantor
