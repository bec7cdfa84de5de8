#include "macros/MacroRecorder.h"

#include "keymodel/KeyConversions.h"

#include <algorithm>
#include <chrono>

namespace vantor {

namespace {

// The delay given to the press recorded before a release that came alone.
constexpr uint32_t kUpOnlyPressDelayMs = 2;

}  // namespace

int64_t MonotonicMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void MacroRecorder::Start() {
    m_recording = true;
    m_last = m_clock();
}

std::vector<MacroAction> MacroRecorder::Take(KeyCode code, bool press) {
    if (!m_recording || code == kNoKey) return {};
    const bool upOnly = IsUpOnlyKey(code);
    if (upOnly && press) return {};
    const int64_t now = m_clock();
    const auto gap = static_cast<uint32_t>(std::clamp<int64_t>(now - m_last, 0, kMaxMacroDelayMs));
    m_last = now;
    std::vector<MacroAction> actions;
    if (upOnly) actions.push_back({kUpOnlyPressDelayMs, code, kMacroPress});
    actions.push_back({gap, code, press ? uint16_t(kMacroPress) : uint16_t(kMacroRelease)});
    return actions;
}

}  // namespace vantor
