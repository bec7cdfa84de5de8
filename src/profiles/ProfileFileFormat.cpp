#include "profiles/ProfileFileFormat.h"

#include <cstring>

namespace vantor {

namespace {
constexpr uint16_t kDeviceIds[8] = {0x0C45, 0x5004, 0x1C4F, 0x000E, 0x320F, 0x5000, 0, 0};
constexpr uint8_t kMaxFlag = 1;
}  // namespace

uint8_t HeaderChecksum(const ProfileFileHeader& header) {
    uint8_t bytes[sizeof header];
    std::memcpy(bytes, &header, sizeof header);
    unsigned sum = 0;
    for (size_t i = 0; i < offsetof(ProfileFileHeader, checksum); ++i) {
        sum += bytes[i];
    }
    return static_cast<uint8_t>(sum & 0xFF);
}

void FillProfileHeaders(ProfileImage& image, uint16_t macroCount, uint32_t textAreaSize,
                        uint8_t flag) {
    ProfileFileHeader& header = image.header;
    header = ProfileFileHeader{};
    header.magic = kProfileMagic;
    header.headerSize = kProfileHeaderSize;
    header.version = kProfileVersion;
    header.kind = kProfileKind;
    header.fileSize = kProfileImageSize + kProfileMacroSize * macroCount + textAreaSize;
    header.recordCount = kStoreKeyRecordCount;
    header.macroCount = macroCount;
    header.textAreaSize = textAreaSize;
    header.flag = flag;
    header.checksum = HeaderChecksum(header);

    KeyMapHeader& keyMap = image.keyMapHeader;
    keyMap = KeyMapHeader{};
    keyMap.magic = kKeyMapMagic;
    keyMap.headerSize = kProfileHeaderSize;
    keyMap.keyMapSize = kKeyMapSize;
    keyMap.blockCount = kBlockCount;
    keyMap.recordsPerBlock = kRecordsPerBlock;
    std::memcpy(keyMap.deviceIds, kDeviceIds, sizeof kDeviceIds);
}

bool ProfileHeaderIsValid(const ProfileFileHeader& header) {
    // Summed in 64 bits: a crafted header must not wrap the sum into agreement.
    const uint64_t expectedSize = uint64_t{header.macroCount} * kProfileMacroSize +
                                  header.textAreaSize + kProfileImageSize;
    return header.magic == kProfileMagic && header.headerSize == kProfileHeaderSize &&
           header.version == kProfileVersion && header.kind == kProfileKind &&
           header.fileSize >= kProfileImageSize && header.recordCount == kStoreKeyRecordCount &&
           header.macroCount <= kMaxMacros && header.flag <= kMaxFlag &&
           header.fileSize == expectedSize && header.checksum == HeaderChecksum(header);
}

}  // namespace vantor
