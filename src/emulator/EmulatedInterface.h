#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace vantor {

// The HID interfaces the emulated keyboard presents, numbered as its USB interfaces.
enum class EmulatedInterface : int {
    BootKeyboard = 0,  // the ordinary keyboard: usage page 1, usage 6
    Consumer = 1,      // usage page 0x0C, usage 1: event reports
    Vendor = 2,        // usage page 0xFF1C, usage 0x92: 64-byte command reports
};

inline constexpr int kEmulatedInterfaceCount = 3;

// Report ID of the consumer interface's one input report, which carries the event code.
inline constexpr uint8_t kConsumerReportId = 0x03;

// The interface's HID report descriptor, byte for byte as the keyboard reports it.
QByteArray EmulatedReportDescriptor(EmulatedInterface which);

// Lengths of the interface's reports, counting the report-ID byte (0 when the descriptor
// numbers no reports); 0 when the interface has no report of that direction.
size_t EmulatedInputReportLength(EmulatedInterface which);
size_t EmulatedOutputReportLength(EmulatedInterface which);

}  // namespace vantor
