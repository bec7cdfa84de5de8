#include "update/FirmwareUpdate.h"

#include "device/BootCommands.h"
#include "device/CommandResult.h"
#include "profiles/ProfileFile.h"
#include "shell/lang/Language.h"

#include <QFileInfo>
#include <QProcess>

#include <mutex>

namespace vantor {

QString UpdateMessage(UpdateResult result) {
    switch (result) {
    case UpdateResult::Started: return {};
    case UpdateResult::NoUpdater: return LanguageText(QStringLiteral("UPDATE_NO_FILE"));
    case UpdateResult::BootModeFailed: return LanguageText(QStringLiteral("UPDATE_NO_BOOT_MODE"));
    case UpdateResult::CannotStart: break;
    }
    return LanguageText(QStringLiteral("UPDATE_CANNOT_START"));
}

QString BackupMessage(bool written) {
    return LanguageText(written ? QStringLiteral("UPDATE_BACKUP_DONE") : QStringLiteral("UPDATE_BACKUP_FAILED"));
}

bool IsStartableUpdater(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo file(path);
    return file.exists() && file.isFile() && file.isExecutable();
}

bool StartDetachedProgram(const QString& program, const QString& folder) {
    return QProcess::startDetached(program, {}, folder);
}

FirmwareUpdate::FirmwareUpdate(QString packageFolder, ProgramStarter starter)
    : m_packageFolder(std::move(packageFolder)), m_starter(std::move(starter)) {}

UpdateResult FirmwareUpdate::Update(DeviceLink& link) {
    // Everything that can be checked is checked before the request: once it is written the
    // keyboard has left, and nothing here can bring it back.
    if (!IsStartableUpdater(m_chosen)) return UpdateResult::NoUpdater;
    if (EnterBootMode(link) != CommandResult::Ok) return UpdateResult::BootModeFailed;
    const QString updater = QFileInfo(m_chosen).absoluteFilePath();
    m_chosen.clear();
    // A missing package folder would make the start fail with the keyboard already in its
    // boot mode: the updater then runs in its own folder.
    const QString folder = QFileInfo(m_packageFolder).isDir() ? m_packageFolder
                                                               : QFileInfo(updater).absolutePath();
    return m_starter(updater, folder) ? UpdateResult::Started : UpdateResult::CannotStart;
}

bool BackupProfile(ProfileStore& store, const QString& path) {
    std::lock_guard guard(store.Lock());
    return SaveProfileToPath(store, path);
}

}  // namespace vantor
