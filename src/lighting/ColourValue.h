#pragma once

#include "lighting/UserColourFile.h"

#include <QString>

#include <optional>

namespace vantor {

// A colour written as six hexadecimal digits, RRGGBB (either case); nothing for anything else.
std::optional<Rgb> RgbFromHex(const QString& text);

// What a colour value box shows once its text changed: the decimal number read from it, 255
// when larger. An empty box stays empty, so a person can clear it to type a new number.
QString ColourValueText(const QString& typed);

}  // namespace vantor
