#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

class EmulatedKeyboard;

struct SimControlResult {
    bool accepted = false;
    QString text;  // the log for "log", the reason when refused, else empty
};

// One control action on an emulated keyboard, as the emulator's "ctl" command line gives it:
//   plug | unplug
//   switch N               the profile key: active profile N (0-2), event 0x0402
//   light                  the effect key: next effect, event 0x0401
//   event CODE             any event code, hexadecimal with 0x or decimal
//   fault none|noreply|stale|ff|fe|writefail
//   fault late [MS [JITTER]]  replies MS milliseconds late (400 when not given), give or take
//                          up to JITTER
//   (stale: each request is answered first with the reply to the one before it)
//   fault unplug [N]       leave after N more requests (0 when not given)
//   log                    every report so far, one line each: "> " or "< " and 128 hex digits
SimControlResult RunSimControl(EmulatedKeyboard& keyboard, const QStringList& action);

}  // namespace vantor
