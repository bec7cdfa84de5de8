#pragma once

#include "shell/IniDocument.h"

#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringList>

#include <optional>
#include <utility>

namespace vantor {

// One INI file on disk, read and written by the rules of IniDocument. Reads go through the
// process-wide IniFileCache, so a file is parsed again only after it has changed. A missing or
// unreadable file reads as empty.
class IniFile {
public:
    // Files larger than this are not INI files of this program; they read as missing.
    static constexpr qsizetype kMaxFileSize = 16 * 1024 * 1024;

    explicit IniFile(QString path);

    const QString& Path() const { return m_path; }
    bool Exists() const;

    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue,
                       qsizetype capacity = IniDocument::kDefaultCapacity) const;
    QStringList SectionNames() const;
    QStringList KeyNames(const QString& section) const;

    // Sets one value and replaces the file atomically: after a failure the old file is intact.
    // A missing file is created (UTF-16 LE with BOM); its folder must exist. Fails when the
    // existing file cannot be read, so that nothing it held is lost.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Sets several values of one section in one atomic replacement; nothing is written when
    // any of them cannot be set.
    bool WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);

    // The whole file, or nothing when it is missing, unreadable, not a regular file or larger
    // than kMaxFileSize.
    static std::optional<QByteArray> ReadBytes(const QString& path);

private:
    QString m_path;
};

}  // namespace vantor
