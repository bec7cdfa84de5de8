#include "keyassign/MacroArea.h"

#include "keyassign/KeyActionCodec.h"
#include "device/MacroAreaCommands.h"
#include "keymodel/KeyConversions.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vantor {

namespace {

constexpr size_t kEntryHeaderSize = 4;
constexpr size_t kActionSize = 4;
constexpr uint32_t kDelayUnitMs = 10;
constexpr uint16_t kDelayMask = 0x0FFF;
constexpr uint16_t kPressBit = 0x8000;

void Put16(std::span<uint8_t> buffer, size_t at, uint16_t value) {
    buffer[at] = static_cast<uint8_t>(value & 0xFF);
    buffer[at + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t Get16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// The kind and data bytes of a key code, as the keyboard plays it.
DeviceAction ActionOfKeyCode(KeyCode code) {
    const DeviceValue device = ClassifyDeviceCode(code);
    switch (device.deviceClass) {
    case kDeviceClassKey:
        if (const uint8_t mask = ModifierMaskOfCode(code); mask != 0) {
            return {2, 1, mask};
        }
        return {2, 2, static_cast<uint8_t>(device.value)};
    case kDeviceClassMouse:
        return MouseActionOfCode(code).value_or(DeviceAction{0, 0, 0});
    case kDeviceClassSystem:
        return {4, static_cast<uint8_t>(device.value), 0};
    default:
        return {0, 0, 0};
    }
}

}  // namespace

MacroAreaSize MacroAreaSizes(const MacroTable& table) {
    return {table.KeyboardFormSize(true), table.KeyboardFormSize(false)};
}

void EncodeMacroAction(const MacroAction& action, uint8_t out[4]) {
    const DeviceAction device = ActionOfKeyCode(action.keyCode);
    uint16_t word = static_cast<uint16_t>((action.delay / kDelayUnitMs) & kDelayMask);
    word |= static_cast<uint16_t>((device.kind & 7) << 12);
    if (action.direction != kMacroRelease) {
        word |= kPressBit;
    }
    out[0] = static_cast<uint8_t>(word & 0xFF);
    out[1] = static_cast<uint8_t>(word >> 8);
    out[2] = device.a;
    out[3] = device.b;
}

bool BuildMacroArea(const MacroTable& table, std::span<uint8_t> buffer, bool withNames) {
    const uint32_t size = table.KeyboardFormSize(withNames);
    if (buffer.size() < size) {
        return false;
    }
    std::fill(buffer.begin(), buffer.begin() + size, 0);
    const std::span<const MacroRecord> macros = table.Records();
    Put16(buffer, 0, kMacroAreaMagic);
    Put16(buffer, 2, static_cast<uint16_t>(size));
    Put16(buffer, 4, static_cast<uint16_t>(macros.size()));
    Put16(buffer, 6, withNames ? 1 : 0);
    size_t entry = kMacroAreaHeaderSize + 2 * macros.size();
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        Put16(buffer, kMacroAreaHeaderSize + 2 * i, static_cast<uint16_t>(entry));
        const std::span<const MacroAction> actions = macro.Actions();
        const int nameLength = withNames ? macro.NameLength() : 0;
        Put16(buffer, entry, static_cast<uint16_t>(actions.size()));
        buffer[entry + 2] = macro.cycleCount;
        buffer[entry + 3] = static_cast<uint8_t>(nameLength);
        size_t at = entry + kEntryHeaderSize;
        for (const MacroAction& action : actions) {
            EncodeMacroAction(action, &buffer[at]);
            at += kActionSize;
        }
        for (int c = 0; c < nameLength; ++c) {
            Put16(buffer, at, static_cast<uint16_t>(macro.name[c]));
            at += 2;
        }
        entry = at;
    }
    return true;
}

std::optional<std::vector<KeyboardMacro>> ParseKeyboardMacroArea(std::span<const uint8_t> area) {
    std::vector<KeyboardMacro> macros;
    if (area.size() < kMacroAreaHeaderSize || Get16(area, 0) != kMacroAreaMagic) {
        return macros;
    }
    const size_t count = std::min<size_t>(Get16(area, 4), kMaxMacros);
    try {
        macros.resize(count);
        for (size_t i = 0; i < count; ++i) {
            KeyboardMacro& macro = macros[i];
            const size_t offsetAt = kMacroAreaHeaderSize + 2 * i;
            if (offsetAt + 2 > area.size()) {
                continue;
            }
            const size_t entry = Get16(area, offsetAt);
            if (entry + kEntryHeaderSize > area.size()) {
                continue;
            }
            const size_t actionCount = Get16(area, entry);
            macro.cycleCount = area[entry + 2];
            const size_t nameLength = area[entry + 3];
            const size_t firstAction = entry + kEntryHeaderSize;
            const size_t readable = (area.size() - firstAction) / kActionSize;
            const size_t taken = std::min({actionCount, readable, size_t{kMaxMacroActions}});
            macro.actions.reserve(taken);
            for (size_t a = 0; a < taken; ++a) {
                const size_t at = firstAction + kActionSize * a;
                const uint16_t word = Get16(area, at);
                const DeviceAction action{static_cast<uint8_t>((word >> 12) & 7), area[at + 2],
                                          area[at + 3]};
                macro.actions.push_back({static_cast<uint16_t>(word & kDelayMask),
                                         CodeOfAction(action),
                                         static_cast<uint16_t>((word & kPressBit) ? kMacroPress
                                                                                  : kMacroRelease)});
            }
            // The name follows all the actions the entry claims, read or not.
            const size_t nameAt = firstAction + kActionSize * actionCount;
            if (nameAt >= area.size()) {
                continue;
            }
            const size_t nameChars =
                std::min({nameLength, (area.size() - nameAt) / 2, size_t{kMacroNameCapacity}});
            QString name;
            for (size_t c = 0; c < nameChars; ++c) {
                const char16_t character = Get16(area, nameAt + 2 * c);
                if (character == u'\0') {
                    break;
                }
                name.append(QChar(character));
            }
            macro.name = name;
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return macros;
}

CommandResult ReadKeyboardMacroArea(DeviceLink& link, std::vector<uint8_t>* area) {
    area->assign(kMacroAreaHeaderSize, 0);
    const CommandResult header = ReadMacroArea(link, *area);
    if (header != CommandResult::Ok) return header;
    const uint16_t magic = static_cast<uint16_t>((*area)[0] | ((*area)[1] << 8));
    const size_t total = static_cast<size_t>((*area)[2] | ((*area)[3] << 8));
    if (magic != kMacroAreaMagic || total <= kMacroAreaHeaderSize) return CommandResult::Ok;
    area->assign(total, 0);
    return ReadMacroArea(link, *area);
}

}  // namespace vantor
