#pragma once

#include "emulator/FirmwareReport.h"
#include "emulator/FirmwareVariant.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The keyboard's memory areas, each with its own address space starting at 0.
enum class FirmwareArea {
    Status,         // 44 bytes, read and written whole
    Lighting,       // three 42-byte lighting blocks, profile p at p x 42
    KeyMaps,        // three key maps, profile p at p x key-map stride
    MacroArea,      // the macro capacity in bytes, shared by the profiles
    DefaultMatrix,  // the factory key map, one key-map block
    KeyColours,     // three 512-byte per-key colour tables, position k of profile p at p x 512 + 3k
};

// The keyboard's side of the vendor-interface protocol: its memory areas and the answer to
// every command. Pure state, no I/O and no locking; EmulatedKeyboard owns one and serialises
// access to it.
//
// Firmware rules chosen here (the host relies on none beyond status and payload):
// - a reply echoes the request's header (report ID, command, length, address), carries its
//   own checksum and status 0x01 on success;
// - a request whose checksum does not match is refused with 0xFE and changes nothing;
// - an unknown command, a length above 56, a write that would run past its area, a read that
//   starts past its area, or a status write naming a profile above 2 is refused with 0xFF and
//   changes nothing; a read that starts inside its area and runs past its end answers zeros
//   for the bytes past the end;
// - Write status keeps bytes 0-10 as sent (10, the active profile, must be 0-2); the macro
//   capacity and the effect list (11-43) are the keyboard's own facts and stay as they are;
// - Enter boot mode (0xEE, length byte 0xEE, no checksum) has no reply and makes the
//   keyboard leave.
class KeyboardFirmware {
public:
    static constexpr int kProfileCount = 3;
    static constexpr size_t kStatusSize = 44;
    static constexpr size_t kLightingBlockSize = 42;
    static constexpr size_t kFactoryLightingSize = 35;
    static constexpr size_t kColourTableStride = 512;
    static constexpr size_t kActiveProfileOffset = 10;
    static constexpr size_t kCapacityOffset = 11;
    static constexpr size_t kEffectListOffset = 12;
    static constexpr size_t kEffectListSize = 32;
    static constexpr size_t kMacroCapacityUnit = 128;
    static constexpr size_t kMaxMacroCapacity = 255 * kMacroCapacityUnit;
    static constexpr size_t kDefaultMacroCapacity = 64 * kMacroCapacityUnit;

    static constexpr uint8_t kStatusOk = 0x01;
    static constexpr uint8_t kStatusRefused = 0xFF;
    static constexpr uint8_t kStatusBadChecksum = 0xFE;

    static constexpr uint16_t kEventLightingChanged = 0x0401;
    static constexpr uint16_t kEventProfileSwitched = 0x0402;

    // A capacity must be a multiple of 128 bytes, at most 255 x 128 (one status byte of units).
    static bool IsValidMacroCapacity(size_t bytes);

    // Factory state. An invalid capacity is rounded down to a multiple of 128 and capped.
    explicit KeyboardFirmware(const FirmwareVariant& variant,
                              size_t macroCapacity = kDefaultMacroCapacity);

    struct Outcome {
        std::optional<FirmwareReport> reply;  // none for Enter boot mode
        bool enterBootMode = false;
    };
    Outcome HandleRequest(const FirmwareReport& request);

    // False for the one request that is never answered (Enter boot mode).
    static bool ExpectsReply(const FirmwareReport& request);

    // The answer to a request that the keyboard refuses as a whole, with the given status.
    static FirmwareReport ErrorReply(const FirmwareReport& request, uint8_t status);

    // Acts of the user on the keyboard itself. Each returns the event code the keyboard then
    // sends on its consumer interface, or nothing when the act is impossible.
    std::optional<uint16_t> SwitchProfileOnKeyboard(int profile);
    // The effect key: the active profile's effect moves to the next offered effect (or, with
    // no effect offered, its brightness steps through 0-5).
    std::optional<uint16_t> ChangeLightingOnKeyboard();

    const FirmwareVariant& Variant() const { return *m_variant; }
    int ActiveProfile() const { return m_status[kActiveProfileOffset]; }
    size_t MacroCapacity() const { return m_macroArea.size(); }

    std::span<const uint8_t> Area(FirmwareArea area) const;
    // For tests and the emulator's controls: change an area directly, as the factory would.
    std::span<uint8_t> MutableArea(FirmwareArea area);

    std::span<const uint8_t> StatusBlock() const { return Area(FirmwareArea::Status); }
    std::span<const uint8_t> LightingBlock(int profile) const;
    std::span<const uint8_t> KeyMap(int profile) const;
    std::span<const uint8_t> KeyColours(int profile) const;
    std::span<const uint8_t> MacroAreaBytes() const { return Area(FirmwareArea::MacroArea); }
    std::span<const uint8_t> DefaultKeyMatrix() const { return Area(FirmwareArea::DefaultMatrix); }

    // Replaces the offered effect list (status bytes 12-43); at most 32 codes are kept.
    void SetOfferedEffects(const std::vector<uint8_t>& codes);

private:
    uint8_t ReadArea(FirmwareArea area, const FirmwareReport& request, FirmwareReport* reply) const;
    uint8_t WriteArea(FirmwareArea area, const FirmwareReport& request);
    uint8_t WriteStatus(const FirmwareReport& request);

    const FirmwareVariant* m_variant;
    std::vector<uint8_t> m_status;
    std::vector<uint8_t> m_lighting;
    std::vector<uint8_t> m_keyMaps;
    std::vector<uint8_t> m_macroArea;
    std::vector<uint8_t> m_defaultMatrix;
    std::vector<uint8_t> m_keyColours;
};

}  // namespace vantor
