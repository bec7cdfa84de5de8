// The profile manager's rules without its window: the rows, the single check, and what Apply
// does to the settings, the keyboard and the working store.

#include "profiles/ProfileManager.h"

#include "device/CommandReport.h"
#include "profiles/ProfileFile.h"
#include "shell/AppSettings.h"
#include "shell/Paths.h"

#include "ProfileRig.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::Rig;

class ProfileManagerTest : public ::testing::Test {
protected:
    QString UserFile(const QString& name) const {
        return AppPaths::Current()->UserFolder() + u'/' + name;
    }
    int StatusWrites() const {
        return int(std::ranges::count_if(rig.keyboard.Requests(), [](const CommandReport& r) {
            return r.command == kCmdWriteStatus;
        }));
    }
    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (const ProfileRow& row : manager.Rows()) checks.push_back(row.checked);
        return checks;
    }

    test::TestEnvironment env;
    Rig rig{'B'};
    ProfileManager manager;
};

TEST_F(ProfileManagerTest, OpeningShowsTheWorkingFileThriceAndChecksTheActiveProfile) {
    ASSERT_TRUE(AppPaths::Current()->EnsureUserFolder());
    manager.Open(1);
    ASSERT_EQ(manager.Rows().size(), 3u);
    for (const ProfileRow& row : manager.Rows()) {
        EXPECT_EQ(row.name, QStringLiteral("$Profile0"));
        EXPECT_EQ(row.folder, AppPaths::Current()->UserFolder() + u'/');
    }
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(manager.CanApply());
    EXPECT_EQ(ProfileManager::OpenCount(), 1);
    manager.Close();
    manager.Close();
    EXPECT_EQ(ProfileManager::OpenCount(), 0);

    manager.Open(-1);  // the keyboard's profile is not known
    EXPECT_EQ(manager.CheckedRow(), -1);
}

TEST_F(ProfileManagerTest, OneRowAtMostIsChecked) {
    manager.Open(0);
    manager.SetChecked(2, true);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(manager.CanApply());
    manager.SetChecked(2, false);
    EXPECT_EQ(manager.CheckedRow(), -1);
    manager.FollowSwitch(1);  // a switch made elsewhere while open
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(manager.CanApply());
}

TEST_F(ProfileManagerTest, AddWritesADefaultFileLoadReadsNothingDeleteKeepsTheFile) {
    ASSERT_TRUE(AppPaths::Current()->EnsureUserFolder());
    manager.Open(0);
    const QString created = UserFile(QStringLiteral("New profile.vpf"));
    ASSERT_TRUE(manager.AddNew(created));
    EXPECT_EQ(ValidateProfileFile(created), ProfileCheck::Valid);
    EXPECT_EQ(manager.Rows().back().name, QStringLiteral("New profile"));

    // Nothing is read: not even a file that is not there stops the row.
    manager.AddExisting(env.Root() + QStringLiteral("/elsewhere/missing.vpf"));
    ASSERT_EQ(manager.Rows().size(), 5u);
    EXPECT_EQ(manager.Rows().back().SettingsPath(),
              env.Root() + QStringLiteral("/elsewhere/missing.vpf"));

    // A file that cannot be written gives no row.
    EXPECT_FALSE(manager.AddNew(QStringLiteral("/proc/no-such-folder/x.vpf")));
    EXPECT_EQ(manager.Rows().size(), 5u);

    EXPECT_TRUE(manager.Remove(3));
    EXPECT_FALSE(manager.Remove(9));
    EXPECT_EQ(manager.Rows().size(), 4u);
    EXPECT_TRUE(QFile::exists(created));
}

TEST_F(ProfileManagerTest, ApplyRecordsTheRowsAndSwitchesToTheCheckedProfile) {
    ASSERT_TRUE(AppPaths::Current()->EnsureUserFolder());
    rig.device.SetActiveProfile(0);
    rig.ui.unapplied = true;
    manager.Open(0);
    manager.SetChecked(2, true);
    manager.AddExisting(UserFile(QStringLiteral("other.vpf")));
    const ProfileManager::Applied applied = manager.Apply(rig.context);
    EXPECT_TRUE(applied.settingsWritten);
    EXPECT_EQ(applied.switched, ProfileResult::Done);

    const QString section = QStringLiteral("PROFILES");
    EXPECT_EQ(ReadAppSetting(section, QStringLiteral("PROFILE00"), {}), QStringLiteral("4"));
    EXPECT_EQ(ReadAppSetting(section, QStringLiteral("PROFILE01"), {}), UserFile("$Profile0.vpf"));
    EXPECT_EQ(ReadAppSetting(section, QStringLiteral("PROFILE04"), {}), UserFile("other.vpf"));
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);
    EXPECT_EQ(rig.device.ActiveProfile(), 2);
    // The store was rebuilt from the keyboard through the working file; the menu follows.
    EXPECT_TRUE(QFile::exists(AppPaths::Current()->WorkingProfileFile()));
    EXPECT_EQ(rig.ui.menu.checkedPosition, 4);
    EXPECT_FALSE(rig.ui.unapplied);
    EXPECT_FALSE(manager.CanApply());
}

TEST_F(ProfileManagerTest, ApplyWithoutAnOnBoardRowCheckedSwitchesNothing) {
    // No row checked passes -1; a checked row past the on-board profiles stands for none.
    for (const bool extraRow : {false, true}) {
        SCOPED_TRACE(extraRow);
        manager.Open(0);
        manager.SetChecked(0, false);
        if (extraRow) {
            manager.AddExisting(UserFile(QStringLiteral("fourth.vpf")));
            manager.SetChecked(3, true);
        }
        rig.keyboard.Keyboard().ClearLog();
        // Nothing asked is nothing failed.
        EXPECT_EQ(manager.Apply(rig.context).switched, ProfileResult::Done);
        EXPECT_EQ(StatusWrites(), 0);
        EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 0);
        manager.Close();
    }
}

TEST_F(ProfileManagerTest, ApplyWithTheKeyboardAbsentLeavesTheDefaultProfile) {
    test::FillAssignments(rig.store);
    rig.keyboard.Keyboard().Unplug();
    manager.Open(-1);
    manager.SetChecked(0, true);
    EXPECT_EQ(manager.Apply(rig.context).switched, ProfileResult::KeyboardNoAnswer);
    std::lock_guard guard(rig.store.Lock());
    const ProfileData& data = rig.store.Data();
    EXPECT_EQ(data.Macros().Count(), 0);
    const auto records = data.Records();
    EXPECT_TRUE(std::ranges::all_of(records.subspan(0, 3 * kRecordsPerBlock),
                                    [](const KeyAssignment& r) { return r.type == 0; }));
}

}  // namespace
}  // namespace vantor
