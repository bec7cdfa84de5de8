#pragma once

#include "CtlContext.h"

#include "device/StatusCommands.h"
#include "macros/KeyboardMacro.h"

#include <QJsonArray>
#include <QJsonObject>

namespace vantor::ctl {

// Writes the object as the command's one JSON document on the output stream.
void WriteJson(CtlContext& context, const QJsonObject& document);

// What the status block says: activeProfile, macroCapacityBytes and effects (the offered
// effect numbers).
QJsonObject StatusBlockJson(const StatusBlock& status);

// A macro as the keyboard's macro area holds it: name, plays and its actions, each with key,
// press and delayMs.
QJsonObject MacroJson(const KeyboardMacro& macro);

// The action's delay in milliseconds (the area keeps 10 ms units).
uint32_t MacroActionDelayMs(const KeyboardMacroAction& action);

}  // namespace vantor::ctl
