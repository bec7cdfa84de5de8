#pragma once

#include "device/HidDevice.h"

#include <QString>

#include <cstdint>

namespace vantor {

// The rules that pick the keyboard's two interfaces among every HID interface: its IDs, read
// first from the path text and then from the open interface, its top-level usage and, for the
// vendor interface, the protocol generation in the version's high byte. The presence monitor,
// the event listener and vantorctl all decide with these.

struct PathIds {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

inline constexpr uint16_t kVendorUsagePage = 0xFF1C;
inline constexpr uint16_t kVendorUsage = 0x92;
inline constexpr uint16_t kConsumerUsagePage = 0x0C;
inline constexpr uint16_t kConsumerUsage = 0x01;
inline constexpr uint8_t kVendorVersionHighByte = 2;

// The hex digits after "vid_" and after "pid_" (either case), low 16 bits; 0 when a marker is
// missing or not followed by a hex digit.
PathIds IdsFromPath(const QString& path);

// True when the path names one of the two keyboard models.
bool IsKeyboardPath(const QString& path);

// Checks on an open interface.
bool IsVendorInterface(const HidDevice& device);
bool IsConsumerInterface(const HidDevice& device);

enum class OpenOutcome {
    Matched,     // open, and every check holds: left open
    Rejected,    // opened but another interface: closed again
    OpenFailed,  // could not be opened (gone, or no permission)
};

// Opens the path with the interface's access (vendor: read and write; consumer: read) and
// keeps it open only when every check holds.
OpenOutcome OpenVendorInterface(HidDevice& device, const QString& path);
OpenOutcome OpenConsumerInterface(HidDevice& device, const QString& path);

}  // namespace vantor
