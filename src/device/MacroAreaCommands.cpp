#include "device/MacroAreaCommands.h"

#include "device/ChunkedTransfer.h"
#include "device/CommandReport.h"
#include "device/CommandResult.h"

namespace vantor {

CommandResult ReadMacroArea(DeviceLink& link, std::span<uint8_t> buffer) {
    if (buffer.size() > kMaxMacroAreaSize) {
        return CommandResult::BadArgument;
    }
    return ReadInChunks(link, kCmdReadMacroArea, 0, buffer);
}

CommandResult WriteMacroArea(DeviceLink& link, std::span<const uint8_t> area) {
    if (area.size() > kMaxMacroAreaSize) {
        return CommandResult::BadArgument;
    }
    return WriteInChunks(link, kCmdWriteMacroArea, 0, area);
}

}  // namespace vantor
