#include "shell/lang/Language.h"

#include "shell/IniDocument.h"
#include "shell/IniFileCache.h"
#include "shell/Paths.h"
#include "shell/SettingsStore.h"
#include "shell/lang/SystemLanguage.h"

#include <QRegularExpression>

#include <mutex>

namespace vantor {

namespace {

constexpr unsigned kSupportedIds[kLanguageCount] = {0x0804, 0x0409};

// The choice made this run when the store could not keep it, per store file: it is used until
// the process ends, and the system language is not asked again.
struct UnsavedChoice {
    std::mutex mutex;
    QString storePath;
    unsigned id = 0;
};

UnsavedChoice& Unsaved() {
    static UnsavedChoice choice;
    return choice;
}

QString AppKey() { return QString::fromUtf16(kAppRegistryKey); }
QString IdName() { return QString::fromUtf16(kLanguageIdValueName); }

}  // namespace

unsigned LanguageIdOfIndex(int index) {
    return (index >= 0 && index < kLanguageCount) ? kSupportedIds[index] : kSupportedIds[0];
}

QString LanguageFileName(unsigned languageId) {
    return QStringLiteral("Lang") + QString::number(languageId, 16).toUpper().rightJustified(4, u'0') +
           QStringLiteral(".ini");
}

QString LanguageFilePath(int index) {
    return AppPaths::Current()->ResolveProgramFile(LanguageFileName(LanguageIdOfIndex(index)));
}

unsigned GetLanguageId() {
    const std::shared_ptr<SettingsStore> store = SettingsStore::Current();
    const std::optional<SettingValue> stored = store->Value(AppKey(), IdName());
    const bool isDword = stored && stored->type == SettingValue::Type::Dword;
    if (isDword && stored->dword != 0) {
        return stored->dword;
    }

    UnsavedChoice& unsaved = Unsaved();
    std::lock_guard lock(unsaved.mutex);
    if (unsaved.storePath == store->FilePath() && unsaved.id != 0) {
        return unsaved.id;
    }
    if (!isDword) {
        // Missing, or of another type: reset it to "no choice yet" before deciding.
        store->WriteDword(AppKey(), IdName(), 0);
    }
    const unsigned id = SupportedLanguageOf(SystemLanguageId());
    if (!store->WriteDword(AppKey(), IdName(), id)) {
        unsaved.storePath = store->FilePath();
        unsaved.id = id;
    }
    return id;
}

int GetLanguageIndex() {
    const unsigned id = GetLanguageId();
    for (int index = 0; index < kLanguageCount; ++index) {
        if (kSupportedIds[index] == id) {
            return index;
        }
    }
    return 0;
}

bool SetLanguageIndex(int index) {
    return SettingsStore::Current()->WriteDword(AppKey(), IdName(), LanguageIdOfIndex(index));
}

std::optional<QString> FindLanguageText(const QString& section, const QString& key, int index) {
    // The exact file name first: one stat() per lookup while it exists.
    const auto paths = AppPaths::Current();
    const QString name = LanguageFileName(LanguageIdOfIndex(index));
    auto document = IniFileCache::Instance().Document(paths->ProgramFolder() + u'/' + name);
    if (!document) {
        document = IniFileCache::Instance().Document(paths->ResolveProgramFile(name));
    }
    if (!document) {
        return std::nullopt;
    }
    const std::optional<QString> value = document->Value(section, key);
    if (!value) {
        return std::nullopt;
    }
    return IniDocument::CutToCapacity(*value, IniDocument::kDefaultCapacity);
}

QString LanguageSectionText(const QString& section, const QString& key, int index) {
    return FindLanguageText(section, key, index).value_or(QString::fromUtf16(kMissingLanguageText));
}

QString LanguageText(const QString& key, int index) {
    return LanguageSectionText(QStringLiteral("TEXT"), key, index);
}

QString LightSectionText(const QString& key, int index) {
    return LanguageSectionText(QStringLiteral("LIGHT"), key, index);
}

QString ModeSectionText(const QString& key, int index) {
    return LanguageSectionText(QStringLiteral("MODE"), key, index);
}

QString FormatLanguageText(const QString& key, const QString& argument) {
    QString text = LanguageText(key);
    static const QRegularExpression placeholder(QStringLiteral("%[sd]"));
    const QRegularExpressionMatch match = placeholder.match(text);
    if (match.hasMatch()) {
        text.replace(match.capturedStart(), match.capturedLength(), argument);
    }
    return text;
}

}  // namespace vantor
