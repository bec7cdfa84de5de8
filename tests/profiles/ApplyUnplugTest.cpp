// The keyboard pulled out during Apply, at points spread over the whole download: the working
// profile file stays a valid profile (its old bytes or the new ones), the store keeps what the
// user chose, and the first Apply once the keyboard is back leaves the keyboard holding all of
// it, even when another profile has become active meanwhile.

#include "macros/RewriteAllMark.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"

#include "ProfileRig.h"
#include "support/FaultMatrix.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantor {
namespace {

using test::FillAssignments;
using test::Rig;

using Bytes = std::vector<uint8_t>;

Bytes Copy(std::span<const uint8_t> bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

// What the main window's Apply does: the store to the working profile file, then the download
// of the active profile.
ProfileResult Apply(Rig& rig) {
    std::lock_guard lock(rig.store.Lock());
    const bool saved = SaveWorkingProfile(rig.store) != 0;
    const ProfileResult downloaded = PrepareDownloadSnapshot(rig.context, false);
    return downloaded != ProfileResult::Done ? downloaded
           : saved                           ? ProfileResult::Done
                                             : ProfileResult::FileError;
}

QByteArray StoreBytes(ProfileStore& store) {
    std::lock_guard lock(store.Lock());
    return SerializeProfile(store.Data()).value_or(QByteArray());
}

class ApplyUnplugTest : public ::testing::Test {
protected:
    ApplyUnplugTest() { ClearRewriteAllMark(); }
    ~ApplyUnplugTest() override { ClearRewriteAllMark(); }

    // A keyboard with profile 1 active, an old working profile file, and a store that changes
    // all three profiles and the macros.
    void Prepare(Rig& rig) {
        ClearRewriteAllMark();
        ASSERT_EQ(CreateDefaultProfile(m_env.Paths().WorkingProfileFile(), 0), 1);
        ASSERT_EQ(SetCurrentProfile(rig.context, 1), ProfileResult::Done);
        FillAssignments(rig.store);
        {
            // Macros enough for a download of well over a hundred requests.
            std::lock_guard lock(rig.store.Lock());
            const MacroTable table = test::SampleTable(12, 100, 10);
            rig.store.Data().Macros().Replace({table.Records().begin(), table.Records().end()});
        }
        rig.keyboard.Keyboard().ClearLog();
    }

    test::TestEnvironment m_env;
};

TEST_F(ApplyUnplugTest, EveryPointOfTheDownloadLeavesTheFileValidAndTheNextApplySendsTheRest) {
    EnsureProfileFolder();
    // The keyboard as a complete download of the store leaves it.
    Rig reference('B');
    Prepare(reference);
    ASSERT_EQ(PrepareDownloadSnapshot(reference.context, true), ProfileResult::Done);
    const KeyboardFirmware wanted = reference.keyboard.Keyboard().Firmware();
    const KeyboardFirmware factory = test::EmulatedLink().Keyboard().Firmware();

    // How many requests an Apply makes when nothing goes wrong.
    Rig counting('B');
    Prepare(counting);
    ASSERT_EQ(Apply(counting), ProfileResult::Done);
    const int requests = int(counting.keyboard.Requests().size());
    ASSERT_GT(requests, 100);

    const QByteArray oldWorking = test::FileBytes(m_env.Paths().WorkingProfileFile());
    for (int point = 0; point < 100; ++point) {
        SCOPED_TRACE(point);
        Rig rig('B');
        Prepare(rig);
        const QByteArray chosen = StoreBytes(rig.store);
        FaultSwitch unplug{EmulatorFault::UnplugMidTransfer};
        unplug.reportsBeforeUnplug = point * requests / 100;
        rig.keyboard.Keyboard().SetFault(unplug);

        EXPECT_EQ(Apply(rig), ProfileResult::KeyboardNoAnswer);
        const QString working = m_env.Paths().WorkingProfileFile();
        EXPECT_EQ(ValidateProfileFile(working), ProfileCheck::Valid);
        const QByteArray file = test::FileBytes(working);
        EXPECT_TRUE(file == oldWorking || file == chosen);
        EXPECT_EQ(StoreBytes(rig.store), chosen);

        // Back, with profile 0 switched on at the keyboard before the window learns of it.
        rig.keyboard.Keyboard().SetFault({});
        rig.keyboard.Keyboard().Plug();
        ASSERT_TRUE(rig.keyboard.Reconnect());
        rig.keyboard.Keyboard().SwitchProfileOnKeyboard(0);
        rig.device.SetActiveProfile(-1);
        ASSERT_EQ(Apply(rig), ProfileResult::Done);

        // The macro area, the profile now active and the one the unplug cut short hold the
        // store; profile 2, which no Apply was about, holds its old map or the store's whole.
        const KeyboardFirmware now = rig.keyboard.Keyboard().Firmware();
        EXPECT_EQ(Copy(now.MacroAreaBytes()), Copy(wanted.MacroAreaBytes()));
        EXPECT_EQ(Copy(now.KeyMap(0)), Copy(wanted.KeyMap(0)));
        EXPECT_EQ(Copy(now.KeyMap(1)), Copy(wanted.KeyMap(1)));
        EXPECT_TRUE(Copy(now.KeyMap(2)) == Copy(wanted.KeyMap(2)) ||
                    Copy(now.KeyMap(2)) == Copy(factory.KeyMap(2)));
        if (HasFailure())
            break;  // one point's report is enough
    }
}

}  // namespace
}  // namespace vantor
