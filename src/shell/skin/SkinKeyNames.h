#pragma once

#include <QString>

#include <cstdint>

namespace vantor {

// Names of the skin keys that are made from a number.

// "KEY_%03X": the button of a key, by its key code (at least three upper-case hex digits).
QString SkinKeyName(uint16_t keyCode);

// "FUNC_G%d": the G key buttons, 1 to 9.
QString GKeySkinName(int number);

// "%s%d": an origin key of "BUTTONINFO2", as "UP_ARROW_LEFT" with 1 gives "UP_ARROW_LEFT1".
QString OriginKeyName(const QString& base, int number);

}  // namespace vantor
