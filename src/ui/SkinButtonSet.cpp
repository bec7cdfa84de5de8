#include "ui/SkinButtonSet.h"

#include "ui/SkinPlacement.h"

namespace vantor {

SkinButtonSet::SkinButtonSet(QWidget& owner, std::span<const SkinButtonPlace> places,
                             const std::function<void(int id)>& onClick)
    : m_places(places) {
    for (const SkinButtonPlace& place : places) {
        auto* button = new CPngButton(&owner);
        button->setObjectName(QString::number(place.id));
        button->SetTextStyle(ButtonTextStyle{false, 8, {}, {}, {}});
        const int id = place.id;
        QObject::connect(button, &CPngButton::clicked, &owner, [onClick, id] { onClick(id); });
        m_buttons[id] = button;
    }
}

void SkinButtonSet::Place(const QString& iniPath, const ButtonFaces& faces) {
    for (const SkinButtonPlace& place : m_places) {
        PlaceImageButton(*m_buttons.at(place.id), iniPath, QStringLiteral("BUTTONINFO"),
                         QString::fromLatin1(place.skinKey), faces);
    }
}

CPngButton* SkinButtonSet::Button(int id) const {
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

}  // namespace vantor
