#include "lighting/LightingRead.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/LightingCommands.h"
#include "device/StatusCommands.h"
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

CommandResult ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks,
                                 std::array<bool, kLightingProfileCount>* taken) {
    return InGroup(link, [&] {
        CommandResult result = CommandResult::Ok;
        for (int p = 0; p < kLightingProfileCount; ++p) {
            const CommandResult read = ReadLightingBlock(link, p, &(*blocks)[size_t(p)]);
            if (taken != nullptr) (*taken)[size_t(p)] = read == CommandResult::Ok;
            result = FirstFailure(result, read);
        }
        return result;
    });
}

LightingReadout ReadLightingReadout(DeviceLink& link) {
    LightingReadout readout;
    readout.status = ReadStatus(link, &readout.statusBlock);
    if (readout.status == CommandResult::Ok) {
        ReadLightingBlocks(link, &readout.blocks, &readout.blockTaken);
    }
    return readout;
}

}  // namespace vantor
