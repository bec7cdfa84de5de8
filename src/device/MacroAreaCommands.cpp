#include "device/MacroAreaCommands.h"

#include "device/ChunkedTransfer.h"
#include "device/CommandReport.h"
#include "device/CommandResult.h"

namespace vantor {

int ReadMacroArea(DeviceLink& link, std::span<uint8_t> buffer) {
    if (buffer.size() > kMaxMacroAreaSize) {
        return kCommandBadArgument;
    }
    return ReadInChunks(link, kCmdReadMacroArea, 0, buffer);
}

int WriteMacroArea(DeviceLink& link, std::span<const uint8_t> area) {
    if (area.size() > kMaxMacroAreaSize) {
        return kCommandBadArgument;
    }
    return WriteInChunks(link, kCmdWriteMacroArea, 0, area);
}

}  // namespace vantor
