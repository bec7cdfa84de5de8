#pragma once

#include "CtlContext.h"
#include "commands/CtlProfileUi.h"

#include "device/DeviceState.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileStore.h"

#include <memory>

namespace vantor::ctl {

// The profile side of the program for one command: a working store, a download snapshot and
// the device state of the connected keyboard, which Learn reads from it as the device monitor
// does on arrival (default key matrix, macro capacity, active profile).
class ProfileSession {
public:
    ProfileSession(CtlContext& context, DeviceLink& link);

    // Reads the keyboard's default key matrix and status block. kExitOk, or the exit code of
    // the failure, already reported.
    int Learn();

    ProfileContext& Context() { return m_context; }
    ProfileStore& Store() { return m_store; }
    // What Learn read: the default key matrix (one key-map block of the keyboard's variant,
    // zeros after it) and the macro capacity.
    const DeviceState& Device() const { return m_device; }
    CtlProfileUi& Ui() { return m_ui; }

private:
    CtlContext& m_ctl;
    DeviceLink& m_link;
    DeviceState m_device;
    ProfileStore m_store;
    ProfileStore m_snapshot;
    CtlProfileUi m_ui;
    ProfileContext m_context;
};

}  // namespace vantor::ctl
