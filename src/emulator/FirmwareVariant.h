#pragma once

#include <cstdint>

namespace vantor {

// The two keyboard models the emulator can be: their USB identity and the sizes of their
// key maps, as the program's table of models (DeviceVariant) gives them, and the firmware
// version each reports.
struct FirmwareVariant {
    char letter = 'A';
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;  // bcdDevice; the high byte is the protocol generation, 2
    int keyMapSize = 0;          // bytes in one profile's key map and in the default key matrix
    int keyMapStride = 0;        // distance between the key maps of consecutive profiles
    int positionCount = 0;       // key (and LED) positions, 3 bytes of key map or colour each

    static const FirmwareVariant& A();  // 0x0C45:0x5004, 378-byte key maps, 126 positions
    static const FirmwareVariant& B();  // 0x320F:0x5000, 512-byte key maps, 128 positions

    // "A"/"B" (either case); nullptr for anything else.
    static const FirmwareVariant* FromLetter(char letter);
};

}  // namespace vantor
