#pragma once

#include "lighting/UserColourFile.h"

#include <array>
#include <cstdint>

// The fixed tables of the lighting preview: colour ramps, the keyboard picture as a grid of
// key buttons, and the key orders and paths the effects walk.
namespace vantor::preview {

// The hue wheel: six segments of 32 entries, red to yellow to green to cyan to blue to magenta
// and back to red.
inline constexpr int kHueCount = 192;
// Entry h of the wheel, 0 <= h < 192.
Rgb HueEntry(int h);
// The wheel read with a per-key hue byte: the same wheel continued, entry h modulo 192.
inline Rgb HueByteEntry(uint8_t h) { return HueEntry(h % kHueCount); }

// Brightness ramps: wave table A (96 entries), wave table B (129 entries, 0 from entry 80
// on) and the breathing table (128 entries).
inline constexpr int kWaveACount = 96;
inline constexpr int kWaveBCount = 129;
inline constexpr int kBreathCount = 128;
extern const std::array<uint8_t, kWaveACount> WaveA;
extern const std::array<uint8_t, kWaveBCount> WaveB;
extern const std::array<uint8_t, kBreathCount> Breath;

// A colour scaled by a level: each channel x level / 255, rounded down.
Rgb Scaled(const Rgb& colour, uint8_t level);

// The keyboard picture as 23 columns by 6 rows of key-button control ids, row 0 the
// function-key row; 0 is an empty cell. A wide key fills two cells.
inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
extern const std::array<std::array<uint16_t, kGridRows>, kGridColumns> Grid;

// The 104 keys the preview drives, a snake through the keyboard.
inline constexpr int kOrderCount = 104;
extern const std::array<uint16_t, kOrderCount> KeyOrder;

// Twelve rings of keys around the O key, ring 0 the O key itself.
inline constexpr int kRingCount = 12;
inline constexpr int kMaxRingKeys = 12;
using KeyGroup = std::array<uint16_t, kMaxRingKeys>;  // 0-terminated when shorter
extern const std::array<KeyGroup, kRingCount> Rings;

// A permutation of the positions 0-103 of KeyOrder: the order in which keys twinkle.
extern const std::array<uint8_t, kOrderCount> TwinkleOrder;

// The scripted run of effect 14: path A, 20 steps of up to six keys, then path B, 31 steps
// of up to two; 0 marks no key.
inline constexpr int kPathASteps = 20;
inline constexpr int kPathBSteps = 31;
extern const std::array<std::array<uint16_t, 6>, kPathASteps> PathA;
extern const std::array<std::array<uint16_t, 2>, kPathBSteps> PathB;

// The LED position of a key of KeyOrder (Fn: 110), -1 for any other control id. The
// per-key state of the effects is kept by LED position.
int LedOfPreviewKey(int controlId);

}  // namespace vantor::preview
