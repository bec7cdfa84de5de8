#include "device/KeyMapCommands.h"

#include "device/ChunkedTransfer.h"
#include "device/CommandReport.h"
#include "device/CommandResult.h"

namespace vantor {

namespace {

bool ValidProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

}  // namespace

CommandResult ReadKeyMap(DeviceLink& link, int profile, std::span<uint8_t> buffer) {
    const DeviceVariant variant = link.Variant();
    if (!ValidProfile(profile) || buffer.size() < variant.keyMapBlockSize) {
        return CommandResult::BadArgument;
    }
    return ReadInChunks(link, kCmdReadKeyMap, uint16_t(uint32_t(profile) * variant.keyMapStride),
                        buffer.first(variant.keyMapBlockSize));
}

CommandResult WriteKeyMap(DeviceLink& link, int profile, std::span<const uint8_t> keyMap) {
    const DeviceVariant variant = link.Variant();
    if (!ValidProfile(profile) || keyMap.size() < variant.keyMapBlockSize) {
        return CommandResult::BadArgument;
    }
    return WriteInChunks(link, kCmdWriteKeyMap,
                         uint16_t(uint32_t(profile) * variant.keyMapStride),
                         keyMap.first(variant.keyMapBlockSize));
}

CommandResult ReadDefaultKeyMatrix(DeviceLink& link, std::span<uint8_t> buffer) {
    const DeviceVariant variant = link.Variant();
    if (buffer.size() < variant.keyMapBlockSize) {
        return CommandResult::BadArgument;
    }
    return ReadInChunks(link, kCmdReadDefaultKeyMatrix, 0, buffer.first(variant.keyMapBlockSize));
}

}  // namespace vantor
