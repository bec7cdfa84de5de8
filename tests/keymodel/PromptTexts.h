#pragma once

#include "support/TestEnvironment.h"

namespace vantor::test {

// The language texts a key button's tooltip is built from, for the assignment-summary tests
// and benchmark.
inline LanguageTexts PromptTexts() {
    return {{"KEY_PROMPT_SET", " (set: "},
            {"KEY_PROMPT_SINGLE", "key "},
            {"KEY_PROMPT_MACRO", "macro "},
            {"KEY_PROMPT_MEDIA", "media "},
            {"KEY_PROMPT_FUNCTION", "function "},
            {"IDS_KEYBOARD_A", "A"},
            {"IDS_KEYBOARD_ESC", "Esc"},
            {"MEDIA_PALYER_1", "Player"},
            {"FUNC_KEY_DESC3", "Lights off"},
            {"UNKNOWN_KEY", "?%d"}};
}

}  // namespace vantor::test
