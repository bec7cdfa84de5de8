#pragma once

#include "ui/CPngButton.h"
#include "ui/SkinLook.h"

#include <QString>

namespace vantor::composite {

// What the key assignment dialog and its macro page share: the skin section their controls
// are placed from, their font, and how texts look on the dialog's dark picture.
inline const QString kButtonInfo = QStringLiteral("BUTTONINFO");
inline const QString& kFont = look::kFont;

// White text on the buttons; grey when disabled.
inline ButtonTextStyle WhiteText(int pointSize) {
    return ButtonTextStyle{true, pointSize, kFont, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF},
                           TextFormat::kDefault};
}

// Labels, radios and check boxes draw their text in light grey on the dialog's own picture.
inline const QString& kLabelStyle = look::kLabelStyle;
// Lists and fields as everywhere, greyed when disabled; drop-down lists and in-place editors
// get a solid ground to stand out from the rows below.
inline const QString kInputStyle = look::kInputStyle + QStringLiteral(
    " *:disabled { color: #6A707C; selection-background-color: #3A404A; selection-color: #8A909C; }"
    " QComboBox QAbstractItemView, QTableView QLineEdit, QTableView QComboBox { background: #1C2027; }");

}  // namespace vantor::composite
