#pragma once

#include "shell/FileSnapshot.h"

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace vantor {

// The key of the application's own values ("dwLanguageId").
inline constexpr char16_t kAppRegistryKey[] = u"Software\\Halvex Q780DX Keyboard";
// The root under which the application settings' sections live.
inline constexpr char16_t kSettingsRoot[] = u"Vantor_Morvel";

// One stored value with its type. A value of a type this program does not write (found in a
// hand-edited store) reads as Other and is kept as it is.
struct SettingValue {
    enum class Type { Dword, String, Other };
    Type type = Type::Other;
    uint32_t dword = 0;
    QString string;

    static SettingValue Dword(uint32_t value) { return {Type::Dword, value, {}}; }
    static SettingValue String(QString value) { return {Type::String, 0, std::move(value)}; }
};

// The per-user settings, keyed like the registry: a key path ("Software\…") holding named,
// typed values. Key paths and value names match without regard to letter case and keep the
// spelling they were first written with.
//
// The store is one JSON file, so that a DWORD and a string stay different:
//   {"format": 1, "keys": {"Software\\Halvex Q780DX Keyboard":
//       {"dwLanguageId": {"type": "dword", "data": 1033}}}}
// A missing or unreadable store reads as empty. Writes are atomic and hold a lock file so that
// two processes do not lose each other's values; a write fails, changing nothing, when the
// folder cannot be written or the existing store cannot be read. A store that is not valid JSON
// is kept beside as "<file>.bad" before the first write replaces it.
// Reads are cached until the file changes (see FileSnapshot). Safe to use from any thread.
class SettingsStore {
public:
    explicit SettingsStore(QString filePath);

    // The store of AppPaths::Current(); follows the paths when they are replaced.
    static std::shared_ptr<SettingsStore> Current();

    const QString& FilePath() const { return m_filePath; }

    std::optional<SettingValue> Value(const QString& key, const QString& name) const;
    // The value only when it has that type.
    std::optional<uint32_t> ReadDword(const QString& key, const QString& name) const;
    std::optional<QString> ReadString(const QString& key, const QString& name) const;

    bool WriteDword(const QString& key, const QString& name, uint32_t value);
    bool WriteString(const QString& key, const QString& name, const QString& value);
    bool Write(const QString& key, const QString& name, const SettingValue& value);
    // Removing a value that is not there succeeds.
    bool Remove(const QString& key, const QString& name);

private:
    enum class LoadResult { Missing, Loaded, Unreadable, Malformed };

    static LoadResult ParseKeys(const std::optional<QByteArray>& bytes, QJsonObject* keys);
    QJsonObject Keys() const;
    LoadResult LoadFresh(QJsonObject* keys) const;
    bool Modify(const QString& key, const QString& name, const std::optional<SettingValue>& value);

    QString m_filePath;
    mutable std::mutex m_mutex;
    mutable FileSnapshot m_snapshot;
    mutable QJsonObject m_keys;
};

}  // namespace vantor
