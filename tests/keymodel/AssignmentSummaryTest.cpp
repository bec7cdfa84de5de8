#include "keymodel/AssignmentSummary.h"

#include <gtest/gtest.h>

#include <vector>

#include "keymodel/AssignmentRecords.h"
#include "keymodel/PromptTexts.h"

namespace vantor {
namespace {

class AssignmentSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_env.IsValid());
        m_env.WriteLanguageFile(1, test::PromptTexts());
        ASSERT_TRUE(m_env.SetLanguageIndex(1));
    }

    QString Summary(const QString& base, uint16_t type, uint32_t value) {
        KeyAssignment record;
        record.type = type;
        record.value = value;
        return AssignmentSummary(base, record, [this](uint32_t id) {
            m_lookedUp.push_back(id);
            return id == 7 ? QStringLiteral("Rapid fire") : QString();
        });
    }

    test::TestEnvironment m_env;
    std::vector<uint32_t> m_lookedUp;
};

TEST_F(AssignmentSummaryTest, ComposesTheTexts) {
    struct Case { uint16_t type; uint32_t value; const char* expected; const char* what; };
    const Case cases[] = {
        {kAssignDefault, 5, "A", "default: the name alone"},
        {kAssignDisabled, 0, "A (set: ", "disabled: no closing bracket"},
        {kAssignLaunch, 40, "A (set: ", "launch"},
        {kAssignStopMacro, 0, "A (set: ", "stop macro"},
        {kAssignText, 40, "A (set: ", "text block"},
        {9, 1, "A (set: ", "unknown type"},
        {kAssignKey, 0x001, "A (set: key Esc)", "key"},
        {kAssignKey, 0x1001E, "A (set: key ?65566)", "key value past 16 bits"},
        {kAssignMacro, 7, "A (set: macro Rapid fire)", "macro"},
        {kAssignMacro, 9, "A (set: macro )", "macro that is gone"},
        {kAssignMacro, 0, "A (set: macro )", "no macro chosen yet"},
        {kAssignMedia, 0, "A (set: media Player)", "media"},
        {kAssignMedia, 18, "A (set: media )", "media past the list"},
        {kAssignFunction, 2, "A (set: function Lights off)", "function"},
        {kAssignFunction, 11, "A (set: function )", "function past the list"},
        {kAssignFunction, 0xFFFFFFFF, "A (set: function )", "function value that would wrap"},
    };
    for (const Case& c : cases) EXPECT_EQ(Summary("A", c.type, c.value), QString::fromUtf8(c.expected)) << c.what;
    EXPECT_EQ(m_lookedUp, (std::vector<uint32_t>{7, 9}));  // id 0 is never looked up
}

TEST_F(AssignmentSummaryTest, ExtraKeyButtonAndMissingLookup) {
    // Extra-key button 3 with bank B shown: record 268, tooltip named "G4".
    EXPECT_EQ(RecordOfExtraKeyButton(3, ExtraKeyBank::B), 268);
    EXPECT_EQ(Summary(QStringLiteral("G%1").arg(3 + 1), kAssignKey, 0x01E), "G4 (set: key A)");

    KeyAssignment macro;
    macro.type = kAssignMacro;
    macro.value = 7;
    EXPECT_EQ(AssignmentSummary("A", macro, {}), "A (set: macro )");
}

}  // namespace
}  // namespace vantor
