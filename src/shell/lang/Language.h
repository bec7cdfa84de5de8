#pragma once

#include <QString>

namespace vantor {

// Supported languages, in index order: 0 = Simplified Chinese (0x0804), 1 = English (0x0409).
inline constexpr int kLanguageCount = 2;

// The language id in use: the stored "dwLanguageId", or the system language mapped to a
// supported id on first use (then stored).
unsigned GetLanguageId();

// 0 or 1: the position of GetLanguageId() among the supported ids; an unsupported id gives 0.
int GetLanguageIndex();

// Stores the supported id of the index as "dwLanguageId" (an index of 2 or more stores 0x0804).
void SetLanguageIndex(int index);

// Text of a key in section "TEXT", "LIGHT" or "MODE" of the language file of the index
// (an index of 2 or more is taken as 0). "#Error" when the key, section or file is missing;
// the empty text for a key present with an empty value; at most 259 characters.
QString LanguageText(const QString& key, int index = GetLanguageIndex());
QString LightSectionText(const QString& key, int index = GetLanguageIndex());
QString ModeSectionText(const QString& key, int index = GetLanguageIndex());

}  // namespace vantor
