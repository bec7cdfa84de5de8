#include "device/LightingCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <cstring>

namespace vantor {

namespace {

int ReadInto(DeviceLink& link, CommandReport& request, std::span<uint8_t> buffer) {
    CommandReport reply;
    const int result = RunCommand(link, request, &reply);
    if (result == kCommandOk) {
        std::memcpy(buffer.data(), reply.payload, kLightingReplySize);
    }
    return result;
}

}  // namespace

int ReadLighting(DeviceLink& link, std::span<uint8_t> buffer, uint8_t count, uint16_t address) {
    if (buffer.size() < kLightingReplySize || count > CommandReport::kPayloadSize) {
        return kCommandBadArgument;
    }
    CommandReport request = CommandReport::Request(kCmdReadLighting, count, address);
    return ReadInto(link, request, buffer);
}

int WriteLighting(DeviceLink& link, std::span<const uint8_t> bytes, uint16_t address) {
    if (bytes.empty() || bytes.size() > CommandReport::kPayloadSize) {
        return kCommandBadArgument;
    }
    CommandReport request =
        CommandReport::Request(kCmdWriteLighting, uint8_t(bytes.size()), address);
    std::memcpy(request.payload, bytes.data(), bytes.size());
    CommandReport reply;
    return RunCommand(link, request, &reply);
}

int ReadLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second,
                        std::span<uint8_t> buffer) {
    if (buffer.size() < kLightingReplySize) {
        return kCommandBadArgument;
    }
    CommandReport request = CommandReport::Request(kCmdReadLighting, 2, 0);
    request.payload[0] = first;
    request.payload[1] = second;
    return ReadInto(link, request, buffer);
}

int WriteLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second) {
    const uint8_t bytes[2] = {first, second};
    return WriteLighting(link, bytes, 0);
}

}  // namespace vantor
