#include "lighting/LightingRead.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/LightingCommands.h"
#include "lighting/LightingWrites.h"

namespace vantor {

int ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks) {
    const int started = GroupStart(link);
    if (started != kCommandOk) {
        return started;
    }
    int result = kCommandOk;
    for (int p = 0; p < kLightingProfileCount; ++p) {
        uint8_t reply[kLightingReplySize] = {};
        const int read = ReadLighting(link, reply, kLightingReplySize, LightingBlockAddress(p));
        if (read == kCommandOk) {
            (*blocks)[size_t(p)] = LightingBlock::FromBytes(reply);
        } else if (result == kCommandOk) {
            result = read;
        }
    }
    const int ended = GroupEnd(link);
    return result == kCommandOk ? ended : result;
}

}  // namespace vantor
