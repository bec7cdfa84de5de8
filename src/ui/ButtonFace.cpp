#include "ui/ButtonFace.h"

namespace vantor {

ButtonFace ChooseButtonFace(const ButtonFaceInputs& in) {
    if (!in.enabled) {
        return ButtonFace::Disabled;
    }
    if (in.toggleMode) {
        return in.toggleSecond ? ButtonFace::ToggleSecond : ButtonFace::ToggleFirst;
    }
    if (in.pressed) {
        return ButtonFace::Pressed;
    }
    if (in.hover) {
        return ButtonFace::Hover;
    }
    return in.selected ? ButtonFace::Selected : ButtonFace::Normal;
}

int TextColourIndex(ButtonFace face) {
    switch (face) {
    case ButtonFace::Normal:
    case ButtonFace::ToggleFirst:
    case ButtonFace::ToggleSecond:
        return 0;
    case ButtonFace::Hover:
        return 1;
    case ButtonFace::Pressed:
        return 2;
    case ButtonFace::Disabled:
        return 3;
    case ButtonFace::Selected:
        return 4;
    }
    return 0;
}

}  // namespace vantor
