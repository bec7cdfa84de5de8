#pragma once

#include <QString>

namespace vantor {

// The application settings: sections of string values under the settings root and the
// application name ("Software\Vantor_Morvel\Halvex Q780DX Keyboard\<section>"), in the store
// of the current paths.

// The stored string, or the default when the value is missing or is not a string.
QString ReadAppSetting(const QString& section, const QString& key, const QString& defaultValue);

// False when the store cannot be written; the old value is then unchanged.
bool WriteAppSetting(const QString& section, const QString& key, const QString& value);

// The store key of a section.
QString AppSettingsKey(const QString& section);

}  // namespace vantor
