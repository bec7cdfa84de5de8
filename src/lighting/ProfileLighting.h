#pragma once

#include "lighting/KeyColours.h"
#include "lighting/LightingPanel.h"

namespace vantor {

// What the profile operations do to the lighting, for the window's panel and for vantorctl
// alike, so both send the same.

// The lighting refresh of a profile button, before any switch: the status block is read for
// the effect list; when the keyboard offers per-key colours, the profile's colours are loaded
// from its colour file, sent and their base keys marked; then the lighting blocks are read
// for the profile. The first failed read is the result.
CommandResult RefreshProfileLighting(LightingPanel& panel, KeyColours& colours, int profile);

// Default's per-key colour step for one profile: its colour file goes back to the skin's
// template and the colours of the profile being edited are sent again. Nothing when the
// keyboard (as the panel last read it) offers no per-key colours.
LightingResult ResetProfileColourFile(const LightingPanel& panel, KeyColours& colours, int profile);

}  // namespace vantor
