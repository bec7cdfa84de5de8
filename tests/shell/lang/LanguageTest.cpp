#include "shell/lang/Language.h"

#include "shell/IniFile.h"
#include "shell/Paths.h"
#include "shell/SettingsStore.h"
#include "shell/lang/SystemLanguage.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace vantor {
namespace {

const QString kAppKey = QString::fromUtf16(kAppRegistryKey);
const QString kIdName = QStringLiteral("dwLanguageId");

std::optional<SettingValue> StoredId() {
    return SettingsStore::Current()->Value(kAppKey, kIdName);
}

// Makes the settings store unwritable: its folder's place is taken by a plain file.
void BlockSettingsFolder(const test::TestEnvironment& env) {
    QFile blocker(QFileInfo(env.SettingsFile()).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

TEST(LanguageChoice, FirstStartStoresTheSystemLanguageMappedToASupportedId) {
    struct Case {
        QLocale locale;
        unsigned stored;
        int index;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom), 0x0409, 1},
        {QLocale(QLocale::English, QLocale::UnitedStates), 0x0409, 1},
        {QLocale(QLocale::English, QLocale::Australia), 0x0409, 1},
        {QLocale(QLocale::English, QLocale::India), 0x0409, 1},
        {QLocale(QLocale::German, QLocale::Germany), 0x0804, 0},
        {QLocale(QLocale::Chinese, QLocale::China), 0x0804, 0},
        {QLocale(QLocale::Chinese, QLocale::HongKong), 0x0804, 0},
        {QLocale(QLocale::Japanese, QLocale::Japan), 0x0804, 0},
        {QLocale::c(), 0x0409, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        test::TestEnvironment env;
        env.SetSystemLocale(c.locale);
        EXPECT_EQ(GetLanguageIndex(), c.index);
        const auto stored = StoredId();
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->type, SettingValue::Type::Dword);
        EXPECT_EQ(stored->dword, c.stored);
    }
}

TEST(LanguageChoice, SystemLocalesMapToTheirWindowsIds) {
    EXPECT_EQ(WindowsLanguageId(QLocale(QLocale::Chinese, QLocale::China)), 0x0804u);
    EXPECT_EQ(WindowsLanguageId(QLocale(QLocale::Chinese, QLocale::HongKong)), 0x0C04u);
    EXPECT_EQ(WindowsLanguageId(QLocale(QLocale::English, QLocale::UnitedStates)), 0x0409u);
    EXPECT_EQ(WindowsLanguageId(QLocale(QLocale::English, QLocale::UnitedKingdom)), 0x0809u);
    EXPECT_EQ(WindowsLanguageId(QLocale(QLocale::German, QLocale::Germany)), 0x0407u);
    // Every English variant of the classic list becomes English.
    for (unsigned id : {0x0809u, 0x0C09u, 0x1009u, 0x1409u, 0x1809u, 0x1C09u, 0x2009u, 0x2409u,
                        0x2809u, 0x2C09u}) {
        EXPECT_EQ(SupportedLanguageOf(id), 0x0409u) << std::hex << id;
    }
    EXPECT_EQ(SupportedLanguageOf(0x0404), 0x0804u);  // Chinese (Taiwan)
    EXPECT_EQ(SupportedLanguageOf(0), 0x0804u);
}

TEST(LanguageChoice, AStoredChoiceIsKeptWhateverTheSystemSays) {
    test::TestEnvironment env;
    ASSERT_TRUE(env.SetLanguageIndex(0));
    env.SetSystemLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(GetLanguageId(), 0x0804u);

    // An unsupported stored id reads as index 0 and is not rewritten.
    ASSERT_TRUE(SettingsStore::Current()->WriteDword(kAppKey, kIdName, 0x0407));
    EXPECT_EQ(GetLanguageId(), 0x0407u);
    EXPECT_EQ(GetLanguageIndex(), 0);
    EXPECT_EQ(StoredId()->dword, 0x0407u);

    // Index 2 or more stores Chinese.
    ASSERT_TRUE(env.SetLanguageIndex(5));
    EXPECT_EQ(StoredId()->dword, 0x0804u);

    // 0 means no choice yet: the system decides and its choice is stored.
    ASSERT_TRUE(SettingsStore::Current()->WriteDword(kAppKey, kIdName, 0));
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_EQ(StoredId()->dword, 0x0409u);
}

TEST(LanguageChoice, AnIdStoredAsAStringIsReplacedByTheSystemChoiceAsADword) {
    test::TestEnvironment env;
    ASSERT_TRUE(SettingsStore::Current()->WriteString(kAppKey, kIdName, QStringLiteral("1033")));
    env.SetSystemLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GetLanguageId(), 0x0804u);
    const auto stored = StoredId();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, SettingValue::Type::Dword);
    EXPECT_EQ(stored->dword, 0x0804u);
}

TEST(LanguageChoice, AnUnwritableStoreKeepsTheChoiceForThisRun) {
    test::TestEnvironment env;
    BlockSettingsFolder(env);
    env.SetSystemLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(GetLanguageId(), 0x0409u);
    EXPECT_FALSE(StoredId().has_value());

    // The language was fixed at the first lookup; a later system change does not move it.
    env.SetSystemLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GetLanguageIndex(), 1);
    EXPECT_FALSE(env.SetLanguageIndex(0));
}

