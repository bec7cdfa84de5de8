#include "commands/CtlProfileUi.h"

#include "lighting/ProfileLighting.h"
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

CommandResult CtlProfileUi::FollowKeyboard(int activeProfile) {
    m_colours.SetProfile(activeProfile);
    return m_panel.ReadEffectList();
}

void CtlProfileUi::ResetProfileColours(int profile) { ResetProfileColourFile(m_panel, m_colours, profile); }

CommandResult CtlProfileUi::RefreshProfileLighting(int profile) {
    return vantor::RefreshProfileLighting(m_panel, m_colours, profile);
}

}  // namespace vantor::ctl
