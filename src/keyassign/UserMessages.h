#pragma once

#include <QString>

namespace vantor {

// How core operations speak to the user: an OK box with the current language's text for a
// language key, the argument filling its one "%s" or "%d" when the text is a format. The
// windows show a message box; the command line prints the text.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(const QString& languageKey, const QString& argument = {}) = 0;
};

}  // namespace vantor
