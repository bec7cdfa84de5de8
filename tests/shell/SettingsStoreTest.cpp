#include "shell/SettingsStore.h"

#include "shell/AppSettings.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>

#include <gtest/gtest.h>

namespace vantor {
namespace {

const QString kKey = QStringLiteral("Software\\Test");

class SettingsStoreTest : public ::testing::Test {
protected:
    QString StorePath() const { return m_env.Root() + QStringLiteral("/store/settings.json"); }

    test::TestEnvironment m_env;
};

TEST_F(SettingsStoreTest, KeepsValueTypesAcrossInstances) {
    {
        SettingsStore store(StorePath());
        ASSERT_TRUE(store.WriteDword(kKey, "Number", 0xFFFFFFFFu));
        ASSERT_TRUE(store.WriteString(kKey, "Text", "1033"));
        ASSERT_TRUE(store.WriteString(kKey, "Empty", ""));
    }
    const SettingsStore store(StorePath());
    EXPECT_EQ(store.ReadDword(kKey, "Number"), 0xFFFFFFFFu);
    EXPECT_EQ(store.ReadString(kKey, "Text"), "1033");
    EXPECT_EQ(store.ReadString(kKey, "Empty"), "");
    // A value of the other type is not there for a typed read.
    EXPECT_FALSE(store.ReadString(kKey, "Number").has_value());
    EXPECT_FALSE(store.ReadDword(kKey, "Text").has_value());
    EXPECT_EQ(store.Value(kKey, "Text")->type, SettingValue::Type::String);
}

TEST_F(SettingsStoreTest, MatchesNamesWithoutRegardToCaseAndKeepsTheFirstSpelling) {
    SettingsStore store(StorePath());
    ASSERT_TRUE(store.WriteDword(kKey, "dwLanguageId", 1));
    ASSERT_TRUE(store.WriteDword(kKey.toUpper(), "DWLANGUAGEID", 2));
    EXPECT_EQ(store.ReadDword(kKey, "dwlanguageid"), 2u);
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\"dwLanguageId\""));
    EXPECT_FALSE(text.contains("DWLANGUAGEID"));
    EXPECT_FALSE(text.contains("SOFTWARE"));
}

TEST_F(SettingsStoreTest, AMissingStoreReadsAsEmpty) {
    const SettingsStore store(StorePath());
    EXPECT_FALSE(store.Value(kKey, "Anything").has_value());
    EXPECT_FALSE(QFileInfo::exists(StorePath()));
}

TEST_F(SettingsStoreTest, AnUnwritableStoreFailsWritesAndKeepsWhatItHeld) {
    SettingsStore store(StorePath());
    ASSERT_TRUE(store.WriteString(kKey, "Kept", "yes"));

    // The store's folder cannot take a new file: a plain file sits where it would go.
    SettingsStore blocked(StorePath() + QStringLiteral("/inside.json"));
    EXPECT_FALSE(blocked.WriteString(kKey, "Lost", "no"));
    EXPECT_FALSE(blocked.Value(kKey, "Lost").has_value());

    // A store that exists but cannot be read is not overwritten.
    QFile::remove(StorePath());
    ASSERT_TRUE(QDir().mkpath(StorePath()));
    EXPECT_FALSE(store.WriteString(kKey, "Other", "no"));
    EXPECT_TRUE(QFileInfo(StorePath()).isDir());
}

TEST_F(SettingsStoreTest, AWriteThatFailsHalfwayKeepsTheOldStore) {
    SettingsStore store(StorePath());
    ASSERT_TRUE(store.WriteString(kKey, "Kept", "yes"));
    const qint64 size = QFileInfo(StorePath()).size();
    {
        test::FileSizeLimit limit(static_cast<rlim_t>(size + 16));
        EXPECT_FALSE(store.WriteString(kKey, "Big", QString(4096, u'x')));
    }
    EXPECT_EQ(SettingsStore(StorePath()).ReadString(kKey, "Kept"), "yes");
    EXPECT_FALSE(store.Value(kKey, "Big").has_value());
}

TEST_F(SettingsStoreTest, KeepsAMalformedStoreAsideBeforeReplacingIt) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StorePath()).absolutePath()));
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();

    SettingsStore store(StorePath());
    EXPECT_FALSE(store.Value(kKey, "Any").has_value());
    ASSERT_TRUE(store.WriteDword(kKey, "Fresh", 7));
    EXPECT_EQ(store.ReadDword(kKey, "Fresh"), 7u);
    QFile kept(StorePath() + QStringLiteral(".bad"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "{ not json");
}

TEST_F(SettingsStoreTest, KeepsValuesOfUnknownTypesWhenWriting) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StorePath()).absolutePath()));
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format":1,"keys":{"Software\\Test":{"Blob":{"type":"binary","data":"AAE="}}}})");
    file.close();

    SettingsStore store(StorePath());
    EXPECT_EQ(store.Value(kKey, "Blob")->type, SettingValue::Type::Other);
    ASSERT_TRUE(store.WriteDword(kKey, "Number", 1));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"AAE=\""));
}

TEST_F(SettingsStoreTest, SeesWritesOfOtherInstancesAndLosesNoneUnderConcurrency) {
    SettingsStore reader(StorePath());
    EXPECT_FALSE(reader.Value(kKey, "A0").has_value());

    constexpr int kWrites = 20;
    auto writer = [&](const char* prefix) {
        SettingsStore store(StorePath());
        for (int i = 0; i < kWrites; ++i) {
            store.WriteDword(kKey, prefix + QString::number(i), static_cast<uint32_t>(i));
        }
    };
    std::thread a(writer, "A");
    std::thread b(writer, "B");
    a.join();
    b.join();
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(reader.ReadDword(kKey, "A" + QString::number(i)), static_cast<uint32_t>(i));
        EXPECT_EQ(reader.ReadDword(kKey, "B" + QString::number(i)), static_cast<uint32_t>(i));
    }
}

TEST_F(SettingsStoreTest, AppSettingsAreStringsUnderTheApplicationsSections) {
    EXPECT_EQ(ReadAppSetting("PROFILES", "Flip", "0"), "0");
    ASSERT_TRUE(WriteAppSetting("PROFILES", "Flip", "1"));
    EXPECT_EQ(ReadAppSetting("profiles", "FLIP", "0"), "1");

    const QString key = QStringLiteral("Software\\Vantor_Morvel\\Halvex Q780DX Keyboard\\PROFILES");
    EXPECT_EQ(AppSettingsKey("PROFILES"), key);
    EXPECT_EQ(SettingsStore(m_env.SettingsFile()).ReadString(key, "Flip"), "1");

    // A value of another type reads as the default.
    ASSERT_TRUE(SettingsStore::Current()->WriteDword(key, "Number", 5));
    EXPECT_EQ(ReadAppSetting("PROFILES", "Number", "none"), "none");
}

TEST_F(SettingsStoreTest, AppSettingsFailWritesWhenTheStoreIsUnwritable) {
    QFile blocker(QFileInfo(m_env.SettingsFile()).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(WriteAppSetting("PROFILES", "Flip", "1"));
    EXPECT_EQ(ReadAppSetting("PROFILES", "Flip", "0"), "0");
}

}  // namespace
}  // namespace vantor
