#include "device/ColourCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"
#include "device/KeyMapCommands.h"

#include <cstring>
#include <optional>

namespace vantor {

namespace {

// The address of count bytes from the key position on, when they stay in the profile's table.
std::optional<uint16_t> ColourAddress(int profile, int firstKey, size_t count) {
    if (profile < 0 || profile >= kProfileCount || firstKey < 0 || count == 0 ||
        count > CommandReport::kPayloadSize ||
        size_t(firstKey) * 3 + count > kColourTableStride) {
        return std::nullopt;
    }
    return uint16_t(size_t(profile) * kColourTableStride + size_t(firstKey) * 3);
}

}  // namespace

CommandResult WriteKeyColours(DeviceLink& link, int profile, std::span<const uint8_t> colours,
                    int firstKey) {
    const std::optional<uint16_t> address = ColourAddress(profile, firstKey, colours.size());
    if (!address) {
        return CommandResult::BadArgument;
    }
    CommandReport request =
        CommandReport::Request(kCmdWriteKeyColours, uint8_t(colours.size()), *address);
    std::memcpy(request.payload, colours.data(), colours.size());
    CommandReport reply;
    return RunCommand(link, request, &reply);
}

CommandResult ReadKeyColours(DeviceLink& link, int profile, uint8_t count, int firstKey,
                   std::span<uint8_t> buffer) {
    const std::optional<uint16_t> address = ColourAddress(profile, firstKey, count);
    if (!address || buffer.size() < CommandReport::kPayloadSize) {
        return CommandResult::BadArgument;
    }
    CommandReport request = CommandReport::Request(kCmdReadKeyColours, count, *address);
    CommandReport reply;
    const CommandResult result = RunCommand(link, request, &reply);
    if (result == CommandResult::Ok) {
        std::memcpy(buffer.data(), reply.payload, CommandReport::kPayloadSize);
    }
    return result;
}

}  // namespace vantor
