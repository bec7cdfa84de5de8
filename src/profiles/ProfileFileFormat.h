#pragma once

#include "keymodel/KeyAssignment.h"
#include "macros/MacroRecord.h"
#include "macros/StoreKeyRecords.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace vantor {

// A profile file, little-endian: this 32-byte file header, the 32-byte key-map header, 2048
// key records (four blocks of 512), the macro records, then the text area holding the
// NUL-terminated UTF-16LE texts of launch-program and text-block keys.
struct ProfileFileHeader {
    uint16_t magic = 0;
    uint16_t headerSize = 0;
    uint16_t version = 0;
    uint16_t kind = 0;
    uint32_t fileSize = 0;  // image + macros + text area
    uint16_t recordCount = 0;
    uint16_t macroCount = 0;
    uint32_t textAreaSize = 0;
    uint8_t reserved[10] = {};
    uint8_t flag = 0;
    uint8_t checksum = 0;  // sum of bytes 0-30, modulo 256
};
static_assert(sizeof(ProfileFileHeader) == 32);
static_assert(offsetof(ProfileFileHeader, fileSize) == 8);
static_assert(offsetof(ProfileFileHeader, recordCount) == 12);
static_assert(offsetof(ProfileFileHeader, macroCount) == 14);
static_assert(offsetof(ProfileFileHeader, textAreaSize) == 16);
static_assert(offsetof(ProfileFileHeader, flag) == 30);
static_assert(offsetof(ProfileFileHeader, checksum) == 31);

struct KeyMapHeader {
    uint16_t magic = 0;
    uint16_t headerSize = 0;
    uint32_t keyMapSize = 0;  // this header plus the key records
    uint16_t blockCount = 0;
    uint16_t recordsPerBlock = 0;
    uint32_t reserved = 0;
    uint16_t deviceIds[8] = {};  // vendor and product pairs; written, never read
};
static_assert(sizeof(KeyMapHeader) == 32);
static_assert(offsetof(KeyMapHeader, deviceIds) == 16);

// The fixed part of a profile file, as the store holds it.
struct ProfileImage {
    ProfileFileHeader header;
    KeyMapHeader keyMapHeader;
    KeyAssignment records[kStoreKeyRecordCount];
};
static_assert(sizeof(ProfileImage) == 32832);
static_assert(offsetof(ProfileImage, records) == 64);
static_assert(std::is_trivially_copyable_v<ProfileImage>);

inline constexpr uint32_t kProfileImageSize = sizeof(ProfileImage);
inline constexpr uint32_t kProfileMacroSize = sizeof(MacroRecord);
inline constexpr uint16_t kProfileMagic = 0x4446;
inline constexpr uint16_t kProfileHeaderSize = 32;
inline constexpr uint16_t kProfileVersion = 3;
inline constexpr uint16_t kProfileKind = 1;
inline constexpr uint16_t kKeyMapMagic = 0x484B;
inline constexpr uint32_t kKeyMapSize = 32800;

// The checksum of a header: the sum of its first 31 bytes.
uint8_t HeaderChecksum(const ProfileFileHeader& header);

// Rebuilds both headers for the given macro count, text area size and flag.
void FillProfileHeaders(ProfileImage& image, uint16_t macroCount, uint32_t textAreaSize,
                        uint8_t flag);

// Whether a file header passes every check a profile file must pass. The real length of the
// file is not compared with its file size field.
bool ProfileHeaderIsValid(const ProfileFileHeader& header);

}  // namespace vantor
