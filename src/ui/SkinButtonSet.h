#pragma once

#include "ui/ImageButton.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <span>
#include <vector>

namespace vantor {

// A skin key and the control id of an image button it places.
struct SkinButtonPlace {
    int id;
    const char* skinKey;  // in the "BUTTONINFO" section
};

// A window's image buttons by control id, the one way the skinned windows make them: each
// clicks into one handler with its id (which is its command), draws no text until given a
// style (the words are in the skin's pictures), and is placed from the window's skin file.
class SkinButtonSet {
public:
    SkinButtonSet(QWidget& owner, std::function<void(int id)> onClick);

    // Makes the buttons of a table, in its order (later ones lie on top).
    void Add(std::span<const SkinButtonPlace> places);
    ImageButton* Add(const SkinButtonPlace& place);
    // A button made elsewhere that the window finds by its id too; it is not placed here.
    void Adopt(int id, ImageButton* button);

    // Moves every button made here to its skin rectangle with the faces (disabled at 1,1).
    void Place(const QString& iniPath, const ButtonFaces& faces);
    // The same for one button.
    void Place(int id, const QString& iniPath, const ButtonFaces& faces);
    // The button of a control id, or null.
    ImageButton* Button(int id) const;

private:
    QWidget& m_owner;
    std::function<void(int id)> m_onClick;
    std::vector<SkinButtonPlace> m_places;
    std::map<int, ImageButton*> m_buttons;
};

}  // namespace vantor
