#pragma once

#include "device/HidBackend.h"

#include <QString>

#include <memory>

namespace vantor {

// Where vantor-sim listens unless told otherwise: "$XDG_RUNTIME_DIR/vantor-sim.sock", or
// "/tmp/vantor-sim-UID.sock" when there is no runtime folder.
QString DefaultSimSocketPath();

// The emulator's socket backend when one is asked for: by the socket path of a --sim option
// (simSocket), else by the environment variable VANTOR_SIM holding the path. Null when
// neither asks, and the caller uses the real keyboard; the emulator is never chosen silently.
std::unique_ptr<HidBackend> SimBackendFromEnvironment(const QString& simSocket = QString());

}  // namespace vantor
