#pragma once

namespace vantor {

// The face an image button shows, in the order of its five state pictures, plus the two
// pictures of a toggle pair.
enum class ButtonFace { Normal, Hover, Pressed, Disabled, Selected, ToggleFirst, ToggleSecond };

// What the button's state is when it draws.
struct ButtonFaceInputs {
    bool enabled = true;
    bool toggleMode = false;
    bool toggleSecond = false;  // which picture of the toggle pair
    bool pressed = false;
    bool hover = false;
    bool selected = false;
};

// Disabled wins over everything (a disabled button under the mouse still shows its disabled
// face); then the toggle pair in toggle mode; then pressed, hover, selected, normal.
ButtonFace ChooseButtonFace(const ButtonFaceInputs& inputs);

// Index (0..4, state-picture order) of the text colour that goes with a face: a toggle picture
// takes the normal colour.
int TextColourIndex(ButtonFace face);

}  // namespace vantor
