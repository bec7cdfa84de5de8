#pragma once

#include "device/BuiltInKeyMatrix.h"
#include "device/DeviceEvents.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

namespace vantor {

// What the presence monitor learns about the keyboard and keeps for the rest of the program:
// written by the monitor thread, read from any thread.
class DeviceState {
public:
    // The last presence the connect handling acted on.
    bool Present() const { return m_present.load(); }
    void SetPresent(bool present) { m_present.store(present); }

    // Set by the first presence report, or at once for a start in the tray ("/Start"): after
    // it the keyboard's arrival no longer opens the main window.
    bool FirstReportDone() const { return m_firstReportDone.load(); }
    void SetFirstReportDone(bool done) { m_firstReportDone.store(done); }

    // Macro area capacity in bytes; unknown (not 0: a keyboard may have no macro area) until a
    // status block has been read.
    std::optional<size_t> MacroCapacity() const;
    void SetMacroCapacity(size_t bytes) { m_macroCapacity.store(int64_t(bytes)); }

    // The keyboard's factory key map (a 378-byte map is followed by zeros); the built-in
    // matrix until a keyboard's own has been read, and kept across a removal.
    KeyMatrix DefaultKeyMatrix() const;
    void SetDefaultKeyMatrix(const KeyMatrix& matrix);

    // The keyboard's active on-board profile as last read; -1 while none has been read or the
    // keyboard is gone. The presence monitor clears it on removal, the profile operations set
    // and read it.
    int ActiveProfile() const { return m_activeProfile.load(); }
    void SetActiveProfile(int profile) { m_activeProfile.store(profile); }

    // The tray icon shown when no keyboard event overrides it: 141 connected, 128 not.
    int BaseTrayIcon() const { return m_baseTrayIcon.load(); }
    void SetBaseTrayIcon(int icon) { m_baseTrayIcon.store(icon); }

private:
    std::atomic<bool> m_present{false};
    std::atomic<bool> m_firstReportDone{false};
    std::atomic<int64_t> m_macroCapacity{-1};  // -1: unknown
    std::atomic<int> m_activeProfile{-1};
    std::atomic<int> m_baseTrayIcon{kTrayIconDisconnected};
    mutable std::mutex m_matrixMutex;
    KeyMatrix m_defaultMatrix = BuiltInKeyMatrix();
};

}  // namespace vantor
