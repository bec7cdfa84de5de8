#include "device/LightingCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <cstring>

namespace vantor {

namespace {

CommandResult ReadInto(DeviceLink& link, CommandReport& request, std::span<uint8_t> buffer) {
    CommandReport reply;
    const CommandResult result = RunCommand(link, request, &reply);
    if (result == CommandResult::Ok) {
        std::memcpy(buffer.data(), reply.payload, kLightingReplySize);
    }
    return result;
}

}  // namespace

CommandResult ReadLighting(DeviceLink& link, std::span<uint8_t> buffer, uint8_t count, uint16_t address) {
    if (buffer.size() < kLightingReplySize || count > CommandReport::kPayloadSize) {
        return CommandResult::BadArgument;
    }
    CommandReport request = CommandReport::Request(kCmdReadLighting, count, address);
    return ReadInto(link, request, buffer);
}

CommandResult WriteLighting(DeviceLink& link, std::span<const uint8_t> bytes, uint16_t address) {
    if (bytes.empty() || bytes.size() > CommandReport::kPayloadSize) {
        return CommandResult::BadArgument;
    }
    CommandReport request =
        CommandReport::Request(kCmdWriteLighting, uint8_t(bytes.size()), address);
    std::memcpy(request.payload, bytes.data(), bytes.size());
    CommandReport reply;
    return RunCommand(link, request, &reply);
}

CommandResult ReadLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second,
                        std::span<uint8_t> buffer) {
    if (buffer.size() < kLightingReplySize) {
        return CommandResult::BadArgument;
    }
    CommandReport request = CommandReport::Request(kCmdReadLighting, 2, 0);
    request.payload[0] = first;
    request.payload[1] = second;
    return ReadInto(link, request, buffer);
}

CommandResult WriteLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second) {
    const uint8_t bytes[2] = {first, second};
    return WriteLighting(link, bytes, 0);
}

}  // namespace vantor
