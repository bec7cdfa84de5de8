#include "device/emulator/FirmwareVariant.h"

namespace vantor {

const FirmwareVariant& FirmwareVariant::A() {
    static const FirmwareVariant variant{'A', 0x0C45, 0x5004, 0x0200, 378, 378, 126};
    return variant;
}

const FirmwareVariant& FirmwareVariant::B() {
    static const FirmwareVariant variant{'B', 0x320F, 0x5000, 0x0201, 512, 512, 128};
    return variant;
}

const FirmwareVariant* FirmwareVariant::FromLetter(char letter) {
    if (letter == 'A' || letter == 'a') return &A();
    if (letter == 'B' || letter == 'b') return &B();
    return nullptr;
}

}  // namespace vantor
