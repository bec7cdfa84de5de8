#pragma once

#include "device/PresenceMonitor.h"

namespace vantor::test {

// Longer than any wait of a test: a departure that a test sees came from the monitor's wait on
// the open interface, never from its fallback probe.
inline constexpr int kNoConnectedProbeMs = 10 * 60 * 1000;

// A device monitor that finds a keyboard at once.
inline constexpr MonitorTiming kQuickMonitor{
    .firstReportPauseMs = 1, .searchPollMs = 5, .connectedProbeMs = kNoConnectedProbeMs};

}  // namespace vantor::test
