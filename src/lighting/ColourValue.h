#pragma once

#include <QString>

namespace vantor {

// What a colour value box shows once its text changed: the decimal number read from it, 255
// when larger. An empty box stays empty, so a person can clear it to type a new number.
QString ColourValueText(const QString& typed);

}  // namespace vantor
