#pragma once

#include "keyassign/UserMessages.h"

#include <QString>
#include <QStringList>

namespace vantor::test {

// Keeps the language keys of the messages shown, in order, with their arguments.
class RecordingMessages : public UserMessages {
public:
    void ShowMessage(const QString& languageKey, const QString& argument = {}) override {
        shown << languageKey;
        arguments << argument;
    }
    QStringList shown;
    QStringList arguments;
};

}  // namespace vantor::test
