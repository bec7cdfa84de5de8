#include "keyassign/KeyActionCodec.h"

#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyConversions.h"
#include "keymodel/KeyTables.h"

#include <algorithm>

namespace vantor {

namespace {

constexpr uint8_t kKindNone = 0;
constexpr uint8_t kKindMouse = 1;
constexpr uint8_t kKindKey = 2;
constexpr uint8_t kKindConsumer = 3;
constexpr uint8_t kKindFirmware = 5;

constexpr uint8_t kMouseButton = 1;
constexpr uint8_t kMouseWheel = 5;
constexpr uint8_t kKeyModifier = 1;
constexpr uint8_t kKeyUsage = 2;
constexpr uint8_t kFirmwareMacro = 1;
constexpr uint8_t kFirmwareStopMacro = 2;
constexpr uint8_t kFirmwareFunction = 5;

struct MouseAction {
    KeyCode code;
    uint8_t a;
    uint8_t b;
};
constexpr MouseAction kMouseActions[] = {
    {0x171, kMouseButton, 0x01}, {0x172, kMouseButton, 0x02}, {0x173, kMouseButton, 0x04},
    {0x161, kMouseWheel, 0x01},  {0x162, kMouseWheel, 0xFF},
};

DeviceAction EncodeKey(uint32_t value) {
    if (value > 0xFFFF) {
        return {kKindKey, kKeyUsage, 0};
    }
    const auto code = static_cast<KeyCode>(value);
    if (const uint8_t mask = ModifierMaskOfCode(code); mask != 0) {
        return {kKindKey, kKeyModifier, mask};
    }
    if (const std::optional<DeviceAction> mouse = MouseActionOfCode(code)) {
        return *mouse;
    }
    const DeviceValue device = ClassifyDeviceCode(code);
    const uint8_t usage =
        device.deviceClass == kDeviceClassKey ? static_cast<uint8_t>(device.value) : 0;
    return {kKindKey, kKeyUsage, usage};
}

// The record a decoded action gives: a disabled key unless the action is understood.
KeyAssignment DecodeAction(const DeviceAction& action, KeyAssignment record) {
    record.type = kAssignDisabled;
    switch (action.kind) {
    case kKindFirmware:
        if (action.a == kFirmwareMacro) {
            record.type = kAssignMacro;
            record.value = action.b + 1u;
        } else if (action.a == kFirmwareStopMacro) {
            record.type = kAssignStopMacro;
        } else if (action.a == kFirmwareFunction) {
            record.type = kAssignFunction;
            record.value = action.b;
        }
        break;
    case kKindConsumer: {
        const uint16_t usage = static_cast<uint16_t>(action.a + 256 * action.b);
        for (int position = 0; position < kMediaCount; ++position) {
            if (MediaList[position].usage == usage) {
                record.type = kAssignMedia;
                record.value = static_cast<uint32_t>(position);
                break;
            }
        }
        break;
    }
    case kKindMouse:
        for (const MouseAction& mouse : kMouseActions) {
            if (mouse.a == action.a && mouse.b == action.b) {
                record.type = kAssignKey;
                record.value = mouse.code;
            }
        }
        break;
    case kKindKey:
        if (action.a == kKeyUsage) {
            if (const KeyCode code = CodeOfDeviceValue(kDeviceClassKey, action.b); code != 0) {
                record.type = kAssignKey;
                record.value = code;
            }
        } else if (action.a == kKeyModifier) {
            // A modifier action is a key assignment even with no modifier bit set (key 0).
            record.type = kAssignKey;
            record.value = CodeOfModifierMask(action.b);
        }
        break;
    default:
        break;
    }
    return record;
}

}  // namespace

std::optional<DeviceAction> MouseActionOfCode(KeyCode code) {
    for (const MouseAction& mouse : kMouseActions) {
        if (mouse.code == code) {
            return DeviceAction{kKindMouse, mouse.a, mouse.b};
        }
    }
    return std::nullopt;
}

DeviceAction EncodeAssignment(const KeyAssignment& record, const DeviceAction& defaultAction,
                              const MacroSlotOfId& slotOfId) {
    switch (record.type) {
    case kAssignDefault:
    case kAssignLaunch:
        return defaultAction;
    case kAssignKey:
        return EncodeKey(record.value);
    case kAssignMacro: {
        const int slot = slotOfId ? slotOfId(record.value) : 0;
        return {kKindFirmware, kFirmwareMacro, static_cast<uint8_t>(std::max(slot, 0))};
    }
    case kAssignStopMacro:
        return {kKindFirmware, kFirmwareStopMacro, 0};
    case kAssignMedia:
        // A position past the list (only a damaged file holds one) sends nothing.
        if (record.value >= static_cast<uint32_t>(kMediaCount)) {
            return {kKindNone, 0, 0};
        }
        return {kKindConsumer, static_cast<uint8_t>(MediaList[record.value].usage & 0xFF),
                static_cast<uint8_t>(MediaList[record.value].usage >> 8)};
    case kAssignFunction:
        return {kKindFirmware, kFirmwareFunction, static_cast<uint8_t>(record.value & 0xFF)};
    case kAssignDisabled:
    case kAssignText:
    default:
        return {kKindNone, 0, 0};
    }
}

DeviceAction ActionAt(std::span<const uint8_t> keyMap, int position) {
    const size_t at = 3 * static_cast<size_t>(position);
    if (position < 0 || at + 3 > keyMap.size()) {
        return {};
    }
    return {keyMap[at], keyMap[at + 1], keyMap[at + 2]};
}

int RowOfPosition(std::span<const uint8_t> defaultMatrix, int position) {
    const KeyCode code = CodeOfAction(ActionAt(defaultMatrix, position));
    const int row = RowOfCode(code);
    return code == kNoKey || row < 0 || row >= kRecordsPerBlock ? -1 : row;
}

void DecodeKeyMap(std::span<const uint8_t> keyMap, std::span<const uint8_t> defaultMatrix,
                  int positionCount, std::span<KeyAssignment, kRecordsPerBlock> block) {
    ClearBlock(block);
    const int positions = std::min<int>(
        positionCount, static_cast<int>(std::min(keyMap.size(), defaultMatrix.size()) / 3));
    for (int position = 0; position < positions; ++position) {
        const DeviceAction action = ActionAt(keyMap, position);
        const DeviceAction factory = ActionAt(defaultMatrix, position);
        if (action == factory) {
            continue;
        }
        const int row = RowOfCode(CodeOfAction(factory));
        if (row <= 0 || row >= kRecordsPerBlock) {
            continue;
        }
        block[static_cast<size_t>(row)] = DecodeAction(action, block[static_cast<size_t>(row)]);
    }
}

}  // namespace vantor
