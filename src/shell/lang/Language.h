#pragma once

#include <QString>

#include <optional>

namespace vantor {

// Supported languages, in index order: 0 = Simplified Chinese (0x0804), 1 = English (0x0409).
inline constexpr int kLanguageCount = 2;

// The language id in use: the stored "dwLanguageId", or the system language mapped to a
// supported id on first use (then stored). A value of another type is reset to 0 first. When
// the store cannot keep the choice, it still holds until the process ends.
unsigned GetLanguageId();

// 0 or 1: the position of GetLanguageId() among the supported ids; an unsupported id gives 0.
int GetLanguageIndex();

// Stores the supported id of the index as "dwLanguageId" (an index of 2 or more stores 0x0804).
// False when the store cannot be written.
bool SetLanguageIndex(int index);

// Text of a key in section "TEXT", "LIGHT" or "MODE" of the language file of the index
// (an index of 2 or more is taken as 0). "#Error" when the key, section or file is missing;
// the empty text for a key present with an empty value; at most 259 characters.
QString LanguageText(const QString& key, int index = GetLanguageIndex());
QString LightSectionText(const QString& key, int index = GetLanguageIndex());
QString ModeSectionText(const QString& key, int index = GetLanguageIndex());
// The "TEXT" text of a key with its first "%s" or "%d" replaced by the argument. The
// argument is put in as it stands, never through a printf: language files are editable.
QString FormatLanguageText(const QString& key, const QString& argument);

// The text of a lookup whose key, section or file is missing.
inline constexpr char16_t kMissingLanguageText[] = u"#Error";
// The name of the stored language choice in the application key.
inline constexpr char16_t kLanguageIdValueName[] = u"dwLanguageId";

// The supported id of an index (0x0804 for an index outside 0..1).
unsigned LanguageIdOfIndex(int index);
// "Lang%04X.ini" of a language id, and its path in the program folder.
QString LanguageFileName(unsigned languageId);
QString LanguageFilePath(int index);

// Text of a key in any section of the language file of the index, by the rules above.
QString LanguageSectionText(const QString& section, const QString& key, int index);

// The text of a key when the language file holds it, for callers that must tell a missing text
// from a stored "#Error" (at most 259 characters).
std::optional<QString> FindLanguageText(const QString& section, const QString& key, int index);

}  // namespace vantor
