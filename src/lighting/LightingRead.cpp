#include "lighting/LightingRead.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/LightingCommands.h"
#include "lighting/LightingWrites.h"

namespace vantor {

CommandResult ReadLightingBlock(DeviceLink& link, int profile, LightingBlock* block) {
    if (profile < 0 || profile >= kLightingProfileCount) {
        return CommandResult::BadArgument;
    }
    uint8_t reply[kLightingReplySize] = {};
    const CommandResult read =
        ReadLighting(link, reply, kLightingReplySize, LightingBlockAddress(profile));
    if (read == CommandResult::Ok) {
        *block = LightingBlock::FromBytes(reply);
    }
    return read;
}

CommandResult ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks) {
    return InGroup(link, [&] {
        CommandResult result = CommandResult::Ok;
        for (int p = 0; p < kLightingProfileCount; ++p) {
            result = FirstFailure(result, ReadLightingBlock(link, p, &(*blocks)[size_t(p)]));
        }
        return result;
    });
}

}  // namespace vantor
