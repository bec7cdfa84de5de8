#include "device/DeviceState.h"

namespace vantor {

std::optional<size_t> DeviceState::MacroCapacity() const {
    const int64_t bytes = m_macroCapacity.load();
    return bytes < 0 ? std::nullopt : std::optional<size_t>(size_t(bytes));
}

KeyMatrix DeviceState::DefaultKeyMatrix() const {
    std::lock_guard lock(m_matrixMutex);
    return m_defaultMatrix;
}

void DeviceState::SetDefaultKeyMatrix(const KeyMatrix& matrix) {
    std::lock_guard lock(m_matrixMutex);
    m_defaultMatrix = matrix;
}

}  // namespace vantor
