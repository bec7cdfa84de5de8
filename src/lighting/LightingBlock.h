#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vantor {

// One profile's lighting parameter block, 42 bytes, as the keyboard keeps it; profile p's at
// address p x 42 of the lighting area. Fields the panel does not use keep their place so the
// block can be copied whole.
struct LightingBlock {
    uint8_t effect = 0;          // an offered effect code (1-18, 20)
    uint8_t brightness = 0;      // 0-5
    uint8_t speed = 0;           // 0-5; the slider shows 5 - speed
    uint8_t direction = 0;       // 0xFF first direction, 0x00 second
    uint8_t randomColour = 0;    // non-zero: random colours instead of the single colour
    uint8_t colour[3] = {};      // single colour, red, green, blue
    uint8_t unused8[7] = {};
    uint8_t reportRate = 0;      // 0-3; above 3 is shown as 3
    uint8_t unused16 = 0;
    uint8_t colourChoice = 0;    // 0-3, the colour pictures of effect 17
    uint8_t effect7Random = 0;   // second random flag of effect 7, 0 or 1
    uint8_t triggerMode = 0;     // 0 single-key, 1 grid
    uint8_t unused20[5] = {};
    uint8_t secondColour[3] = {};
    uint8_t secondRandom = 0;
    uint8_t unused29 = 0;
    uint8_t thirdColour[3] = {};
    uint8_t thirdRandom = 0;
    uint8_t unused34 = 0;
    uint8_t reserved35[7] = {};  // never written by this program

    static LightingBlock FromBytes(const uint8_t* bytes);
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};
static_assert(sizeof(LightingBlock) == 42);
static_assert(std::is_standard_layout_v<LightingBlock>);
static_assert(std::is_trivially_copyable_v<LightingBlock>);
static_assert(offsetof(LightingBlock, brightness) == 1);
static_assert(offsetof(LightingBlock, speed) == 2);
static_assert(offsetof(LightingBlock, direction) == 3);
static_assert(offsetof(LightingBlock, randomColour) == 4);
static_assert(offsetof(LightingBlock, colour) == 5);
static_assert(offsetof(LightingBlock, reportRate) == 15);
static_assert(offsetof(LightingBlock, colourChoice) == 17);
static_assert(offsetof(LightingBlock, effect7Random) == 18);
static_assert(offsetof(LightingBlock, triggerMode) == 19);
static_assert(offsetof(LightingBlock, secondColour) == 25);
static_assert(offsetof(LightingBlock, secondRandom) == 28);
static_assert(offsetof(LightingBlock, thirdColour) == 30);
static_assert(offsetof(LightingBlock, thirdRandom) == 33);
static_assert(offsetof(LightingBlock, reserved35) == 35);

inline constexpr size_t kFactoryLightingSize = 35;
inline constexpr uint8_t kDirectionFirst = 0xFF;
inline constexpr uint8_t kDirectionSecond = 0x00;
inline constexpr uint8_t kMaxBrightness = 5;
inline constexpr uint8_t kMaxSpeed = 5;
inline constexpr uint8_t kMaxReportRate = 3;
inline constexpr uint8_t kMaxColourChoice = 3;

// What a reset to factory settings writes over the first 35 bytes of a profile's block:
// effect 1, brightness 4, speed 2, direction 0x00, random flag 0xFF, white, the rest 0.
std::array<uint8_t, kFactoryLightingSize> FactoryLightingBlock();

}  // namespace vantor
