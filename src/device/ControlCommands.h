#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <functional>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Control commands: no data area, no payload either way; the reply's status is all.
// Group start and Group end mark for the keyboard where a group of writes (or the reading
// of the lighting area) begins and ends; they lock nothing on this side.
// ---------------------------------------------------------------------------------------

CommandResult GroupStart(DeviceLink& link);
// Pauses briefly first, so the keyboard has finished with the group's last write.
CommandResult GroupEnd(DeviceLink& link);

// Group start, the body's commands, Group end. When Group start fails nothing more is sent;
// once it has gone through, Group end is sent whatever the body gave. The first failure.
CommandResult InGroup(DeviceLink& link, const std::function<CommandResult()>& body);

// Commands whose effect is the keyboard's own business. 0x0D is sent by the main window's
// hidden test button; 0x0B, 0x0C and 0x0E are offered but nothing sends them.
CommandResult Command0B(DeviceLink& link);
CommandResult Command0C(DeviceLink& link);  // pauses briefly first, as Group end does
CommandResult Command0D(DeviceLink& link);
CommandResult Command0E(DeviceLink& link);

}  // namespace vantor
