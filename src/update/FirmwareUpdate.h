#pragma once

#include "device/DeviceLink.h"
#include "profiles/ProfileStore.h"

#include <QString>

#include <functional>

namespace vantor {

// How an update ended.
enum class UpdateResult {
    Started,         // boot mode entered and the updater started
    NoUpdater,       // no startable updater chosen: nothing was sent
    BootModeFailed,  // the boot-mode request could not be written: nothing started
    CannotStart,     // boot mode entered, but the updater did not start
};

// The message for a result in the current language; empty for Started.
QString UpdateMessage(UpdateResult result);
// The message for a backup that was, or was not, written.
QString BackupMessage(bool written);

// Whether the path names an updater that can be started: an existing regular file (a link to
// one counts) that the user may execute.
bool IsStartableUpdater(const QString& path);

// Starts a program on its own, in a folder, with no arguments; whether it started.
using ProgramStarter = std::function<bool(const QString& program, const QString& folder)>;
bool StartDetachedProgram(const QString& program, const QString& folder);

// The firmware update hand-off without its window: the updater the user chose, and the one
// order that keeps the keyboard from being stranded in its boot mode. Entering boot mode cannot
// be undone from here, so everything that can be checked is checked before the request goes
// out; then the request, then the updater.
class FirmwareUpdate {
public:
    explicit FirmwareUpdate(QString packageFolder, ProgramStarter starter = &StartDetachedProgram);

    // Where the updaters of firmware packages lie; the choice of an updater starts there.
    const QString& PackageFolder() const { return m_packageFolder; }

    // The chosen updater; empty when none is.
    const QString& Chosen() const { return m_chosen; }
    // The result of choosing (empty when the choice was cancelled).
    void Choose(const QString& path) { m_chosen = path; }
    // Cancel update: no updater chosen.
    void Forget() { m_chosen.clear(); }

    // Update: with a startable updater chosen, the boot-mode request is written (no reply is
    // awaited), and then the updater is started in the package folder (its own folder when
    // there is no package folder) with no arguments.
    // After every start attempt no updater is chosen; a refusal before it keeps the choice.
    UpdateResult Update(DeviceLink& link);

private:
    QString m_packageFolder;
    ProgramStarter m_starter;
    QString m_chosen;
};

// Backup: the working store written to a profile file, holding the store's lock; whether it
// was written (on failure the file is as it was).
bool BackupProfile(ProfileStore& store, const QString& path);

}  // namespace vantor
