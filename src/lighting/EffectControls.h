#pragma once

#include <QString>

#include <cstdint>

namespace vantor {

// Which picture pair the direction control uses, and so which skin keys place it.
enum class DirectionFamily {
    None,       // the effect has no direction
    General,    // effects 1-3: skin keys with suffix "2", left and right pictures
    Waterfall,  // effect 12: suffix "3", up and down pictures
    Halo,       // effect 18: no suffix, spread and gather pictures
};

// Which colour button and random toggle the effect shows.
enum class ColourPair { None, HX, FY };

// The control groups the lighting panel shows for one effect.
struct EffectControls {
    bool brightness = false;
    bool speed = false;
    DirectionFamily direction = DirectionFamily::None;
    ColourPair colourPair = ColourPair::None;
    bool colourPictures = false;  // the four colour pictures of effect 17
    bool userDefined = false;     // the per-key colour controls of effect 20
    friend bool operator==(const EffectControls&, const EffectControls&) = default;
};

inline constexpr uint8_t kUserDefinedEffect = 20;

// The groups of an effect code. A code the panel does not know shows brightness only.
EffectControls ControlsOfEffect(uint8_t effect);

// The suffix of the skin keys that place the direction controls of the family
// ("CONTROL_BLFXStatic" + suffix): "2", "3" or none.
QString DirectionSkinSuffix(DirectionFamily family);

}  // namespace vantor
