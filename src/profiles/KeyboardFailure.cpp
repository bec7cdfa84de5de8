#include "profiles/KeyboardFailure.h"

#include "device/DeviceLink.h"
#include "shell/lang/Language.h"

namespace vantor {

KeyboardFailure KeyboardFailureOf(ProfileResult result, DeviceLink& link) {
    switch (result) {
    case ProfileResult::KeyboardRefused: return KeyboardFailure::Refused;
    case ProfileResult::NothingToDo:
    case ProfileResult::KeyboardNoAnswer: break;
    default: return KeyboardFailure::None;
    }
    const bool gone = !link.IsDeviceOpen() || !link.VendorDevice().Probe();
    return gone ? KeyboardFailure::Disconnected : KeyboardFailure::NoAnswer;
}

QString KeyboardFailureText(KeyboardFailure failure, bool changesKept) {
    QString cause;
    switch (failure) {
    case KeyboardFailure::None: return {};
    case KeyboardFailure::NoAnswer:
        cause = LanguageText(QStringLiteral("KEYBOARD_NO_ANSWER"));
        break;
    case KeyboardFailure::Refused:
        cause = LanguageText(QStringLiteral("KEYBOARD_REFUSED"));
        break;
    case KeyboardFailure::Disconnected:
        cause = LanguageText(QStringLiteral("KEYBOARD_GONE"));
        break;
    }
    if (!changesKept) return cause;
    return cause + QLatin1Char('\n') + LanguageText(QStringLiteral("APPLY_CHANGES_KEPT"));
}

}  // namespace vantor
