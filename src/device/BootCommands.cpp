#include "device/BootCommands.h"

#include "device/CommandReport.h"

namespace vantor {

CommandResult EnterBootMode(DeviceLink& link) {
    const CommandReport request = CommandReport::Request(kCmdEnterBootMode, 0xEE, 0);
    return link.SendOnly(request.Bytes(), sizeof request);
}

}  // namespace vantor
