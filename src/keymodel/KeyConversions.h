#pragma once

#include <cstdint>

#include "keymodel/DeviceAction.h"
#include "keymodel/KeyCode.h"
#include "keymodel/KeyTables.h"

namespace vantor {

// How the firmware can send a key, from the row's device code.
enum DeviceClass : int {
    kDeviceClassNone = 0,      // cannot be sent
    kDeviceClassSystem = 1,    // Power, Sleep, Wake (0x81-0x83)
    kDeviceClassMouse = 2,     // buttons and wheel (0xF1-0xF8)
    kDeviceClassKey = 7,       // any other device code, media and office keys included
    kDeviceClassConsumer = 12, // a consumer-page usage (only as input to CodeOfDeviceValue)
};

struct DeviceValue {
    int deviceClass = kDeviceClassNone;
    unsigned value = 0;

    friend bool operator==(const DeviceValue&, const DeviceValue&) = default;
};

// The row's ordinal; kNoOrdinal for codes without a row.
KeyOrdinal OrdinalOfCode(KeyCode code);

// The code of the first row (ascending) with this ordinal, 0 if none.
KeyCode CodeOfOrdinal(KeyOrdinal ordinal);

DeviceValue ClassifyDeviceCode(KeyCode code);

// Key code for a class and value, 0 if none (classes 1, 7 and 12 are understood).
KeyCode CodeOfDeviceValue(int deviceClass, unsigned value);

// Modifier mask bits: 0 Left Ctrl, 1 Left Shift, 2 Left Alt, 3 Left Win, 4 Right Ctrl,
// 5 Right Shift, 6 Right Alt, 7 Right Win.
KeyCode CodeOfModifierMask(uint8_t mask);     // the key of the lowest set bit, 0 for 0
uint8_t ModifierMaskOfCode(KeyCode code);     // the key's single bit, 0 for other keys

// The key a device action produces, 0 when it produces none.
KeyCode CodeOfAction(const DeviceAction& action);

// Key code of a keyboard-hook message: the virtual-key code and the message parameter word
// (bits 16-23 the scan code, bit 24 the extended flag).
KeyCode CodeOfKeyMessage(uint8_t vk, uint32_t parameter);

// Keys for which a release may arrive without a press (Sys Req, 0x071, 0x072, Print Screen).
bool IsUpOnlyKey(KeyCode code);

// The 18 media-list keys, which key capture ignores.
bool IsMediaKeyCode(KeyCode code);

}  // namespace vantor
