#include "device/DeviceState.h"

namespace vantor {

KeyMatrix DeviceState::DefaultKeyMatrix() const {
    std::lock_guard lock(m_matrixMutex);
    return m_defaultMatrix;
}

void DeviceState::SetDefaultKeyMatrix(const KeyMatrix& matrix) {
    std::lock_guard lock(m_matrixMutex);
    m_defaultMatrix = matrix;
}

}  // namespace vantor
