#include "commands/CtlProfileUi.h"

#include "shell/lang/Language.h"

#include <QRegularExpression>

namespace vantor::ctl {

QString FormatLanguageText(const QString& languageKey, const QString& argument) {
    QString text = LanguageText(languageKey);
    static const QRegularExpression placeholder(QStringLiteral("%[sd]"));
    const QRegularExpressionMatch match = placeholder.match(text);
    if (match.hasMatch()) {
        text.replace(match.capturedStart(), match.capturedLength(), argument);
    }
    return text;
}

void CtlProfileUi::ShowMessage(const QString& languageKey, const QString& argument) {
    m_shown << languageKey;
    m_err << "vantorctl: " << FormatLanguageText(languageKey, argument) << '\n';
    m_err.flush();
}

bool CtlProfileUi::AskYesNo(const QString& languageKey) {
    m_shown << languageKey;
    m_err << "vantorctl: " << LanguageText(languageKey) << " (answered No)\n";
    m_err.flush();
    return false;
}

}  // namespace vantor::ctl
