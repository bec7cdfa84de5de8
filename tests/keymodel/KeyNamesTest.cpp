#include "keymodel/KeyNames.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace vantor {
namespace {

class KeyNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_env.IsValid());
        m_env.WriteLanguageFile(1, {{"IDS_KEYBOARD_A", "Key A"},
                                    {"IDS_KEYBOARD_B", ""},
                                    {"IDS_KEYBOARD_RSHIFT", "Right Shift key"},
                                    {"UNKNOWN_KEY", "Unknown 0x%03X"}});
        m_env.WriteLanguageFile(0, {{"IDS_KEYBOARD_A", "A0"}, {"UNKNOWN_KEY", "?%d"}});
        ASSERT_TRUE(m_env.SetLanguageIndex(1));
    }

    test::TestEnvironment m_env;
};

TEST_F(KeyNamesTest, NamesFromTheLanguageFile) {
    struct Case { KeyCode code; const char* expected; const char* what; };
    const Case cases[] = {
        {0x01E, "Key A", "named row"},
        {0x136, "Right Shift key", "second Right Shift row"},
        {0x064, "Unknown 0x064", "F13 has no language key"},
        {0x07F, "Unknown 0x07F", "empty row"},
        {0x030, "Unknown 0x030", "a key present with an empty text"},
        {0x190, "Unknown 0x190", "never-produced code"},
        {0x205, "Unknown 0x205", "extra key: no row"},
        {0x148, "\u2191", "missing from the file: the English name"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyName(c.code), QString::fromUtf8(c.expected)) << c.what;
    EXPECT_EQ(KeyNameOfValue(0x1001E), "Unknown 0x1001E");

    ASSERT_TRUE(m_env.SetLanguageIndex(0));
    EXPECT_EQ(KeyName(0x01E), "A0");
    EXPECT_EQ(KeyName(0x064), "?100");
}

TEST_F(KeyNamesTest, NamesAreCutToTheBuffer) {
    EXPECT_EQ(KeyName(0x01E, 4), "Key");
    EXPECT_EQ(KeyName(0x01E, 0), "");
    m_env.WriteLanguageFile(1, {{"UNKNOWN_KEY", "%0300d"}});
    const QString wide = KeyName(0x064);
    EXPECT_EQ(wide.size(), kKeyNameCapacity - 1);
    EXPECT_EQ(wide, QString(kKeyNameCapacity - 1, u'0'));
}

TEST_F(KeyNamesTest, NameOfOrdinal) {
    EXPECT_EQ(NameOfOrdinal(0), "Key A");
    EXPECT_EQ(NameOfOrdinal(103), "Right Shift key");
    EXPECT_EQ(NameOfOrdinal(106), "");     // no row
    EXPECT_EQ(NameOfOrdinal(0x802D), "");  // F13: no language key
}

}  // namespace
}  // namespace vantor
