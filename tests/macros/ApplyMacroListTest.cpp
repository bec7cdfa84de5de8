#include "macros/ApplyMacroList.h"

#include "LargeAllocationFailure.h"
#include "MacroTestData.h"
#include "macros/RewriteAllMark.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vantor {
namespace {

class RecordingObserver : public MacroApplyObserver {
public:
    void ShowKeyRecordAsDefault(int storeIndex) override { m_shownAsDefault.push_back(storeIndex); }
    void MarkUnappliedChanges() override { ++m_marks; }

    std::vector<int> m_shownAsDefault;
    int m_marks = 0;
};

class ApplyMacroListTest : public ::testing::Test {
protected:
    void SetUp() override { ClearRewriteAllMark(); }
    void TearDown() override { ClearRewriteAllMark(); }

    KeyAssignment& Key(int storeIndex) { return m_keys[static_cast<size_t>(storeIndex)]; }

    // A macro key with a play count and colour word that must survive the apply.
    void SetMacroKey(int storeIndex, uint32_t id)
    {
        Key(storeIndex) = {kAssignMacro, 3, id, 1, 0xABCD};
    }

    MacroApplyResult Apply(std::vector<MacroRecord>& list)
    {
        return ApplyMacroList(list, StoreKeyRecords(m_keys), m_table, m_lock, m_observer);
    }

    std::vector<KeyAssignment> m_keys = std::vector<KeyAssignment>(kStoreKeyRecordCount);
    MacroTable m_table;
    std::recursive_mutex m_lock;
    RecordingObserver m_observer;
};

TEST_F(ApplyMacroListTest, EmptyListTurnsEveryChosenMacroKeyIntoADefaultKey)
{
    ASSERT_TRUE(m_table.Replace(MakeMacros({1, 2})));
    // References in every block, including block 3 and the last record.
    SetMacroKey(0, 1);
    SetMacroKey(600, 2);
    SetMacroKey(1100, 99);
    SetMacroKey(2047, 1);
    SetMacroKey(5, 0);
    Key(7) = {kAssignKey, 0, 1, 0, 0};

    std::vector<MacroRecord> list;
    ASSERT_EQ(Apply(list), MacroApplyResult::Applied);

    EXPECT_EQ(m_table.Count(), 0);
    EXPECT_EQ(m_table.Records().data(), nullptr);
    for (int index : {0, 600, 1100, 2047}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Key(index).type, kAssignDefault);
        EXPECT_EQ(Key(index).parameter, 3);  // only the type changes
        EXPECT_EQ(Key(index).colourSelection, 1u);
        EXPECT_EQ(Key(index).reserved, 0xABCDu);
    }
    EXPECT_EQ(Key(600).value, 2u);
    // No macro chosen and none to give: the key stays as it was.
    EXPECT_EQ(Key(5).type, kAssignMacro);
    EXPECT_EQ(Key(5).value, 0u);
    EXPECT_EQ(Key(7).type, kAssignKey);

    EXPECT_EQ(m_observer.m_shownAsDefault, (std::vector<int>{0, 600, 1100, 2047}));
    EXPECT_GE(m_observer.m_marks, 1);
}

TEST_F(ApplyMacroListTest, KeyOfADeletedMacroWhoseIdWasReusedBecomesDefault)
{
    ASSERT_TRUE(m_table.Replace(MakeMacros({3, 7})));
    SetMacroKey(10, 7);
    SetMacroKey(11, 3);
    SetMacroKey(12, 0x10003);  // a damaged value must not be taken for macro 3

    // Macro 7 was deleted and a new macro created in the editor took id 7.
    std::vector<MacroRecord> list = MakeMacros({3});
    list.push_back(MakeMacro(7, QStringLiteral("new"), 0, 1));
    ASSERT_EQ(Apply(list), MacroApplyResult::Applied);

    EXPECT_EQ(Key(10).type, kAssignDefault);
    EXPECT_EQ(Key(11).type, kAssignMacro);
    EXPECT_EQ(Key(11).value, 3u);
    EXPECT_EQ(Key(12).type, kAssignDefault);
    EXPECT_EQ(m_observer.m_shownAsDefault, (std::vector<int>{10, 12}));
    ASSERT_EQ(m_table.Count(), 2);
    EXPECT_EQ(m_table.Records()[1].Name(), QStringLiteral("new"));
}

