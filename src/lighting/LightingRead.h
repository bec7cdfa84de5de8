#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "lighting/LightingBlock.h"

#include <array>

namespace vantor {

using LightingBlocks = std::array<LightingBlock, 3>;

// Reads the three profiles' blocks as the lighting panel's refresh does: Group start, Read
// lighting of 56 bytes at 0, 42 and 84 keeping the first 42 of each, Group end. Returns Ok
// when every read went through, else the first failure; a block whose read failed keeps what
// it held. When Group start fails nothing more is sent.
CommandResult ReadLightingBlocks(DeviceLink& link, LightingBlocks* blocks);

// One Read lighting of 56 bytes at the profile's block, keeping the first 42; the block is
// left as it was when the read fails.
CommandResult ReadLightingBlock(DeviceLink& link, int profile, LightingBlock* block);

}  // namespace vantor