class LanguageLookup : public ::testing::Test {
protected:
    test::TestEnvironment m_env;
};

TEST_F(LanguageLookup, FollowsTheLookupRules) {
    const QString longText(300, u'x');
    m_env.WriteLanguageFile(1,
                            {{"CONTROL_OK", "OK"},
                             {"EMPTY", ""},
                             {"QUOTED", "\"  spaced  \""},
                             {"LONG", longText},
                             {"FORMAT", "Profile %s"}},
                            {{"Speed", "Speed"}}, {{"MODE_WAVE", "Wave"}});
    m_env.WriteLanguageFile(0, {{"CONTROL_OK", QString::fromUtf8("确定")}});

    struct Case {
        QString section;
        QString key;
        int index;
        QString expected;
    };
    const Case cases[] = {
        {"TEXT", "CONTROL_OK", 1, "OK"},
        {"TEXT", "control_ok", 1, "OK"},
        {"TEXT", "EMPTY", 1, ""},
        {"TEXT", "QUOTED", 1, "\"  spaced  \""},
        {"TEXT", "LONG", 1, longText.left(259)},
        {"TEXT", "FORMAT", 1, "Profile %s"},
        {"TEXT", "MISSING", 1, "#Error"},
        {"NOSECTION", "CONTROL_OK", 1, "#Error"},
        {"LIGHT", "Speed", 1, "Speed"},
        {"MODE", "MODE_WAVE", 1, "Wave"},
        {"TEXT", "CONTROL_OK", 0, QString::fromUtf8("确定")},
        {"TEXT", "CONTROL_OK", 2, QString::fromUtf8("确定")},
        {"TEXT", "CONTROL_OK", -1, QString::fromUtf8("确定")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.section + u'/' + c.key + u'/' + QString::number(c.index)).toStdString());
        EXPECT_EQ(LanguageSectionText(c.section, c.key, c.index), c.expected);
    }
    EXPECT_EQ(LightSectionText("Speed", 1), "Speed");
    EXPECT_EQ(ModeSectionText("MODE_WAVE", 1), "Wave");
    EXPECT_EQ(LightSectionText("CONTROL_OK", 1), "#Error");
}

TEST_F(LanguageLookup, UsesTheCurrentLanguageByDefault) {
    m_env.WriteLanguageFile(0, {{"KEY", "zh"}});
    m_env.WriteLanguageFile(1, {{"KEY", "en"}});
    ASSERT_TRUE(m_env.SetLanguageIndex(0));
    EXPECT_EQ(LanguageText("KEY"), "zh");
    ASSERT_TRUE(m_env.SetLanguageIndex(1));
    EXPECT_EQ(LanguageText("KEY"), "en");
}

TEST_F(LanguageLookup, AMissingFileGivesErrorTexts) {
    EXPECT_EQ(LanguageText("CONTROL_OK", 0), "#Error");
    EXPECT_EQ(LanguageText("CONTROL_OK", 1), "#Error");
}

TEST_F(LanguageLookup, FindsAFileWhoseNameDiffersInCase) {
    m_env.WriteProgramFile("lang0409.INI", "[TEXT]\nCONTROL_OK=Fine\n");
    EXPECT_EQ(LanguageText("CONTROL_OK", 1), "Fine");
}

TEST_F(LanguageLookup, SeesEditsMadeWhileRunning) {
    const QString path = m_env.WriteLanguageFile(1, {{"TITLE", "First"}});
    EXPECT_EQ(LanguageText("TITLE", 1), "First");

    // Replaced by a new file.
    m_env.WriteLanguageFile(1, {{"TITLE", "Second"}});
    EXPECT_EQ(LanguageText("TITLE", 1), "Second");

    // Rewritten in place with the same size, as an editor that truncates and writes does,
    // within the same tick of the file clock.
    m_env.WriteLanguageFile(1, {{"TITLE", "AAAA"}});
    EXPECT_EQ(LanguageText("TITLE", 1), "AAAA");
    QByteArray bytes = IniFile::ReadBytes(path).value();
    const QByteArray before = QByteArray("A\0A\0A\0A\0", 8);
    const QByteArray after = QByteArray("B\0B\0B\0B\0", 8);
    ASSERT_TRUE(bytes.contains(before));
    bytes.replace(before, after);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();
    EXPECT_EQ(LanguageText("TITLE", 1), "BBBB");

    // Removed.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(LanguageText("TITLE", 1), "#Error");
}

TEST_F(LanguageLookup, LookupsFromSeveralThreadsSeeWholeFilesWhileTheyAreReplaced) {
    m_env.WriteLanguageFile(1, {{"TITLE", "old"}});
    std::atomic<bool> bad = false;
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&bad] {
            for (int i = 0; i < 300; ++i) {
                const QString text = LanguageText("TITLE", 1);
                if (text != "old" && text != "new") {
                    bad = true;
                }
            }
        });
    }
    for (int i = 0; i < 20; ++i) {
        m_env.WriteLanguageFile(1, {{"TITLE", i % 2 ? "old" : "new"}});
    }
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_FALSE(bad);
}

}  // namespace
}  // namespace vantor
