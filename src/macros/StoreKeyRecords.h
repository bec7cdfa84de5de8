#pragma once

#include "keymodel/KeyAssignment.h"

#include <span>

namespace vantor {

// The working store's key records: four blocks of 512, block b being on-board profile b's
// key map (block 3 is carried but never sent to the keyboard).
inline constexpr int kStoreKeyRecordCount = kRecordsPerBlock * kBlockCount;
inline constexpr int kOnBoardProfileCount = 3;

using StoreKeyRecords = std::span<KeyAssignment, kStoreKeyRecordCount>;
using ConstStoreKeyRecords = std::span<const KeyAssignment, kStoreKeyRecordCount>;

}  // namespace vantor
