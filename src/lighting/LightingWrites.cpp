#include "lighting/LightingWrites.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/LightingCommands.h"
#include "lighting/LightingBlock.h"

#include <cstddef>

namespace vantor {

namespace {

LightingWrites One(int profile, size_t offset, std::vector<uint8_t> bytes) {
    return {{uint16_t(LightingBlockAddress(profile) + offset), std::move(bytes)}};
}

constexpr size_t kAreaSize = kLightingProfileCount * kLightingBlockSize;

}  // namespace

bool EffectCarriesRandomFlag(uint8_t effect) {
    switch (effect) {
    case 1: case 2: case 3: case 5: case 7: case 8: case 9: case 13: case 14: case 15:
        return true;
    default:
        return false;
    }
}

LightingWrites EffectWrites(int profile, uint8_t effect, bool randomColour) {
    LightingWrites writes = One(profile, offsetof(LightingBlock, effect), {effect});
    if (EffectCarriesRandomFlag(effect)) {
        writes.push_back(RandomWrites(profile, randomColour).front());
    }
    return writes;
}

LightingWrites BrightnessWrites(int profile, uint8_t brightness) {
    return One(profile, offsetof(LightingBlock, brightness), {brightness});
}

LightingWrites SpeedWrites(int profile, uint8_t speed) {
    return One(profile, offsetof(LightingBlock, speed), {speed});
}

LightingWrites DirectionWrites(int profile, uint8_t direction) {
    return One(profile, offsetof(LightingBlock, direction), {direction});
}

LightingWrites RandomWrites(int profile, bool randomColour) {
    return One(profile, offsetof(LightingBlock, randomColour), {uint8_t(randomColour ? 1 : 0)});
}

LightingWrites ColourWrites(int profile, uint8_t red, uint8_t green, uint8_t blue) {
    LightingWrites writes = RandomWrites(profile, false);
    writes.push_back(One(profile, offsetof(LightingBlock, colour), {red, green, blue}).front());
    return writes;
}

LightingWrites ReportRateWrites(int profile, uint8_t rate) {
    return One(profile, offsetof(LightingBlock, reportRate), {rate});
}

LightingWrites ColourChoiceWrites(int profile, uint8_t choice) {
    return One(profile, offsetof(LightingBlock, colourChoice), {choice});
}

LightingWrites FactoryLightingWrites(int profile) {
    const auto factory = FactoryLightingBlock();
    return One(profile, 0, std::vector<uint8_t>(factory.begin(), factory.end()));
}

CommandResult SendLightingGroup(DeviceLink& link, const LightingWrites& writes) {
    for (const LightingWrite& write : writes) {
        if (write.bytes.empty() || write.address + write.bytes.size() > kAreaSize) {
            return CommandResult::BadArgument;
        }
    }
    return InGroup(link, [&] {
        CommandResult result = CommandResult::Ok;
        for (const LightingWrite& write : writes) {
            result = FirstFailure(result, WriteLighting(link, write.bytes, write.address));
        }
        return result;
    });
}

}  // namespace vantor
