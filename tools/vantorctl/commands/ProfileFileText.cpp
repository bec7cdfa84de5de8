#include "commands/ProfileFileText.h"

namespace vantor::ctl {

QString ProfileCheckText(ProfileCheck check) {
    switch (check) {
    case ProfileCheck::Valid: return QStringLiteral("valid");
    case ProfileCheck::Missing: return QStringLiteral("no such file");
    case ProfileCheck::CannotOpen: return QStringLiteral("cannot be opened");
    case ProfileCheck::TooShort: return QStringLiteral("invalid: shorter than a profile file");
    case ProfileCheck::BadHeader: return QStringLiteral("invalid: a header field is wrong");
    case ProfileCheck::CutShort: return QStringLiteral("invalid: shorter than its header says");
    case ProfileCheck::OutOfMemory: break;
    }
    return QStringLiteral("out of memory");
}

}  // namespace vantor::ctl
