#pragma once

#include <QString>

namespace vantor::look {

// How the windows' own texts and inputs look on the skins' dark pictures, wherever they are
// placed: the font the skins are drawn for, light grey text, inputs that let the skin's inset
// wells show through, the selection in the accent colour.
inline const QString kFont = QStringLiteral("Arial Unicode MS");
inline const QString kLabelStyle = QStringLiteral("color: #E4E4E4; background: transparent;");
inline const QString kInputStyle = QStringLiteral(
    "* { background: transparent; color: #E4E4E4; border: none;"
    " selection-background-color: #FF8A1F; selection-color: #121418; }");

}  // namespace vantor::look
