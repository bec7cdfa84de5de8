#pragma once

#include "keyassign/BuiltInKeyMatrix.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

namespace vantor {

// What the program keeps of the connected keyboard beyond its variant: the active on-board
// profile as last read (-1 until the keyboard has answered, and again after it is gone), the
// macro area capacity in bytes and the default key matrix, the last two refreshed on every
// connect and kept across a removal. Written by the device monitor's thread and the
// user-interface thread, read by both.
class KeyboardFacts {
public:
    int ActiveProfile() const { return m_activeProfile.load(); }
    void SetActiveProfile(int profile) { m_activeProfile.store(profile); }

    uint32_t MacroCapacity() const { return m_macroCapacity.load(); }
    void SetMacroCapacity(uint32_t bytes) { m_macroCapacity.store(bytes); }

    // The built-in partial matrix for variant A until a keyboard's own has been read.
    KeyMatrix DefaultMatrix() const {
        std::lock_guard guard(m_matrixLock);
        return m_defaultMatrix;
    }
    void SetDefaultMatrix(const KeyMatrix& matrix) {
        std::lock_guard guard(m_matrixLock);
        m_defaultMatrix = matrix;
    }

private:
    std::atomic<int> m_activeProfile{-1};
    std::atomic<uint32_t> m_macroCapacity{0};
    mutable std::mutex m_matrixLock;
    KeyMatrix m_defaultMatrix = BuiltInKeyMatrix();
};

}  // namespace vantor
