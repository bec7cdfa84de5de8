#include "emulator/FactoryKeyMatrix.h"

#include "keymodel/KeyTables.h"

#include <cstddef>

namespace vantor {

namespace {

// Keyboard-page usages of the modifiers: Left Ctrl 0xE0 ... Right Win 0xE7, one bit each of
// the modifier mask in the same order.
constexpr uint8_t kFirstModifierUsage = 0xE0;
constexpr uint8_t kLastModifierUsage = 0xE7;

}  // namespace

std::vector<uint8_t> FactoryKeyMatrix(const FirmwareVariant& variant) {
    std::vector<uint8_t> matrix(static_cast<size_t>(variant.keyMapSize), 0);
    for (int p = 0; p < kKeyListSize; ++p) {
        const int position = LedPositionOfKeyListPosition(p);
        if (position < 0 || position >= variant.positionCount) continue;
        const uint8_t usage = KeyTable[RowOfCode(KeyList[p])].deviceCode;
        uint8_t* action = matrix.data() + position * 3;
        action[0] = 2;
        if (usage >= kFirstModifierUsage && usage <= kLastModifierUsage) {
            action[1] = 1;
            action[2] = static_cast<uint8_t>(1u << (usage - kFirstModifierUsage));
        } else {
            action[1] = 2;
            action[2] = usage;
        }
    }
    return matrix;
}

}  // namespace vantor
