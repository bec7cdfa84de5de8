#pragma once

#include <cstdint>

#include "keymodel/KeyCode.h"

namespace vantor {

// Key code of a Linux input (evdev) key code, 0 for keys without one. heldModifiers is the
// modifier mask of the keys held down (bit layout of ModifierMaskOfCode): with Alt held,
// Print Screen is Sys Req, and with Ctrl held, Pause is Break, as a PC keyboard reports them.
KeyCode KeyCodeOfEvdev(unsigned evdevCode, uint8_t heldModifiers = 0);

// The same from a native scan code of X11 or Wayland key events, which is evdev + 8.
KeyCode KeyCodeOfNativeScanCode(unsigned nativeScanCode, uint8_t heldModifiers = 0);

// The evdev code that produces a key code, 0 for none. Sys Req gives the Print Screen key's
// code, of which it is the Alt form.
unsigned EvdevOfKeyCode(KeyCode code);

}  // namespace vantor
