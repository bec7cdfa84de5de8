#pragma once

#include "keymodel/KeyCode.h"
#include "macros/MacroAction.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vantor {

// Milliseconds of a clock that only moves forward.
using MillisecondClock = std::function<int64_t()>;
int64_t MonotonicMilliseconds();

// Turns the key events of a recording into macro actions, each carrying the time since the
// event before it (the macro page moves that gap onto the row above, where it belongs).
//
// Keys that may report a release without a press (Print Screen and its kin) are recorded on
// their release alone, as a press 2 ms before the release: the desktop reports both halves of
// Print Screen, and recording only the release keeps one press and one release in the macro
// with the same delays whatever the desktop sends.
class MacroRecorder {
public:
    explicit MacroRecorder(MillisecondClock clock = MonotonicMilliseconds) : m_clock(std::move(clock)) {}

    void SetClock(MillisecondClock clock) { m_clock = std::move(clock); }

    // Starting sets the time of the last event to now.
    void Start();
    void Stop() { m_recording = false; }
    bool IsRecording() const { return m_recording; }

    // The actions one reported key event (a first press or a release) adds, in order; none
    // while not recording.
    std::vector<MacroAction> Take(KeyCode code, bool press);

private:
    MillisecondClock m_clock;
    bool m_recording = false;
    int64_t m_last = 0;
};

}  // namespace vantor
