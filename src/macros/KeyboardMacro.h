#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vantor {

// One action of a macro as the keyboard's macro area holds it, already decoded.
struct KeyboardMacroAction {
    uint16_t delayField = 0;  // in units of 10 ms
    uint16_t keyCode = 0;     // internal key code
    uint16_t direction = 0;   // 0 press, 1 release
};

// One macro as read back from the keyboard's macro area.
struct KeyboardMacro {
    uint8_t cycleCount = 0;
    std::vector<KeyboardMacroAction> actions;
    QString name;  // empty when the keyboard stored no name
};

}  // namespace vantor
