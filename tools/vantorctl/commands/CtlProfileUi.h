#pragma once

#include "profiles/ProfileUi.h"

#include <QStringList>
#include <QTextStream>

namespace vantor::ctl {

// The profile operations' windows on a terminal: a message is its language text on the error
// stream, a question is answered No. The keys shown are kept, so a command can tell why an
// operation failed.
class CtlProfileUi : public ProfileUi {
public:
    explicit CtlProfileUi(QTextStream& err) : m_err(err) {}

    void ShowMessage(const QString& languageKey, const QString& argument = {}) override;
    bool AskYesNo(const QString& languageKey) override;

    bool Shown(const QString& languageKey) const { return m_shown.contains(languageKey); }

private:
    QTextStream& m_err;
    QStringList m_shown;
};

}  // namespace vantor::ctl
