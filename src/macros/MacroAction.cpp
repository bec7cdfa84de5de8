#include "macros/MacroAction.h"

namespace vantor {

QString DirectionText(uint16_t direction)
{
    return direction == kMacroRelease ? QStringLiteral("  \u2191") : QStringLiteral("\u2193");
}

}  // namespace vantor
