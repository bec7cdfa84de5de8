#include "emulator/FirmwareVariant.h"

#include "device/DeviceVariant.h"

namespace vantor {

namespace {

// The emulated model takes its identity and sizes from the program's one table of models; only
// its firmware version is its own.
FirmwareVariant FromDeviceVariant(char letter, const DeviceVariant& model, uint16_t version) {
    return FirmwareVariant{letter,
                           model.vendorId,
                           model.productId,
                           version,
                           static_cast<int>(model.keyMapBlockSize),
                           static_cast<int>(model.keyMapStride),
                           static_cast<int>(model.ledSlotCount)};
}

}  // namespace

const FirmwareVariant& FirmwareVariant::A() {
    static const FirmwareVariant variant = FromDeviceVariant('A', kVariantA, 0x0200);
    return variant;
}

const FirmwareVariant& FirmwareVariant::B() {
    static const FirmwareVariant variant = FromDeviceVariant('B', kVariantB, 0x0201);
    return variant;
}

const FirmwareVariant* FirmwareVariant::FromLetter(char letter) {
    if (letter == 'A' || letter == 'a') return &A();
    if (letter == 'B' || letter == 'b') return &B();
    return nullptr;
}

}  // namespace vantor
