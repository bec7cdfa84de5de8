#pragma once

#include "device/HidBackend.h"
#include "device/ReportTrace.h"

#include <QString>

#include <memory>

namespace vantor {

// The HID backend the program and vantorctl talk through: the emulator on its socket when it
// is asked for (a --sim socket path, or the environment variable VANTOR_SIM), otherwise the
// kernel's hidraw nodes. Never the emulator unasked. With a trace, every report either
// backend moves is written to it.
std::shared_ptr<HidBackend> SelectBackend(const QString& simSocket = QString(),
                                          std::shared_ptr<ReportTrace> trace = nullptr);

}  // namespace vantor
