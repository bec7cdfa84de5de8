#include "macros/MacroTable.h"

#include "MacroTestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>

namespace vantor {
namespace {

TEST(MacroTableTest, EmptyTableHoldsNoArray)
{
    MacroTable table;
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Records().data(), nullptr);

    ASSERT_TRUE(table.Replace(MakeMacros({1, 2})));
    EXPECT_EQ(table.Count(), 2);
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Records().data(), nullptr);

    ASSERT_TRUE(table.Replace(MakeMacros({1})));
    ASSERT_TRUE(table.Replace({}));
    EXPECT_EQ(table.Records().data(), nullptr);
}

TEST(MacroTableTest, LookupsByIdAndIndex)
{
    std::recursive_mutex lock;
    MacroTable table;
    ASSERT_TRUE(table.Replace(MakeMacros({5, 9, 5})));

    EXPECT_EQ(table.IndexOfId(9, lock), 1);
    EXPECT_EQ(table.IndexOfId(5, lock), 0);   // the first of two
    EXPECT_EQ(table.IndexOfId(42, lock), 0);  // missing reads as the first macro
    EXPECT_EQ(table.IndexOfId(0, lock), 0);
    EXPECT_EQ(table.FindById(42), nullptr);
    EXPECT_EQ(table.FindById(0), nullptr);
    EXPECT_EQ(table.FindById(0x10009), nullptr);  // a key value past 16 bits names no macro
    ASSERT_NE(table.FindById(9), nullptr);
    EXPECT_EQ(table.FindById(9)->Name(), QStringLiteral("M9"));

    EXPECT_EQ(table.IdOfIndex(1, lock), 9);
    EXPECT_EQ(table.IdOfIndex(-1, lock), 0);
    EXPECT_EQ(table.IdOfIndex(3, lock), 0);

    // The store lock is recursive: a caller that holds it can still look up.
    std::lock_guard held(lock);
    EXPECT_EQ(table.IndexOfId(9, lock), 1);
}

TEST(MacroTableTest, ReplaceRefusesMoreThan100Macros)
{
    MacroTable table;
    ASSERT_TRUE(table.Replace(MakeMacros({3})));
    EXPECT_FALSE(table.Replace(std::vector<MacroRecord>(101)));
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.Records()[0].id, 3);
    EXPECT_TRUE(table.Replace(std::vector<MacroRecord>(100)));
}

TEST(MacroTableTest, SmallestFreeId)
{
    struct Case {
        std::vector<MacroRecord> list;
        uint16_t expected;
    };
    std::vector<MacroRecord> full;
    for (uint16_t id = 100; id >= 1; --id)
        full.push_back(MakeMacro(id));
    const Case cases[] = {
        {{}, 1},
        {MakeMacros({1, 2, 4}), 3},
        {MakeMacros({2, 1}), 3},
        {MakeMacros({0, 101, 7}), 1},
        {full, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SmallestFreeMacroId(c.list), c.expected);
}

TEST(MacroTableTest, KeyboardFormSize)
{
    MacroTable table;
    EXPECT_EQ(table.KeyboardFormSize(false), 16u);
    EXPECT_EQ(table.KeyboardFormSize(true), 16u);

    // Two macros of 100 actions with 20-character names.
    std::vector<MacroRecord> macros;
    macros.push_back(MakeMacro(1, QString(20, u'a'), 100));
    macros.push_back(MakeMacro(2, QString(20, u'b'), 100));
    ASSERT_TRUE(table.Replace(std::move(macros)));
    EXPECT_EQ(table.KeyboardFormSize(false), 828u);
    EXPECT_EQ(table.KeyboardFormSize(true), 908u);

    // A damaged action count counts only the slots that exist.
    std::vector<MacroRecord> damaged(1);
    damaged[0].actionCount = 0xFFFF;
    ASSERT_TRUE(table.Replace(std::move(damaged)));
    EXPECT_EQ(table.KeyboardFormSize(true), 16u + 2 + 4 + 4 * 4000);
}

TEST(MacroTableTest, CopyFromMakesAnIndependentCopy)
{
    MacroTable working;
    MacroTable snapshot;
    ASSERT_TRUE(snapshot.Replace(MakeMacros({8})));
    ASSERT_TRUE(working.Replace(MakeMacros({1, 2})));

    ASSERT_TRUE(snapshot.CopyFrom(working));
    ASSERT_EQ(snapshot.Count(), 2);
    EXPECT_EQ(std::memcmp(snapshot.Records().data(), working.Records().data(),
                          2 * sizeof(MacroRecord)),
              0);
    working.Clear();
    EXPECT_EQ(snapshot.Count(), 2);

    ASSERT_TRUE(snapshot.CopyFrom(working));
    EXPECT_EQ(snapshot.Records().data(), nullptr);
}

}  // namespace
}  // namespace vantor
