#include "keymodel/KeyConversions.h"

#include <algorithm>
#include <array>

#include "keymodel/KeyTables.h"

namespace vantor {
namespace {

// Modifier keys in mask-bit order.
constexpr std::array<KeyCode, 8> kModifierCodes = {0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};

const KeyRow* RowOfKey(KeyCode code) {
    const int row = RowOfCode(code);
    return IsKeyTableRow(row) ? &KeyTable[row] : nullptr;
}

KeyCode FirstCodeWithDeviceCode(unsigned deviceCode) {
    for (int row = 0; row < kKeyTableRows; ++row) {
        if (KeyTable[row].deviceCode == deviceCode) return CodeOfRow(row);
    }
    return kNoKey;
}

}  // namespace

KeyOrdinal OrdinalOfCode(KeyCode code) {
    const KeyRow* row = RowOfKey(code);
    return row ? row->ordinal : kNoOrdinal;
}

KeyCode CodeOfOrdinal(KeyOrdinal ordinal) {
    for (int row = 0; row < kKeyTableRows; ++row) {
        if (KeyTable[row].ordinal == ordinal) return CodeOfRow(row);
    }
    return kNoKey;
}

DeviceValue ClassifyDeviceCode(KeyCode code) {
    const KeyRow* row = RowOfKey(code);
    const unsigned d = row ? row->deviceCode : 0;
    if (d == 0x00 || d == 0xFF) return {kDeviceClassNone, 0};
    if (d >= 0x81 && d <= 0x83) return {kDeviceClassSystem, d};
    if (d >= 0xF1 && d <= 0xF8) return {kDeviceClassMouse, d};
    return {kDeviceClassKey, d};
}

KeyCode CodeOfDeviceValue(int deviceClass, unsigned value) {
    switch (deviceClass) {
    case kDeviceClassKey:
        // Device code 0 marks the keys that cannot be sent, so it names no key.
        return value >= 1 && value <= 0xFF ? FirstCodeWithDeviceCode(value) : kNoKey;
    case kDeviceClassSystem:
        return value >= 0x81 && value <= 0x83 ? FirstCodeWithDeviceCode(value) : kNoKey;
    case kDeviceClassConsumer: {
        // Slots 18-31 are unused and hold usage 0; a usage of 0 is no media key.
        if (value == 0) return kNoKey;
        const auto* slot = std::find(ConsumerTable.begin(), ConsumerTable.end(), value);
        if (slot == ConsumerTable.end()) return kNoKey;
        return FirstCodeWithDeviceCode(0xC0 + static_cast<unsigned>(slot - ConsumerTable.begin()));
    }
    default:
        return kNoKey;
    }
}

KeyCode CodeOfModifierMask(uint8_t mask) {
    for (int bit = 0; bit < 8; ++bit) {
        if (mask & (1u << bit)) return kModifierCodes[bit];
    }
    return kNoKey;
}

uint8_t ModifierMaskOfCode(KeyCode code) {
    const auto* it = std::find(kModifierCodes.begin(), kModifierCodes.end(), code);
    return it == kModifierCodes.end() ? 0 : static_cast<uint8_t>(1u << (it - kModifierCodes.begin()));
}

KeyCode CodeOfAction(const DeviceAction& action) {
    switch (action.kind) {
    case 1:
        if (action.a == 1) {
            if (action.b == 0x01) return 0x171;
            if (action.b == 0x02) return 0x172;
            if (action.b == 0x04) return 0x173;
        } else if (action.a == 5) {
            if (action.b == 0x01) return 0x161;
            if (action.b == 0xFF) return 0x162;
        }
        return kNoKey;
    case 2:
        if (action.a == 2) return CodeOfDeviceValue(kDeviceClassKey, action.b);
        return CodeOfModifierMask(action.b);
    case 3:
        return CodeOfDeviceValue(kDeviceClassConsumer, action.a + 256u * action.b);
    case 4:
        return CodeOfDeviceValue(kDeviceClassSystem, action.a + 256u * action.b);
    case 6:
        if (action.a == 0xA2 && ExtraKeyOfCode(ExtraKeyCode(action.b)) != 0) return ExtraKeyCode(action.b);
        return kNoKey;
    default:
        return kNoKey;
    }
}

KeyCode CodeOfKeyMessage(uint8_t vk, uint32_t parameter) {
    const KeyCode byVk = CodeOfRow(VkTable[vk]);
    const KeyCode scan = static_cast<KeyCode>((parameter >> 16) & 0x1FF);
    if (scan == 0x036 || vk == 0xFF) return scan;
    if ((scan & 0xFF) == 0) return byVk;
    const int row = RowOfCode(scan);
    if (IsKeyTableRow(row) && (KeyTable[row].vk == vk || KeyTable[row].altVk == vk)) return scan;
    return ((parameter >> 16) & 0xFF) != VkTable[vk] ? byVk : scan;
}

bool IsUpOnlyKey(KeyCode code) {
    return code == 0x054 || code == 0x071 || code == 0x072 || code == 0x137;
}

bool IsMediaKeyCode(KeyCode code) {
    return std::any_of(MediaList.begin(), MediaList.end(), [code](const MediaEntry& m) { return m.code == code; });
}

}  // namespace vantor
