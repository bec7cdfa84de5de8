#pragma once

#include "keymodel/DeviceAction.h"
#include "keymodel/KeyAssignment.h"
#include "keymodel/KeyCode.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace vantor {

// The macro area slot (table position) of a macro id; 0 for an id no macro has.
using MacroSlotOfId = std::function<int(uint32_t id)>;

// The keyboard's 3-byte action for a key record, given the factory action of the key's
// position. Launch-program keys keep the factory action; text-block keys send nothing.
DeviceAction EncodeAssignment(const KeyAssignment& record, const DeviceAction& defaultAction,
                              const MacroSlotOfId& slotOfId);

// The keyboard's action for a mouse button or wheel step (0x171-0x173, 0x161, 0x162); nullopt
// for any other key.
std::optional<DeviceAction> MouseActionOfCode(KeyCode code);

// The device action of position j in a key map or matrix.
DeviceAction ActionAt(std::span<const uint8_t> keyMap, int position);

// The row of a block whose record the download writes at a position: that of the key the
// default matrix puts there; -1 when no record is written there.
int RowOfPosition(std::span<const uint8_t> defaultMatrix, int position);

// Fills one block of 512 key records from a key map read from the keyboard: positions whose
// action differs from the default matrix become records of the key that the default matrix
// puts there. Only the first positionCount positions (at most what both buffers hold) are read.
void DecodeKeyMap(std::span<const uint8_t> keyMap, std::span<const uint8_t> defaultMatrix,
                  int positionCount, std::span<KeyAssignment, kRecordsPerBlock> block);

}  // namespace vantor
