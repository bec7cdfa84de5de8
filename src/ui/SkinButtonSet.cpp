#include "ui/SkinButtonSet.h"

#include "ui/SkinPlacement.h"

namespace vantor {

SkinButtonSet::SkinButtonSet(QWidget& owner, std::function<void(int id)> onClick)
    : m_owner(owner), m_onClick(std::move(onClick)) {}

void SkinButtonSet::Add(std::span<const SkinButtonPlace> places) {
    for (const SkinButtonPlace& place : places) Add(place);
}

ImageButton* SkinButtonSet::Add(const SkinButtonPlace& place) {
    auto* button = new ImageButton(&m_owner);
    button->setObjectName(QString::number(place.id));
    button->SetTextStyle(ButtonTextStyle{false, 8, {}, {}, {}});
    const int id = place.id;
    QObject::connect(button, &ImageButton::clicked, &m_owner, [this, id] {
        if (m_onClick) m_onClick(id);
    });
    m_places.push_back(place);
    m_buttons[id] = button;
    return button;
}

void SkinButtonSet::Adopt(int id, ImageButton* button) { m_buttons[id] = button; }

void SkinButtonSet::Place(const QString& iniPath, const ButtonFaces& faces) {
    for (const SkinButtonPlace& place : m_places) Place(place.id, iniPath, faces);
}

void SkinButtonSet::Place(int id, const QString& iniPath, const ButtonFaces& faces) {
    for (const SkinButtonPlace& place : m_places) {
        if (place.id != id) continue;
        PlaceImageButton(*m_buttons.at(id), iniPath, QStringLiteral("BUTTONINFO"),
                         QString::fromLatin1(place.skinKey), faces);
        return;
    }
}

ImageButton* SkinButtonSet::Button(int id) const {
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

}  // namespace vantor
