#pragma once

#include "profiles/ProfileContext.h"
#include "profiles/ProfileResult.h"

#include <QString>

#include <vector>

namespace vantor {

// One row of the profile manager's list: a profile file by its name (no folder, no extension)
// and its folder (ending in '/'), and whether the row is checked as the active profile.
struct ProfileRow {
    QString name;
    QString folder;
    bool checked = false;
    int profile = -1;  // the on-board profile a row of the working profile file stands for

    static ProfileRow OfPath(const QString& path);
    // What the list shows: the on-board profile's name, or the file's name for any other row.
    QString ShownName() const;
    // What the settings record for the row: folder, name and ".vpf".
    QString SettingsPath() const { return folder + name + QStringLiteral(".vpf"); }
};

// The profile manager without its window: the list of profile files that stand for the
// on-board profiles, which one is checked (at most one), whether there is something to apply,
// and what Apply does to the settings, the keyboard and the working store.
class ProfileManager {
public:
    // Settings section and value names: "PROFILE00" holds the row count, "PROFILE01"... the
    // rows' paths. They are written only; nothing reads them back.
    static constexpr char16_t kSection[] = u"PROFILES";
    static QString ValueName(int index);

    ProfileManager() = default;
    ~ProfileManager() { Close(); }
    ProfileManager(const ProfileManager&) = delete;
    ProfileManager& operator=(const ProfileManager&) = delete;

    // Opening: one row per on-board profile, each the working profile file (it holds them
    // all); the active profile's row checked when it is known; nothing to apply. Counts as an
    // open profile manager until Close.
    void Open(int activeProfile);
    // Nothing to apply any more, and no longer counted as open. Safe to call twice.
    void Close();
    bool IsOpen() const { return m_open; }
    // How many profile managers are open in the process; a profile switch asks before it
    // discards what one has not applied.
    static int OpenCount();

    const std::vector<ProfileRow>& Rows() const { return m_rows; }
    // The first checked row, -1 when none is.
    int CheckedRow() const;
    bool CanApply() const { return m_canApply; }

    // Add: a new default profile file at the path and a row for it. False, and no row, when
    // the file could not be written.
    bool AddNew(const QString& path);
    // Load: a row for an existing file; the file is not read.
    void AddExisting(const QString& path);
    // Delete: the row goes, its file stays. False when there is no such row.
    bool Remove(int row);
    // Checking a row unchecks every other; unchecking leaves none checked. Both leave
    // something to apply.
    void SetChecked(int row, bool checked);
    // A profile switch made while the manager is open: that profile's row is the checked one
    // and nothing is left to apply.
    void FollowSwitch(int profile);
    void DisableApply() { m_canApply = false; }

    // Apply: the rows' paths and their count go to the settings, the checked row's profile (-1
    // when none is checked or the row is past the on-board profiles, which changes nothing)
    // becomes the keyboard's active profile, the store is rebuilt from the keyboard (the
    // working profile file when it is there but cannot be read, the default profile without
    // one), the profile menu follows,
    // and nothing is left to apply here or in the main window. A switch the keyboard did not
    // take leaves the check on the profile it is on (none while that is unknown).
    struct Applied {
        bool settingsWritten;   // false when the settings could not be written (the rest is
                                // done regardless)
        ProfileResult switched; // the switch's result; Done when no switch was asked for
    };
    Applied Apply(ProfileContext& context);

private:
    void Append(const QString& path);

    std::vector<ProfileRow> m_rows;
    bool m_canApply = false;
    bool m_open = false;
};

}  // namespace vantor
