#pragma once

#include <QLocale>

#include <optional>

namespace vantor {

// The Windows language id of a locale (primary language in the low 10 bits, sub-language
// above), the form in which language choices are stored. The "C" locale counts as English
// (United States); a language without an id gives 0.
unsigned WindowsLanguageId(const QLocale& locale);

// The system's language id: of QLocale::system(), or of the locale set for tests.
unsigned SystemLanguageId();

// Replaces the system locale (for tests); nothing restores QLocale::system().
void SetSystemLocaleOverride(std::optional<QLocale> locale);
std::optional<QLocale> SystemLocaleOverride();

// The supported language id (0x0804 or 0x0409) that a system language id becomes: Chinese
// (Hong Kong) and every English variant become English or Chinese as their language says,
// anything else Simplified Chinese.
unsigned SupportedLanguageOf(unsigned systemLanguageId);

}  // namespace vantor
