#pragma once

#include <QString>

#include <optional>

namespace vantor {

// The INI file of one skinned window, for reading its "SCREEN" strings.
class SkinIni {
public:
    // Texts longer than this are cut (a 2,047-character buffer with its terminator).
    static constexpr qsizetype kMaxText = 2046;

    explicit SkinIni(QString path);

    const QString& Path() const { return m_path; }

    // The value (or the default when missing), cut to kMaxText characters; nothing when that
    // is empty.
    std::optional<QString> ReadString(const QString& section, const QString& key,
                                      const QString& defaultValue = {}) const;

private:
    QString m_path;
};

}  // namespace vantor
