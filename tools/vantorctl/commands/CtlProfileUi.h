#pragma once

#include "profiles/ProfileUi.h"

#include <QTextStream>

namespace vantor::ctl {

// The profile operations' windows on a terminal: a message is its language text on the error
// stream, a question is answered No.
class CtlProfileUi : public ProfileUi {
public:
    explicit CtlProfileUi(QTextStream& err) : m_err(err) {}

    void ShowMessage(const QString& languageKey, const QString& argument = {}) override;
    bool AskYesNo(const QString& languageKey) override;

private:
    QTextStream& m_err;
};

}  // namespace vantor::ctl
