#pragma once

#include "ui/CPngButton.h"

#include <QString>

namespace vantor::composite {

// What the key assignment dialog and its macro page share: the skin section their controls
// are placed from, their font, and how texts look on the dialog's dark picture.
inline const QString kButtonInfo = QStringLiteral("BUTTONINFO");
inline const QString kFont = QStringLiteral("Arial Unicode MS");

// White text on the buttons; grey when disabled.
inline ButtonTextStyle WhiteText(int pointSize) {
    return ButtonTextStyle{true, pointSize, kFont, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF},
                           TextFormat::kDefault};
}

// Labels, radios and check boxes draw their text in light grey on the dialog's own picture.
inline const QString kLabelStyle = QStringLiteral("color: #E4E4E4; background: transparent;");
// Lists and fields let the skin's inset well show through and draw in the same light grey;
// drop-down lists and in-place editors get a solid ground to stand out from the rows below.
inline const QString kInputStyle = QStringLiteral(
    "* { background: transparent; color: #E4E4E4; border: none;"
    " selection-background-color: #FF8A1F; selection-color: #121418; }"
    " *:disabled { color: #6A707C; selection-background-color: #3A404A; selection-color: #8A909C; }"
    " QComboBox QAbstractItemView, QTableView QLineEdit, QTableView QComboBox { background: #1C2027; }");

}  // namespace vantor::composite
