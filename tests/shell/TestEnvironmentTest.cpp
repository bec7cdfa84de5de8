#include "support/TestEnvironment.h"

#include "shell/AppSettings.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(TestEnvironment, PointsEverythingAtItsFoldersAndRestoresOnExit) {
    const auto before = AppPaths::Current();
    QString root;
    {
        test::TestEnvironment env;
        ASSERT_TRUE(env.IsValid());
        root = env.Root();
        EXPECT_EQ(AppPaths::Current()->ProgramFolder(), env.ProgramFolder());
        EXPECT_TRUE(env.ProgramFolder().startsWith(root));
        EXPECT_TRUE(env.UserFolder().startsWith(env.DataHome()));
        EXPECT_TRUE(QFileInfo(env.SkinFolder()).isDir());

        env.WriteLanguageFile(0, {{"KEY", "zh"}}, {{"Speed", "speed"}}, {{"WAVE", "wave"}});
        EXPECT_EQ(LanguageText("KEY", 0), "zh");
        EXPECT_EQ(LightSectionText("Speed", 0), "speed");
        EXPECT_EQ(ModeSectionText("WAVE", 0), "wave");

        // A fresh store follows the fixed system locale: English.
        EXPECT_EQ(GetLanguageIndex(), 1);
        ASSERT_TRUE(WriteAppSetting("PROFILES", "Flip", "1"));
        EXPECT_TRUE(QFileInfo::exists(env.SettingsFile()));
        EXPECT_TRUE(env.SettingsFile().startsWith(env.ConfigHome()));

        const QProcessEnvironment child = env.ProcessEnvironment();
        const AppPaths childPaths = AppPaths::FromExecutable("/usr/bin/vantor", child);
        EXPECT_EQ(childPaths.ProgramFolder(), env.ProgramFolder());
        EXPECT_EQ(childPaths.SettingsFile(), env.SettingsFile());
        EXPECT_EQ(childPaths.UserFolder(), env.UserFolder());
    }
    EXPECT_EQ(AppPaths::Current(), before);
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_FALSE(SystemLocaleOverride().has_value());
}

}  // namespace
}  // namespace vantor
