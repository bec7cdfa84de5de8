#pragma once

#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "profiles/ProfileStore.h"
#include "profiles/ProfileUi.h"

namespace vantor {

// What the operations that move profiles between the keyboard, the store and files work on:
// the keyboard's link and what is known of it (its active profile among it),
// the working store, the download snapshot and the windows.
struct ProfileContext {
    DeviceLink& link;
    DeviceState& device;
    ProfileStore& store;
    ProfileStore& snapshot;
    ProfileUi& ui;
    // Set while SwitchProfile's question is on screen, so a re-entrant switch does not ask again.
    bool switchQuestionOpen = false;
};

}  // namespace vantor
