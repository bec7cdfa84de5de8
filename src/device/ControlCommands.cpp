#include "device/ControlCommands.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <chrono>
#include <thread>

namespace vantor {

namespace {

CommandResult AfterSettling(DeviceLink& link, uint8_t command) {
    if (!link.IsDeviceOpen()) {
        return CommandResult::NoReply;  // nothing to wait for
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(link.Timeouts().settleMs));
    return RunStatusOnlyCommand(link, command);
}

}  // namespace

CommandResult GroupStart(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmdGroupStart); }
CommandResult GroupEnd(DeviceLink& link) { return AfterSettling(link, kCmdGroupEnd); }
CommandResult InGroup(DeviceLink& link, const std::function<CommandResult()>& body) {
    const CommandResult started = GroupStart(link);
    if (started != CommandResult::Ok) {
        return started;
    }
    const CommandResult result = body();
    return FirstFailure(result, GroupEnd(link));
}

CommandResult Command0B(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0B); }
CommandResult Command0C(DeviceLink& link) { return AfterSettling(link, kCmd0C); }
CommandResult Command0D(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0D); }
CommandResult Command0E(DeviceLink& link) { return RunStatusOnlyCommand(link, kCmd0E); }

}  // namespace vantor
