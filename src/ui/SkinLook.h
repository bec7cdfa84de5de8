#pragma once

#include "ui/ImageButton.h"

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

// The key assignment dialog's lists and fields: greyed when disabled; drop-down lists and
// in-place editors get a solid ground to stand out from the rows below.
inline const QString kDialogInputStyle = kInputStyle + QStringLiteral(
    " *:disabled { color: #6A707C; selection-background-color: #3A404A; selection-color: #8A909C; }"
    " QComboBox QAbstractItemView, QTableView QLineEdit, QTableView QComboBox { background: #1C2027; }");

// The lighting panel's lists: room around the entries and a thin scroll bar.
inline const QString kPanelListStyle = kInputStyle + QStringLiteral(
    " QListWidget::item { padding: 2px 4px; }"
    " QScrollBar:vertical { background: transparent; width: 8px; margin: 2px; }"
    " QScrollBar::handle:vertical { background: #3A404A; border-radius: 2px; min-height: 20px; }"
    " QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
    " QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }");

// White text on a dialog's image buttons; grey when disabled.
inline ButtonTextStyle WhiteText(int pointSize) {
    return ButtonTextStyle{true, pointSize, kFont, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF},
                           TextFormat::kDefault};
}

}  // namespace vantor::look