TEST_F(ApplyMacroListTest, KeyWithNoMacroChosenGetsTheFirstMacro)
{
    SetMacroKey(20, 0);
    SetMacroKey(1500, 0);
    std::vector<MacroRecord> list = MakeMacros({4, 2});
    ASSERT_EQ(Apply(list), MacroApplyResult::Applied);

    EXPECT_EQ(Key(20).type, kAssignMacro);
    EXPECT_EQ(Key(20).value, 4u);
    EXPECT_EQ(Key(1500).value, 4u);
    EXPECT_TRUE(m_observer.m_shownAsDefault.empty());
    EXPECT_GE(m_observer.m_marks, 1);
}

TEST_F(ApplyMacroListTest, PendingMacrosAreStoredAsAppliedAndTheListFollows)
{
    std::vector<MacroRecord> list;
    list.push_back(MakeMacro(1, QStringLiteral("kept"), 3));
    list.push_back(MakeMacro(2, QStringLiteral("fresh"), 4000, 1));
    SetMacroKey(30, 2);  // chosen in the dialog for the new macro before this apply
    Key(30).value = 0;

    ASSERT_EQ(Apply(list), MacroApplyResult::Applied);
    EXPECT_EQ(Key(30).value, 1u);

    ASSERT_EQ(m_table.Count(), 2);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(list[i].pending, 0);
        EXPECT_EQ(std::memcmp(&m_table.Records()[i], &list[i], sizeof(MacroRecord)), 0);
    }

    // A second apply of the same list (the dialog's Apply, then OK) keeps keys that now
    // use the formerly pending macro.
    Key(31) = {kAssignMacro, 1, 2, 0, 0};
    m_observer = {};
    ASSERT_EQ(Apply(list), MacroApplyResult::Applied);
    EXPECT_EQ(Key(31).type, kAssignMacro);
    EXPECT_TRUE(m_observer.m_shownAsDefault.empty());
    EXPECT_EQ(m_observer.m_marks, 0);
}

TEST_F(ApplyMacroListTest, RefusedListsLeaveEverythingAsItWas)
{
    ASSERT_TRUE(m_table.Replace(MakeMacros({1})));
    SetMacroKey(40, 1);
    SetMacroKey(41, 0);
    const std::vector<KeyAssignment> keysBefore = m_keys;

    std::vector<MacroRecord> tooMany(101);
    EXPECT_EQ(Apply(tooMany), MacroApplyResult::TooManyMacros);

    std::vector<MacroRecord> list = MakeMacros({2});
    list[0].pending = 1;
    {
        LargeAllocationFailure noMemory(sizeof(MacroRecord));
        EXPECT_EQ(Apply(list), MacroApplyResult::OutOfMemory);
    }

    EXPECT_EQ(std::memcmp(m_keys.data(), keysBefore.data(), m_keys.size() * sizeof(KeyAssignment)),
              0);
    ASSERT_EQ(m_table.Count(), 1);
    EXPECT_EQ(m_table.Records()[0].id, 1);
    EXPECT_EQ(list[0].pending, 1);
    EXPECT_TRUE(m_observer.m_shownAsDefault.empty());
    EXPECT_EQ(m_observer.m_marks, 0);
    EXPECT_FALSE(RewriteAllMarkIsSet());
}

// The keyboard's key maps refer to macros by their position in the macro area. Only the
// current profile's key map is sent by a normal download, so any change that leaves another
// profile's key map pointing at the wrong slot must mark the next download to send all.
TEST_F(ApplyMacroListTest, MarksRewriteAllWhenOnBoardKeysWouldPlayTheWrongSlot)
{
    struct Case {
        const char* what;
        int keyIndex;
        uint32_t keyMacro;
        std::vector<uint16_t> newOrder;
        bool rewriteAll;
    };
    const Case cases[] = {
        {"nothing moves", 700, 3, {1, 2, 3}, false},
        {"an unused earlier macro is deleted", 700, 3, {2, 3}, true},
        {"an unused later macro is deleted", 700, 1, {1, 2}, false},
        {"macros are reordered", 700, 1, {2, 1, 3}, true},
        {"the used macro is deleted", 1200, 2, {1, 3}, true},
        {"only block 3, never sent, is affected", 1600, 2, {1, 3}, false},
        {"a new macro is appended", 700, 3, {1, 2, 3, 4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearRewriteAllMark();
        m_keys.assign(kStoreKeyRecordCount, KeyAssignment{});
        ASSERT_TRUE(m_table.Replace(MakeMacros({1, 2, 3})));
        SetMacroKey(c.keyIndex, c.keyMacro);

        std::vector<MacroRecord> list;
        for (uint16_t id : c.newOrder)
            list.push_back(MakeMacro(id, {}, 0, id == 4 ? 1 : 0));
        ASSERT_EQ(Apply(list), MacroApplyResult::Applied);
        EXPECT_EQ(RewriteAllMarkIsSet(), c.rewriteAll);
    }
}

}  // namespace
}  // namespace vantor
