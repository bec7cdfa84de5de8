#pragma once

namespace vantor {

// Whether the macro recorder keeps the measured time between events (1) or records 50 ms
// for every event (0). Kept in the application settings, section "PROFILES", under the
// current language's text for "MACRO_ACTION_RECORD_DELAY", as "0" or "1".

// The stored setting: 1 only when the stored text is the number 1; 0 when it is missing,
// 0, or anything else (the value is a flag, and anything else was never written by us).
int ReadRecordDelaysSetting();

// Stores the value when it is 0 or 1 and 0 otherwise, and returns what was stored. When the
// settings cannot be written the returned value still holds for the caller's session.
int WriteRecordDelaysSetting(int value);

}  // namespace vantor
