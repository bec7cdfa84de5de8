#include "macros/MacroDeletion.h"

#include "MacroTestData.h"
#include "macros/RewriteAllMark.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

TEST(MacroDeletionTest, AsksWhenAnyKeyOfTheStorePlaysTheMacro)
{
    struct Case {
        const char* what;
        uint16_t pending;
        int currentProfile;
        int keyIndex;
        KeyAssignment key;
        bool ask;
    };
    const KeyAssignment playsNine{kAssignMacro, 1, 9, 0, 0};
    const Case cases[] = {
        {"key of the current profile", 0, 1, 512 + 30, playsNine, true},
        {"key of another profile", 0, 0, 2 * 512 + 30, playsNine, true},
        {"key of an earlier profile", 0, 2, 30, playsNine, true},
        {"key of block 3", 0, 0, 3 * 512 + 5, playsNine, true},
        {"pending macro", 1, 0, 30, playsNine, false},
        {"record 256 of the current block", 0, 1, 512 + 256, playsNine, false},
        {"record 256 of another block", 0, 1, 256, playsNine, true},
        {"record 256 of block 0 before the keyboard answered", 0, -1, 256, playsNine, false},
        {"another macro", 0, 0, 30, {kAssignMacro, 1, 8, 0, 0}, false},
        {"not a macro key", 0, 0, 30, {kAssignKey, 0, 9, 0, 0}, false},
        {"no macro chosen", 0, 0, 30, {kAssignMacro, 1, 0, 0, 0}, false},
    };
    std::recursive_mutex lock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearRewriteAllMark();
        std::vector<KeyAssignment> keys(kStoreKeyRecordCount);
        keys[static_cast<size_t>(c.keyIndex)] = c.key;
        const MacroRecord macro = MakeMacro(9, {}, 0, c.pending);

        EXPECT_EQ(MacroDeletionNeedsConfirmation(macro, ConstStoreKeyRecords(keys),
                                                 c.currentProfile, lock),
                  c.ask);
        EXPECT_EQ(RewriteAllMarkIsSet(), c.ask);
    }
    ClearRewriteAllMark();
}

TEST(MacroDeletionTest, MacroWithIdZeroIsNotTakenForKeysWithNoMacroChosen)
{
    std::recursive_mutex lock;
    std::vector<KeyAssignment> keys(kStoreKeyRecordCount);
    keys[3] = {kAssignMacro, 1, 0, 0, 0};
    EXPECT_FALSE(
        MacroDeletionNeedsConfirmation(MakeMacro(0), ConstStoreKeyRecords(keys), 0, lock));
}

}  // namespace
}  // namespace vantor
