#include "device/ControlCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <chrono>
#include <thread>

namespace vantor {

namespace {

int AfterSettling(DeviceLink& link, uint8_t command) {
    if (!link.IsDeviceOpen()) {
        return kCommandNoReply;  // nothing to wait for
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(link.Timeouts().settleMs));
    return RunStatusOnlyCommand(link, command);
}

}  // namespace

int GroupStart(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmdGroupStart); }
int GroupEnd(DeviceLink& link) { return AfterSettling(link, kCmdGroupEnd); }
int Command0B(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0B); }
int Command0C(DeviceLink& link) { return AfterSettling(link, kCmd0C); }
int Command0D(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0D); }
int Command0E(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0E); }

}  // namespace vantor
