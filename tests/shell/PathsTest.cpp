#include "shell/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class PathsTest : public ::testing::Test {
protected:
    QString Make(const QString& relative, bool folder = false) const {
        const QString path = m_dir.path() + u'/' + relative;
        if (folder) {
            QDir().mkpath(path);
        } else {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile(path).open(QIODevice::WriteOnly);
        }
        return path;
    }
    QProcessEnvironment Environment(std::initializer_list<std::pair<QString, QString>> values) const {
        QProcessEnvironment environment;
        environment.insert("HOME", m_dir.path() + QStringLiteral("/home"));
        for (const auto& [name, value] : values) {
            environment.insert(name, value);
        }
        return environment;
    }

    QTemporaryDir m_dir;
};

TEST_F(PathsTest, TheProgramFolderIsBesideTheExecutableOrItsInstalledShareFolder) {
    const QString root = m_dir.path();
    Make("portable/Skins", true);
    Make("usr/bin/vantor");
    Make("usr/share/vantor/Skins", true);

    EXPECT_EQ(AppPaths::FromExecutable(root + "/portable/vantor", Environment({})).ProgramFolder(),
              root + "/portable");
    EXPECT_EQ(AppPaths::FromExecutable(root + "/usr/bin/vantor", Environment({})).ProgramFolder(),
              root + "/usr/share/vantor");
    EXPECT_EQ(AppPaths::FromExecutable(root + "/usr/bin/vantor",
                                       Environment({{"VANTOR_PROGRAM_DIR", root + "/portable"}}))
                  .ProgramFolder(),
              root + "/portable");

    const AppPaths installed = AppPaths::FromExecutable(root + "/usr/bin/vantor", Environment({}));
    EXPECT_EQ(installed.ExecutableName(), "vantor");
    EXPECT_EQ(installed.DaemonPath(), root + "/usr/bin/senvik");
    EXPECT_EQ(installed.SkinFolder(), root + "/usr/share/vantor/Skins");
    EXPECT_EQ(installed.MainSkinFile(), root + "/usr/share/vantor/Skins/Main.ini");
    EXPECT_EQ(installed.PackageFolder(), root + "/usr/share/vantor/Package");
    EXPECT_EQ(installed.HelpPage(), root + "/usr/share/vantor/Help/index.html");
    EXPECT_EQ(installed.SkinColourPrefix(), root + "/usr/share/vantor/Skins/UserDengColor_");
}

TEST_F(PathsTest, UserFilesFollowTheXdgFolders) {
    const QString home = m_dir.path() + "/home";
    const AppPaths defaults = AppPaths::FromExecutable("/usr/bin/vantor", Environment({}));
    EXPECT_EQ(defaults.UserFolder(), home + "/.local/share/Halvex Q780DX Keyboard");
    EXPECT_EQ(defaults.SettingsFile(), home + "/.config/vantor/settings.json");

    // Relative XDG paths are not allowed and fall back to the defaults.
    const AppPaths relative = AppPaths::FromExecutable(
        "/usr/bin/vantor", Environment({{"XDG_DATA_HOME", "data"}, {"XDG_CONFIG_HOME", "cfg"}}));
    EXPECT_EQ(relative.UserFolder(), defaults.UserFolder());
    EXPECT_EQ(relative.SettingsFile(), defaults.SettingsFile());

    const AppPaths set = AppPaths::FromExecutable(
        "/usr/bin/vantor", Environment({{"XDG_DATA_HOME", "/d/"}, {"XDG_CONFIG_HOME", "/c"}}));
    EXPECT_EQ(set.UserFolder(), "/d/Halvex Q780DX Keyboard");
    EXPECT_EQ(set.ColourSettingsFile(), "/d/Halvex Q780DX Keyboard/wskb.ini");
    EXPECT_EQ(set.UserColourPrefix(), "/d/Halvex Q780DX Keyboard/UserDengColor_");
    EXPECT_EQ(set.UserColourFile(2), "/d/Halvex Q780DX Keyboard/UserDengColor_2.userd");
    EXPECT_EQ(set.WorkingProfileFile(), "/d/Halvex Q780DX Keyboard/$Profile0");
    EXPECT_EQ(set.SettingsFile(), "/c/vantor/settings.json");
}

TEST_F(PathsTest, EnsureUserFolderCreatesItOnce) {
    const AppPaths paths = AppPaths::FromExecutable(
        "/usr/bin/vantor", Environment({{"XDG_DATA_HOME", m_dir.path() + "/fresh/data"}}));
    EXPECT_FALSE(QFileInfo::exists(paths.UserFolder()));
    EXPECT_TRUE(paths.EnsureUserFolder());
    EXPECT_TRUE(QFileInfo(paths.UserFolder()).isDir());
    EXPECT_TRUE(paths.EnsureUserFolder());

    Make("blocked");
    const AppPaths blocked = AppPaths::FromExecutable(
        "/usr/bin/vantor", Environment({{"XDG_DATA_HOME", m_dir.path() + "/blocked"}}));
    EXPECT_FALSE(blocked.EnsureUserFolder());
}

TEST_F(PathsTest, ResolvesNamesWrittenWithBackslashesAndInAnyCase) {
    const QString root = m_dir.path();
    Make("Skins/Main.ini");
    Make("Skins/main_normal.jpg");
    Make("skins2/Pictures/Arrow.JPG");
    AppPaths::Roots roots;
    roots.programFolder = root;
    const AppPaths paths(roots);

    struct Case {
        const char* name;
        QString expected;
    };
    const Case cases[] = {
        {"Skins\\Main.ini", root + "/Skins/Main.ini"},
        {"SKINS\\MAIN.INI", root + "/Skins/Main.ini"},
        {"skins/Main_Normal.JPG", root + "/Skins/main_normal.jpg"},
        {"Skins2\\pictures\\arrow.jpg", root + "/skins2/Pictures/Arrow.JPG"},
        // Missing: the given spelling, with '/'.
        {"Skins\\Missing.jpg", root + "/Skins/Missing.jpg"},
        {"Nowhere\\File.ini", root + "/Nowhere/File.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paths.ResolveProgramFile(QString::fromUtf8(c.name)), c.expected) << c.name;
    }
    EXPECT_EQ(paths.ResolveSkinFile("MAIN_NORMAL.jpg"), root + "/Skins/main_normal.jpg");
    EXPECT_EQ(paths.MainSkinFile(), root + "/Skins/Main.ini");
}

}  // namespace
}  // namespace vantor
