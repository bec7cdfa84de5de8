#pragma once

#include "lighting/KeyColours.h"
#include "lighting/LightingPanel.h"
#include "profiles/ProfileUi.h"

#include <QTextStream>

namespace vantor::ctl {

// The profile operations' windows on a terminal: a message is its language text on the error
// stream, a question is answered No.
// The lighting the profile operations refresh and reset goes to the keyboard as the window
// sends it, from a panel and colours of its own.
class CtlProfileUi : public ProfileUi {
public:
    CtlProfileUi(QTextStream& err, DeviceLink& link) : m_err(err), m_panel(link), m_colours(link) {}

    // What the window knows of the keyboard's lighting once it arrived: the effect list, and
    // the keyboard's active profile as the profile whose colours are edited.
    CommandResult FollowKeyboard(int activeProfile);

    void ShowMessage(const QString& languageKey, const QString& argument = {}) override;
    bool AskYesNo(const QString& languageKey) override;
    void ResetProfileColours(int profile) override;
    CommandResult RefreshProfileLighting(int profile) override;

private:
    QTextStream& m_err;
    LightingPanel m_panel;
    KeyColours m_colours;
};

}  // namespace vantor::ctl
