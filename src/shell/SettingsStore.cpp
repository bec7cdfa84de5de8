#include "shell/SettingsStore.h"

#include "shell/AtomicFile.h"
#include "shell/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLockFile>

namespace vantor {

namespace {

constexpr int kFormat = 1;
constexpr int kLockTimeoutMs = 2000;
constexpr qsizetype kMaxStoreSize = 4 * 1024 * 1024;

const QString kKeys = QStringLiteral("keys");
const QString kType = QStringLiteral("type");
const QString kData = QStringLiteral("data");
const QString kDwordType = QStringLiteral("dword");
const QString kStringType = QStringLiteral("string");

// The stored spelling of a name that matches without regard to case, or the name itself.
QString StoredName(const QJsonObject& object, const QString& name) {
    if (object.contains(name)) {
        return name;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
            return it.key();
        }
    }
    return name;
}

SettingValue FromJson(const QJsonValue& json) {
    const QJsonObject object = json.toObject();
    const QString type = object.value(kType).toString();
    const QJsonValue data = object.value(kData);
    if (type == kDwordType && data.isDouble()) {
        const double number = data.toDouble();
        if (number >= 0 && number <= 4294967295.0 && number == static_cast<double>(static_cast<uint64_t>(number))) {
            return SettingValue::Dword(static_cast<uint32_t>(number));
        }
    } else if (type == kStringType && data.isString()) {
        return SettingValue::String(data.toString());
    }
    return SettingValue{};
}

QJsonObject ToJson(const SettingValue& value) {
    if (value.type == SettingValue::Type::Dword) {
        return {{kType, kDwordType}, {kData, static_cast<double>(value.dword)}};
    }
    return {{kType, kStringType}, {kData, value.string}};
}

}  // namespace

SettingsStore::SettingsStore(QString filePath) : m_filePath(std::move(filePath)) {}

std::shared_ptr<SettingsStore> SettingsStore::Current() {
    static std::mutex mutex;
    static std::shared_ptr<SettingsStore> current;
    const QString path = AppPaths::Current()->SettingsFile();
    std::lock_guard lock(mutex);
    if (!current || current->FilePath() != path) {
        current = std::make_shared<SettingsStore>(path);
    }
    return current;
}

SettingsStore::LoadResult SettingsStore::ParseKeys(const std::optional<QByteArray>& bytes,
                                                   QJsonObject* keys) {
    *keys = {};
    if (!bytes) {
        return LoadResult::Unreadable;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(kKeys).isObject()) {
        return LoadResult::Malformed;
    }
    *keys = document.object().value(kKeys).toObject();
    return LoadResult::Loaded;
}

SettingsStore::LoadResult SettingsStore::LoadFresh(QJsonObject* keys) const {
    if (!QFileInfo::exists(m_filePath)) {
        *keys = {};
        return LoadResult::Missing;
    }
    return ParseKeys(FileSnapshot::ReadRegularFile(m_filePath, kMaxStoreSize), keys);
}

QJsonObject SettingsStore::Keys() const {
    std::lock_guard lock(m_mutex);
    if (m_snapshot.Refresh(m_filePath, kMaxStoreSize)) {
        ParseKeys(m_snapshot.Exists() ? std::optional(m_snapshot.Bytes()) : std::nullopt, &m_keys);
    }
    return m_keys;
}

std::optional<SettingValue> SettingsStore::Value(const QString& key, const QString& name) const {
    const QJsonObject keys = Keys();
    const QJsonObject values = keys.value(StoredName(keys, key)).toObject();
    const QString stored = StoredName(values, name);
    if (!values.contains(stored)) {
        return std::nullopt;
    }
    return FromJson(values.value(stored));
}

std::optional<uint32_t> SettingsStore::ReadDword(const QString& key, const QString& name) const {
    const auto value = Value(key, name);
    if (!value || value->type != SettingValue::Type::Dword) {
        return std::nullopt;
    }
    return value->dword;
}

std::optional<QString> SettingsStore::ReadString(const QString& key, const QString& name) const {
    const auto value = Value(key, name);
    if (!value || value->type != SettingValue::Type::String) {
        return std::nullopt;
    }
    return value->string;
}

bool SettingsStore::WriteDword(const QString& key, const QString& name, uint32_t value) {
    return Write(key, name, SettingValue::Dword(value));
}

bool SettingsStore::WriteString(const QString& key, const QString& name, const QString& value) {
    return Write(key, name, SettingValue::String(value));
}

bool SettingsStore::Write(const QString& key, const QString& name, const SettingValue& value) {
    if (value.type == SettingValue::Type::Other) {
        return false;
    }
    return Modify(key, name, value);
}

bool SettingsStore::Remove(const QString& key, const QString& name) {
    return Modify(key, name, std::nullopt);
}

bool SettingsStore::Modify(const QString& key, const QString& name,
                           const std::optional<SettingValue>& value) {
    // Writers of this process queue here; the lock file only ever waits for other processes.
    static std::mutex processWriters;
    std::lock_guard writers(processWriters);
    std::lock_guard lock(m_mutex);
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QLockFile writerLock(m_filePath + QStringLiteral(".lock"));
    if (!writerLock.tryLock(kLockTimeoutMs)) {
        return false;
    }

    QJsonObject keys;
    switch (LoadFresh(&keys)) {
        case LoadResult::Unreadable:
            return false;
        case LoadResult::Malformed: {
            const QString kept = m_filePath + QStringLiteral(".bad");
            QFile::remove(kept);
            if (!QFile::copy(m_filePath, kept)) {
                return false;
            }
            break;
        }
        case LoadResult::Missing:
        case LoadResult::Loaded:
            break;
    }

    const QString storedKey = StoredName(keys, key);
    QJsonObject values = keys.value(storedKey).toObject();
    const QString storedName = StoredName(values, name);
    if (value) {
        values.insert(storedName, ToJson(*value));
    } else if (values.contains(storedName)) {
        values.remove(storedName);
    } else {
        return true;
    }
    keys.insert(storedKey, values);

    const QJsonObject root{{QStringLiteral("format"), kFormat}, {kKeys, keys}};
    if (!WriteFileAtomically(m_filePath, QJsonDocument(root).toJson(QJsonDocument::Indented))) {
        return false;
    }
    if (m_snapshot.Refresh(m_filePath, kMaxStoreSize)) {
        m_keys = keys;
    }
    return true;
}

}  // namespace vantor
