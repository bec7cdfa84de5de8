#include "device/StatusCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <cstring>

namespace vantor {

CommandResult ReadStatus(DeviceLink& link, StatusBlock* status) {
    CommandReport request = CommandReport::Request(kCmdReadStatus, kStatusBlockSize, 0);
    CommandReport reply;
    const CommandResult result = RunCommand(link, request, &reply);
    if (result == CommandResult::Ok) {
        std::memcpy(status->data(), reply.payload, kStatusBlockSize);
    }
    return result;
}

CommandResult WriteStatus(DeviceLink& link, const StatusBlock& status) {
    CommandReport request = CommandReport::Request(kCmdWriteStatus, kStatusBlockSize, 0);
    std::memcpy(request.payload, status.data(), kStatusBlockSize);
    CommandReport reply;
    return RunCommand(link, request, &reply);
}

}  // namespace vantor
