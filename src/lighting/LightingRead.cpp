#include "lighting/LightingRead.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/LightingCommands.h"
#include "lighting/LightingWrites.h"

namespace vantor {

CommandResult ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks) {
    const CommandResult started = GroupStart(link);
    if (started != CommandResult::Ok) {
        return started;
    }
    CommandResult result = CommandResult::Ok;
    for (int p = 0; p < kLightingProfileCount; ++p) {
        uint8_t reply[kLightingReplySize] = {};
        const CommandResult read = ReadLighting(link, reply, kLightingReplySize, LightingBlockAddress(p));
        if (read == CommandResult::Ok) {
            (*blocks)[size_t(p)] = LightingBlock::FromBytes(reply);
        } else if (result == CommandResult::Ok) {
            result = read;
        }
    }
    const CommandResult ended = GroupEnd(link);
    return result == CommandResult::Ok ? ended : result;
}

}  // namespace vantor
