#pragma once

#include <QString>

#include <cstdint>

#include "keymodel/KeyCode.h"
#include "keymodel/KeyTables.h"

namespace vantor {

// Every caller keeps key names in buffers of this many characters, terminator included.
inline constexpr int kKeyNameCapacity = 260;

// Display name of a key in the current language: the text of its row's language key, or
// the "UNKNOWN_KEY" text filled in with the code when the row has no name. At most
// capacity - 1 characters. A row whose key the language file lacks shows its English name.
QString KeyName(KeyCode code, int capacity = kKeyNameCapacity);

// The same for a record value, which is 32 bits wide: a value past 0xFFFF names no key.
QString KeyNameOfValue(uint32_t value, int capacity = kKeyNameCapacity);

// Name of the first row with the ordinal, empty when that row has no language key or no
// row has the ordinal.
QString NameOfOrdinal(KeyOrdinal ordinal);

}  // namespace vantor
