// The settings store is a file in the user's config folder that anyone may edit. Any bytes
// must read as values of their types (or nothing), and a write must land and read back while
// the values it does not touch stay as they were.

#include "FuzzFolder.h"
#include "shell/SettingsStore.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    const QString path = fuzz::FuzzFolder::Instance().Paths().SettingsFile();
    QFile::remove(path + QStringLiteral(".bad"));
    fuzz::FuzzFolder::Put(path, data, size);

    SettingsStore store(path);
    const QString key = QString::fromUtf16(kAppRegistryKey);
    const std::optional<SettingValue> language = store.Value(key, QStringLiteral("dwLanguageId"));
    const std::optional<QString> other =
        store.ReadString(QStringLiteral("Software\\Other"), QStringLiteral("Name"));
    (void)store.ReadDword(QStringLiteral("software\\halvex q780dx keyboard"),
                          QStringLiteral("DWLANGUAGEID"));

    if (!store.WriteDword(key, QStringLiteral("dwFuzz"), 0x0409))
        return 0;
    if (store.ReadDword(key, QStringLiteral("dwFuzz")) != 0x0409u)
        std::abort();
    // A store that read as valid keeps its other values; one that did not is kept beside.
    const bool keptBeside = QFile::exists(path + QStringLiteral(".bad"));
    const std::optional<SettingValue> after = store.Value(key, QStringLiteral("dwLanguageId"));
    if (language && !keptBeside &&
        (!after || after->type != language->type || after->dword != language->dword ||
         after->string != language->string)) {
        std::abort();
    }
    if (!keptBeside &&
        store.ReadString(QStringLiteral("Software\\Other"), QStringLiteral("Name")) != other) {
        std::abort();
    }
    return 0;
}
