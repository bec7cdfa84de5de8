#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/StatusCommands.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingWrites.h"

#include <array>

namespace vantor {

using LightingBlocks = std::array<LightingBlock, kLightingProfileCount>;

// Reads the three profiles' blocks as the lighting panel's refresh does: Group start, Read
// lighting of 56 bytes at 0, 42 and 84 keeping the first 42 of each, Group end. Returns Ok
// when every read went through, else the first failure; a block whose read failed keeps what
// it held. When Group start fails nothing more is sent. `taken`, when given, marks the blocks
// whose read went through.
CommandResult ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks,
                                 std::array<bool, kLightingProfileCount>* taken = nullptr);

// What a refresh of the lighting panel reads: the status block (its effect list is what the
// keyboard offers), then the three blocks, each marked when its read went through. A value, so
// one thread can read it and the panel take it on another.
struct LightingReadout {
    CommandResult status = CommandResult::NoReply;  // when not Ok, nothing else was read
    StatusBlock statusBlock{};
    LightingBlocks blocks{};
    std::array<bool, kLightingProfileCount> blockTaken{};
};
LightingReadout ReadLightingReadout(DeviceLink& link);

// One Read lighting of 56 bytes at the profile's block, keeping the first 42; the block is
// left as it was when the read fails.
CommandResult ReadLightingBlock(DeviceLink& link, int profile, LightingBlock* block);

}  // namespace vantor
