#pragma once

namespace vantor {

// The Fn-layer view setting: application setting "PROFILES" / "Flip", "0" or "1". It only
// changes what the main window shows; the keyboard never hears of it.
// The stored value read as a decimal number, 0 when missing or unreadable.
int ReadFlipSetting();
// Stores "1" for 1 and "0" for anything else; returns what was stored, or -1 when the
// settings could not be written.
int WriteFlipSetting(int value);

}  // namespace vantor
