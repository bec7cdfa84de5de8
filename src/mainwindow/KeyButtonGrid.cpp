#include "mainwindow/KeyButtonGrid.h"

#include "keymodel/KeyTables.h"
#include "shell/skin/SkinKeyNames.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"

#include <algorithm>

namespace vantor {

KeyButtonGrid::KeyButtonGrid(QWidget* window) : QObject(window), m_window(window) {}

ImageButton* KeyButtonGrid::Add(int controlId, const QString& skinKey, const QString& iniPath,
                               const ButtonFaces& faces) {
    auto* button = new ImageButton(m_window);
    button->setObjectName(QString::number(controlId));
    // Keys are pictures only; their names are in the tooltips.
    button->SetTextStyle(ButtonTextStyle{false, 8, look::kFont, {}, {}});
    PlaceImageButton(*button, iniPath, QStringLiteral("BUTTONINFO"), skinKey, faces);
    connect(button, &ImageButton::clicked, this, [this, controlId] { emit Clicked(controlId); });
    m_buttons[controlId] = button;
    return button;
}

void KeyButtonGrid::Place(const QString& skinIniPath, const ButtonFaces& faces) {
    for (int i = 0; i < kExtraKeyButtonCount; ++i) {
        ImageButton* button = Add(ExtraKeyButtonIds[i], GKeySkinName(i + 1), skinIniPath, faces);
        // G6-G9 are shown but never clickable; G9's macro is edited from the macro button.
        if (i >= kFirstDisabledExtraKey) button->setEnabled(false);
    }
    for (int p = 0; p < kKeyListSize; ++p)
        Add(KeyListButtonIds[p], SkinKeyName(uint16_t(RowOfCode(KeyList[p]))), skinIniPath, faces);
    Add(kFnButtonId, QStringLiteral("KEY_FN"), skinIniPath, faces);
}

ImageButton* KeyButtonGrid::Button(int controlId) const {
    const auto found = m_buttons.find(controlId);
    return found == m_buttons.end() ? nullptr : found->second;
}

ImageButton* KeyButtonGrid::KeyButton(int keyListPosition) const {
    if (keyListPosition < 0 || keyListPosition >= kKeyListSize) return nullptr;
    return Button(KeyListButtonIds[keyListPosition]);
}

ImageButton* KeyButtonGrid::ExtraKeyButton(int index) const {
    if (index < 0 || index >= kExtraKeyButtonCount) return nullptr;
    return Button(ExtraKeyButtonIds[index]);
}

void KeyButtonGrid::Show(const std::vector<KeyButtonLook>& looks) {
    for (const KeyButtonLook& look : looks) Show(look);
}

void KeyButtonGrid::Show(const KeyButtonLook& look) {
    ImageButton* button = Button(look.controlId);
    if (!button) return;
    button->SetSelected(look.selected);
    button->SetToolTipText(look.toolTip);
}

void KeyButtonGrid::ShowColourView(const std::vector<KeyButtonLook>& looks, const QPixmap* first,
                                   const QPixmap* second, bool on) {
    for (const KeyButtonLook& look : looks) {
        if (ImageButton* button = Button(look.controlId))
            button->SetTogglePair(first, second, on, look.colourSecond);
    }
}

bool KeyButtonGrid::AllPlain() const {
    return std::none_of(m_buttons.begin(), m_buttons.end(), [](const auto& entry) {
        return entry.second->IsOutlined() || entry.second->IsSelected();
    });
}

void KeyButtonGrid::ResetLooks() {
    for (const auto& [id, button] : m_buttons) {
        button->SetOutline(0, false);
        button->SetSelected(false);
    }
}

}  // namespace vantor
