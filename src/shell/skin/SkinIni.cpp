#include "shell/skin/SkinIni.h"

#include "shell/IniFile.h"

namespace vantor {

SkinIni::SkinIni(QString path) : m_path(std::move(path)) {}

std::optional<QString> SkinIni::ReadString(const QString& section, const QString& key,
                                            const QString& defaultValue) const {
    QString text = IniFile(m_path).ReadString(section, key, defaultValue, kMaxText + 1);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace vantor
