#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstdint>
#include <vector>

namespace vantor {

// ---------------------------------------------------------------------------------------
// How each lighting field is written to the keyboard: the exact Write lighting commands the
// lighting panel makes for one change, one field at a time, sent as a group between Group
// start and Group end. The panel and vantorctl build their writes here, so both put the same
// bytes on the wire.
// ---------------------------------------------------------------------------------------

inline constexpr int kLightingProfileCount = 3;

// One Write lighting: bytes at an address of the lighting area.
struct LightingWrite {
    uint16_t address = 0;
    std::vector<uint8_t> bytes;
    friend bool operator==(const LightingWrite&, const LightingWrite&) = default;
};
using LightingWrites = std::vector<LightingWrite>;

// Address of profile p's block.
constexpr uint16_t LightingBlockAddress(int profile) { return uint16_t(profile * 42); }

// Effects whose selection also writes the random-colour flag: 1-3, 5, 7-9, 13-15.
bool EffectCarriesRandomFlag(uint8_t effect);

// The effect code, then for the effects above the random-colour flag (1 if set, else 0).
LightingWrites EffectWrites(int profile, uint8_t effect, bool randomColour);
LightingWrites BrightnessWrites(int profile, uint8_t brightness);
// speed is the stored value; the slider at position v stores 5 - v (SpeedOfSliderPosition).
LightingWrites SpeedWrites(int profile, uint8_t speed);
constexpr uint8_t SpeedOfSliderPosition(int position) { return uint8_t(5 - position); }
LightingWrites DirectionWrites(int profile, uint8_t direction);
LightingWrites RandomWrites(int profile, bool randomColour);
// Choosing a colour turns random colours off first: flag 0, then red, green, blue.
LightingWrites ColourWrites(int profile, uint8_t red, uint8_t green, uint8_t blue);
LightingWrites ReportRateWrites(int profile, uint8_t rate);
LightingWrites ColourChoiceWrites(int profile, uint8_t choice);
// The factory block over the first 35 bytes of the profile's block.
LightingWrites FactoryLightingWrites(int profile);

// Sends the writes as one group: Group start, each write in order, Group end. Returns Ok when
// all went through, else the first failure; when Group start fails nothing more is sent, and
// once it has gone through Group end is sent whatever the writes gave. A write that would
// leave the lighting area (three blocks) is refused before anything is sent.
CommandResult SendLightingGroup(DeviceLink& link, const LightingWrites& writes);

}  // namespace vantor
