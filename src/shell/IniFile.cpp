#include "shell/IniFile.h"

#include "shell/AtomicFile.h"
#include "shell/FileSnapshot.h"
#include "shell/IniFileCache.h"

#include <QFileInfo>

#include <mutex>

namespace vantor {

namespace {

// Serialises read-modify-write cycles of this process, so two threads writing the same file
// do not lose each other's value.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

bool IniFile::Exists() const { return FileStamp::Of(m_path).exists; }

std::optional<QString> IniFile::Value(const QString& section, const QString& key) const {
    const auto document = IniFileCache::Instance().Document(m_path);
    return document ? document->Value(section, key) : std::nullopt;
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue, qsizetype capacity) const {
    return IniDocument::CutToCapacity(Value(section, key).value_or(defaultValue), capacity);
}

QStringList IniFile::SectionNames() const {
    const auto document = IniFileCache::Instance().Document(m_path);
    return document ? document->SectionNames() : QStringList();
}

QStringList IniFile::KeyNames(const QString& section) const {
    const auto document = IniFileCache::Instance().Document(m_path);
    return document ? document->KeyNames(section) : QStringList();
}

std::optional<QByteArray> IniFile::ReadBytes(const QString& path) {
    return FileSnapshot::ReadRegularFile(path, kMaxFileSize);
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    return WriteStrings(section, {{key, value}});
}

bool IniFile::WriteStrings(const QString& section,
                           const QList<std::pair<QString, QString>>& values) {
    std::lock_guard lock(WriteMutex());
    IniDocument document;
    std::optional<QByteArray> original;
    if (QFileInfo::exists(m_path)) {
        original = ReadBytes(m_path);
        if (!original) {
            return false;
        }
        document = IniDocument::Parse(*original);
    }
    for (const auto& [key, value] : values) {
        if (!document.SetValue(section, key, value)) {
            return false;
        }
    }
    if (original && document.Bytes() == *original) {
        return true;
    }
    return WriteFileAtomically(m_path, document.Bytes());
}

}  // namespace vantor
