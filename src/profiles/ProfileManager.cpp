#include "profiles/ProfileManager.h"

#include "macros/StoreKeyRecords.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileMenu.h"
#include "shell/AppSettings.h"
#include "shell/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>

namespace vantor {

namespace {

std::atomic<int> g_openCount{0};

}  // namespace

ProfileRow ProfileRow::OfPath(const QString& path) {
    const QFileInfo file(path);
    QString folder = QDir::cleanPath(file.absolutePath());
    if (!folder.endsWith(u'/')) folder += u'/';
    return ProfileRow{file.completeBaseName(), folder, false};
}

QString ProfileRow::ShownName() const { return profile >= 0 ? OnBoardProfileName(profile) : name; }

QString ProfileManager::ValueName(int index) {
    return QStringLiteral("PROFILE%1").arg(index, 2, 10, QLatin1Char('0'));
}

void ProfileManager::Open(int activeProfile) {
    m_rows.clear();
    const QString working = AppPaths::Current()->WorkingProfileFile();
    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        ProfileRow row = ProfileRow::OfPath(working);
        row.checked = profile == activeProfile;
        row.profile = profile;
        m_rows.push_back(row);
    }
    m_canApply = false;
    if (!m_open) ++g_openCount;
    m_open = true;
}

void ProfileManager::Close() {
    m_canApply = false;
    if (m_open) --g_openCount;
    m_open = false;
}

int ProfileManager::OpenCount() { return g_openCount; }

int ProfileManager::CheckedRow() const {
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].checked) return int(row);
    }
    return -1;
}

void ProfileManager::Append(const QString& path) {
    m_rows.push_back(ProfileRow::OfPath(path));
    m_canApply = true;
}

bool ProfileManager::AddNew(const QString& path) {
    if (CreateDefaultProfile(path, 0) != 1) return false;
    Append(path);
    return true;
}

void ProfileManager::AddExisting(const QString& path) { Append(path); }

bool ProfileManager::Remove(int row) {
    if (row < 0 || row >= int(m_rows.size())) return false;
    m_rows.erase(m_rows.begin() + row);
    m_canApply = true;
    return true;
}

void ProfileManager::SetChecked(int row, bool checked) {
    if (row < 0 || row >= int(m_rows.size())) return;
    for (size_t other = 0; other < m_rows.size(); ++other) {
        m_rows[other].checked = checked && int(other) == row;
    }
    m_canApply = true;
}

void ProfileManager::FollowSwitch(int profile) {
    for (size_t row = 0; row < m_rows.size(); ++row) m_rows[row].checked = int(row) == profile;
    m_canApply = false;
}

ProfileManager::Applied ProfileManager::Apply(ProfileContext& context) {
    const QString section = QString::fromUtf16(kSection);
    bool written = true;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        written &= WriteAppSetting(section, ValueName(int(row) + 1), m_rows[row].SettingsPath());
    }
    written &= WriteAppSetting(section, ValueName(0), QString::number(m_rows.size()));
    // Rows past the on-board profiles stand for none of them: the keyboard is not asked to
    // make a profile it does not have active.
    const int checked = CheckedRow();
    const int wanted = checked < kOnBoardProfileCount ? checked : -1;
    const ProfileResult switched = SetCurrentProfile(context, wanted);
    ReloadPresentProfile(context, false);
    RebuildProfileMenu(context);
    const bool failed = wanted >= 0 && switched != ProfileResult::Done;
    // The rows do not show a switch that did not happen.
    if (failed) FollowSwitch(context.device.ActiveProfile());
    m_canApply = false;
    context.ui.SetUnappliedChanges(false);
    return {written, failed ? switched : ProfileResult::Done};
}

}  // namespace vantor
