#pragma once

#include <QString>

namespace vantor::skingen {

// Writes "UserDengColor_3.userd", the colour file new profiles start from: three named user
// modes with a colour for every LED position a key button uses.
bool WriteColourTemplate(const QString& folder);

}  // namespace vantor::skingen
