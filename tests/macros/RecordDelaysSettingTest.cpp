#include "macros/RecordDelaysSetting.h"

#include "shell/AppSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

class RecordDelaysSettingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_env.IsValid());
        m_env.WriteLanguageFile(1, {{QStringLiteral("MACRO_ACTION_RECORD_DELAY"),
                                     QStringLiteral("Record delays")}});
        m_env.SetLanguageIndex(1);
    }

    QString Stored() const
    {
        return ReadAppSetting(QStringLiteral("PROFILES"), QStringLiteral("Record delays"),
                              QStringLiteral("<missing>"));
    }

    test::TestEnvironment m_env;
};

TEST_F(RecordDelaysSettingTest, WritesZeroOrOneUnderTheLanguageTextAndReadsItBack)
{
    EXPECT_EQ(ReadRecordDelaysSetting(), 0);
    EXPECT_EQ(Stored(), QStringLiteral("<missing>"));

    EXPECT_EQ(WriteRecordDelaysSetting(1), 1);
    EXPECT_EQ(Stored(), QStringLiteral("1"));
    EXPECT_EQ(ReadRecordDelaysSetting(), 1);

    for (int other : {2, -1, 0}) {
        SCOPED_TRACE(other);
        ASSERT_EQ(WriteRecordDelaysSetting(1), 1);
        EXPECT_EQ(WriteRecordDelaysSetting(other), 0);
        EXPECT_EQ(Stored(), QStringLiteral("0"));
        EXPECT_EQ(ReadRecordDelaysSetting(), 0);
    }
}

TEST_F(RecordDelaysSettingTest, OnlyTheNumberOneReadsAsOn)
{
    const struct {
        const char* stored;
        int read;
    } cases[] = {{"1", 1}, {" 1 ", 1}, {"01", 1}, {"0", 0}, {"2", 0},
                 {"-1", 0}, {"", 0},   {"yes", 0}, {"1x", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(WriteAppSetting(QStringLiteral("PROFILES"), QStringLiteral("Record delays"),
                                    QString::fromLatin1(c.stored)));
        EXPECT_EQ(ReadRecordDelaysSetting(), c.read);
    }
}

}  // namespace
}  // namespace vantor
