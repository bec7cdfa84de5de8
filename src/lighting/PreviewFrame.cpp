#include "lighting/PreviewFrame.h"

#include "keymodel/KeyTables.h"

namespace vantor {

void PreviewFrame::Clear() {
    m_keys.fill({});
    m_plainAll = false;
}

void PreviewFrame::Paint(int controlId, const Rgb& colour) {
    const int i = controlId - kFirstId;
    if (i >= 0 && i < kIdSpan) m_keys[size_t(i)] = {Look::Painted, colour};
}

void PreviewFrame::ResetAll() {
    const auto reset = [this](int controlId) {
        m_keys[size_t(controlId - kFirstId)] = {Look::Plain, {}};
    };
    for (const uint16_t id : KeyListButtonIds) reset(id);
    for (const uint16_t id : ExtraKeyButtonIds) reset(id);
    reset(kFnButtonId);
    m_plainAll = true;
}

PreviewFrame::Key PreviewFrame::At(int controlId) const {
    const int i = controlId - kFirstId;
    return i >= 0 && i < kIdSpan ? m_keys[size_t(i)] : Key{};
}

}  // namespace vantor
