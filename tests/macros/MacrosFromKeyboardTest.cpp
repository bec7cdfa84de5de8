#include "macros/MacrosFromKeyboard.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(MacrosFromKeyboardTest, RecordsTakeKeyboardOrderIdsAndTenMillisecondUnits)
{
    std::vector<KeyboardMacro> macros(3);
    macros[0] = {5, {{12, 0x1E, 0}, {0, 0x1E, 1}}, QStringLiteral("Copy")};
    macros[1] = {0, {{4000, 0x171, 0}, {4001, 0x171, 1}, {4095, 0x172, 7}}, QString()};
    macros[2] = {255, {}, QString()};

    const auto records = MacrosFromKeyboard(macros, QStringLiteral("Macro "));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 3u);

    const MacroRecord& first = (*records)[0];
    EXPECT_EQ(first.id, 1);
    EXPECT_EQ(first.pending, 0);
    EXPECT_EQ(first.mode, 0);
    EXPECT_EQ(first.cycleCount, 5);
    EXPECT_EQ(first.Name(), QStringLiteral("Copy"));
    ASSERT_EQ(first.actionCount, 2);
    EXPECT_EQ(first.actions[0], (MacroAction{120, 0x1E, kMacroPress}));
    EXPECT_EQ(first.actions[1], (MacroAction{0, 0x1E, kMacroRelease}));

    const MacroRecord& second = (*records)[1];
    EXPECT_EQ(second.id, 2);
    EXPECT_EQ(second.cycleCount, 0);
    EXPECT_EQ(second.Name(), QStringLiteral("Macro 2"));
    ASSERT_EQ(second.actionCount, 3);
    // Delays past the 40,000 ms limit (the 12-bit field reaches 40,950) are capped.
    EXPECT_EQ(second.actions[0], (MacroAction{40000, 0x171, kMacroPress}));
    EXPECT_EQ(second.actions[1], (MacroAction{40000, 0x171, kMacroRelease}));
    EXPECT_EQ(second.actions[2], (MacroAction{40000, 0x172, kMacroPress}));

    EXPECT_EQ((*records)[2].id, 3);
    EXPECT_EQ((*records)[2].actionCount, 0);
    EXPECT_EQ((*records)[2].Name(), QStringLiteral("Macro 3"));
}

TEST(MacrosFromKeyboardTest, KeyboardDataBeyondTheRecordLimitsIsLeftOut)
{
    std::vector<KeyboardMacro> macros(101);
    macros[0].actions.assign(4001, {1, 0x1E, 0});
    macros[0].actions.back().keyCode = 0x1F;
    macros[1].name = QString(300, u'n');

    const auto records = MacrosFromKeyboard(macros, QStringLiteral("M"));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 100u);
    EXPECT_EQ(records->back().id, 100);
    EXPECT_EQ((*records)[0].actionCount, 4000);
    EXPECT_EQ((*records)[0].actions[3999].keyCode, 0x1E);
    EXPECT_EQ((*records)[1].Name(), QString(249, u'n'));
}

TEST(MacrosFromKeyboardTest, UnnamedMacrosTakeTheLanguagesNewMacroPrefix)
{
    test::TestEnvironment env;
    ASSERT_TRUE(env.IsValid());
    env.WriteLanguageFile(1, {{QStringLiteral("MACRO_NEW_PREFIX"), QStringLiteral("Macro")}});
    env.SetLanguageIndex(1);

    std::vector<KeyboardMacro> macros(2);
    macros[0].name = QStringLiteral("Mine");
    const auto records = MacrosFromKeyboard(macros);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ((*records)[0].Name(), QStringLiteral("Mine"));
    EXPECT_EQ((*records)[1].Name(), QStringLiteral("Macro2"));
}

}  // namespace
}  // namespace vantor
