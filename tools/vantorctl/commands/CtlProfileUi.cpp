#include "commands/CtlProfileUi.h"

#include "shell/lang/Language.h"

namespace vantor::ctl {

void CtlProfileUi::ShowMessage(const QString& languageKey, const QString& argument) {
    m_err << "vantorctl: " << FormatLanguageText(languageKey, argument) << '\n';
    m_err.flush();
}

bool CtlProfileUi::AskYesNo(const QString& languageKey) {
    m_err << "vantorctl: " << LanguageText(languageKey) << " (answered No)\n";
    m_err.flush();
    return false;
}

}  // namespace vantor::ctl
