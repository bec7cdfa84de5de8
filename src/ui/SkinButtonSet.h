#pragma once

#include "ui/CPngButton.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <span>

namespace vantor {

// A skin key and the control id of an image button it places.
struct SkinButtonPlace {
    int id;
    const char* skinKey;  // in the "BUTTONINFO" section
};

// A dialog's image buttons by control id: each clicks into one handler with its id (which is
// its command), draws no text (the words are in the skin's pictures), and is placed from the
// dialog's skin file with the dialog's faces.
class SkinButtonSet {
public:
    SkinButtonSet(QWidget& owner, std::span<const SkinButtonPlace> places,
                  const std::function<void(int id)>& onClick);

    // Moves every button to its skin rectangle with the faces (disabled at 1,1).
    void Place(const QString& iniPath, const ButtonFaces& faces);
    // The button of a control id, or null.
    CPngButton* Button(int id) const;

private:
    std::span<const SkinButtonPlace> m_places;
    std::map<int, CPngButton*> m_buttons;
};

}  // namespace vantor
