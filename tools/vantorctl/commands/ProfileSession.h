#pragma once

#include "CtlContext.h"
#include "commands/CtlProfileUi.h"

#include "keyassign/KeyboardFacts.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileStore.h"

#include <memory>

namespace vantor::ctl {

// The profile side of the program for one command: a working store, a download snapshot and
// the facts of the connected keyboard, which Learn reads from it as the device monitor does on
// arrival (default key matrix, macro capacity, active profile).
class ProfileSession {
public:
    ProfileSession(CtlContext& context, DeviceLink& link);

    // Reads the keyboard's default key matrix and status block. kExitOk, or the exit code of
    // the failure, already reported.
    int Learn();

    ProfileContext& Context() { return m_context; }
    ProfileStore& Store() { return m_store; }
    KeyboardFacts& Facts() { return m_facts; }
    CtlProfileUi& Ui() { return m_ui; }
    // The default key matrix as read by Learn: one key-map block of the keyboard's variant.
    const KeyMatrix& DefaultMatrix() const { return m_defaultMatrix; }

private:
    CtlContext& m_ctl;
    DeviceLink& m_link;
    KeyboardFacts m_facts;
    ProfileStore m_store;
    ProfileStore m_snapshot;
    CtlProfileUi m_ui;
    ProfileContext m_context;
    KeyMatrix m_defaultMatrix{};
};

}  // namespace vantor::ctl
