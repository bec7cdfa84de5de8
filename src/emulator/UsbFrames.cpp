#include "emulator/UsbFrames.h"

namespace vantor {

UsbFramePacer::Clock::time_point UsbFramePacer::Take(Clock::time_point notBefore) {
    const auto since = notBefore - m_epoch;
    // The next frame start strictly after notBefore: a report that is ready exactly at a frame
    // start has missed that frame's poll.
    const auto frames = since < Clock::duration::zero() ? 0 : since / kFrame + 1;
    Clock::time_point slot = m_epoch + frames * kFrame;
    if (m_last && slot <= *m_last) {
        slot = *m_last + kFrame;
    }
    m_last = slot;
    return slot;
}

}  // namespace vantor
