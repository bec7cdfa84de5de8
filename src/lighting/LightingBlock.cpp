#include "lighting/LightingBlock.h"

#include <cstring>

namespace vantor {

LightingBlock LightingBlock::FromBytes(const uint8_t* bytes) {
    LightingBlock block;
    std::memcpy(&block, bytes, sizeof block);
    return block;
}

std::array<uint8_t, kFactoryLightingSize> FactoryLightingBlock() {
    std::array<uint8_t, kFactoryLightingSize> bytes{};
    bytes[offsetof(LightingBlock, effect)] = 1;
    bytes[offsetof(LightingBlock, brightness)] = 4;
    bytes[offsetof(LightingBlock, speed)] = 2;
    bytes[offsetof(LightingBlock, direction)] = kDirectionSecond;
    bytes[offsetof(LightingBlock, randomColour)] = 0xFF;
    bytes[offsetof(LightingBlock, colour) + 0] = 0xFF;
    bytes[offsetof(LightingBlock, colour) + 1] = 0xFF;
    bytes[offsetof(LightingBlock, colour) + 2] = 0xFF;
    return bytes;
}

}  // namespace vantor
