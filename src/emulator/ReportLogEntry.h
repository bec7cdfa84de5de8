#pragma once

#include "emulator/EmulatedInterface.h"
#include "emulator/FirmwareReport.h"

#include <QString>

#include <cstddef>

namespace vantor {

// One report that crossed one of the emulated keyboard's interfaces.
struct ReportLogEntry {
    enum class Direction {
        Received,  // host to keyboard
        Sent,      // keyboard to host: a reply or an event
    };
    Direction direction = Direction::Received;
    EmulatedInterface which = EmulatedInterface::Vendor;
    FirmwareReport bytes{};  // the report, zero-padded to 64 bytes
    size_t length = 0;       // its real length

    // As the host sees it: "> " and 128 hex digits for a report the keyboard received,
    // "< " for one it sent.
    QString ToLine() const;
};

}  // namespace vantor
