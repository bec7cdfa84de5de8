#include "shell/AppSettings.h"

#include "shell/Paths.h"
#include "shell/SettingsStore.h"

namespace vantor {

QString AppSettingsKey(const QString& section) {
    return QStringLiteral("Software\\") + QString::fromUtf16(kSettingsRoot) + u'\\' +
           QString::fromUtf16(kApplicationName) + u'\\' + section;
}

QString ReadAppSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return SettingsStore::Current()->ReadString(AppSettingsKey(section), key).value_or(defaultValue);
}

bool WriteAppSetting(const QString& section, const QString& key, const QString& value) {
    return SettingsStore::Current()->WriteString(AppSettingsKey(section), key, value);
}

}  // namespace vantor
