#include "lighting/EffectControls.h"

namespace vantor {

EffectControls ControlsOfEffect(uint8_t effect) {
    EffectControls c;
    c.brightness = true;
    switch (effect) {
    case 1: case 2: case 3:
        c.speed = true;
        c.direction = DirectionFamily::General;
        c.colourPair = ColourPair::HX;
        break;
    case 4: case 11:
        c.speed = true;
        break;
    case 5: case 7: case 8: case 9: case 10: case 13: case 14: case 15:
        c.speed = true;
        c.colourPair = ColourPair::HX;
        break;
    case 6: case 16:
        c.colourPair = ColourPair::FY;
        break;
    case 12:
        c.speed = true;
        c.direction = DirectionFamily::Waterfall;
        break;
    case 17:
        c.colourPictures = true;
        break;
    case 18:
        c.direction = DirectionFamily::Halo;
        break;
    case kUserDefinedEffect:
        c.userDefined = true;
        break;
    default:
        break;
    }
    return c;
}

QString DirectionSkinSuffix(DirectionFamily family) {
    switch (family) {
    case DirectionFamily::General: return QStringLiteral("2");
    case DirectionFamily::Waterfall: return QStringLiteral("3");
    case DirectionFamily::Halo:
    case DirectionFamily::None: break;
    }
    return {};
}

}  // namespace vantor
