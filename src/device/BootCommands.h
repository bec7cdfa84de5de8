#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

namespace vantor {

// ---------------------------------------------------------------------------------------
// Boot mode: the one request without a checksum and without a reply. Byte 0 = 0x04,
// bytes 3 and 4 = 0xEE, every other byte 0. Once it is written the keyboard leaves its normal
// mode for its boot loader (and so leaves the bus as this keyboard).
// ---------------------------------------------------------------------------------------

// Ok when the request was written; NoReply when it was not, or no keyboard is open (nothing
// sent).
CommandResult EnterBootMode(DeviceLink& link);

}  // namespace vantor
