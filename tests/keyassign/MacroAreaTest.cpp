#include "keyassign/MacroArea.h"
#include "macros/MacrosFromKeyboard.h"

#include "keyassign/MacroTables.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

uint16_t Word(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

TEST(MacroArea, SizesAndLayoutOfTwoNamedMacros) {
    const MacroTable table = test::SampleTable(2, 100, 20);
    const MacroAreaSize sizes = MacroAreaSizes(table);
    EXPECT_EQ(sizes.withoutNames, 828u);
    EXPECT_EQ(sizes.withNames, 908u);

    std::vector<uint8_t> area(sizes.withNames, 0xCC);
    ASSERT_TRUE(BuildMacroArea(table, area, true));
    EXPECT_EQ(Word(area, 0), 0x55AA);
    EXPECT_EQ(Word(area, 2), 908);
    EXPECT_EQ(Word(area, 4), 2);
    EXPECT_EQ(Word(area, 6), 1);
    for (size_t i = 8; i < 16; ++i) EXPECT_EQ(area[i], 0) << i;
    EXPECT_EQ(Word(area, 16), 20);
    EXPECT_EQ(Word(area, 18), 20 + 4 + 400 + 40);
    EXPECT_EQ(Word(area, 20), 100);  // action count
    EXPECT_EQ(area[22], 2);          // play count
    EXPECT_EQ(area[23], 20);         // name length
    EXPECT_EQ(Word(area, 24), 0x8000 | 0x2000 | 2);  // press of a key, 20 ms
    EXPECT_EQ(area[26], 2);
    EXPECT_EQ(area[27], 0x04);
    EXPECT_EQ(Word(area, 28), 0x2000 | 2);  // its release
    EXPECT_EQ(Word(area, 20 + 4 + 400), u'b');

    std::vector<uint8_t> bare(sizes.withoutNames);
    ASSERT_TRUE(BuildMacroArea(table, bare, false));
    EXPECT_EQ(Word(bare, 6), 0);
    EXPECT_EQ(bare[23], 0);
    EXPECT_EQ(Word(bare, 18), 20 + 4 + 400);
    EXPECT_FALSE(BuildMacroArea(table, std::span(bare).first(827), false));
}

TEST(MacroArea, ActionEncodings) {
    struct Case {
        MacroAction action;
        uint8_t expected[4];
    };
    const Case cases[] = {
        {{0, 0x02A, kMacroPress}, {0x00, 0xA0, 1, 0x02}},        // Left Shift: modifier bit
        {{30, 0x171, kMacroRelease}, {0x03, 0x10, 1, 0x01}},     // left button
        {{0, 0x162, kMacroPress}, {0x00, 0x90, 5, 0xFF}},        // wheel down
        {{0, 0x15E, kMacroPress}, {0x00, 0xC0, 0x81, 0}},        // Power: a system key
        {{40950, 0x01E, kMacroPress}, {0xFF, 0xAF, 2, 0x04}},    // the largest delay kept
        {{40960, 0x01E, kMacroPress}, {0x00, 0xA0, 2, 0x04}},    // high bits lost
        {{0, 0x000, kMacroPress}, {0x00, 0x80, 0, 0}},           // nothing to send
    };
    for (const Case& c : cases) {
        uint8_t out[4];
        EncodeMacroAction(c.action, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + 4),
                  std::vector<uint8_t>(c.expected, c.expected + 4))
            << c.action.keyCode << " " << c.action.delay;
    }
}

TEST(MacroArea, WhatIsBuiltReadsBackAsTheSameMacros) {
    MacroTable table = test::SampleTable(3, 7, 5);
    std::vector<MacroRecord> records(table.Records().begin(), table.Records().end());
    records[1].SetName(QString());
    records[2].AddAction({0, 0x172, kMacroPress});
    table.Replace(records);
    std::vector<uint8_t> area(MacroAreaSizes(table).withNames);
    ASSERT_TRUE(BuildMacroArea(table, area, true));

    const auto parsed = ParseKeyboardMacroArea(area);
    ASSERT_TRUE(parsed);
    const auto back = MacrosFromKeyboard(*parsed, QStringLiteral("Macro "));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const MacroRecord& original = table.Records()[i];
        EXPECT_EQ((*back)[i].id, i + 1);
        EXPECT_EQ((*back)[i].cycleCount, original.cycleCount);
        ASSERT_EQ((*back)[i].actionCount, original.actionCount);
        for (int a = 0; a < original.actionCount; ++a) {
            EXPECT_EQ((*back)[i].actions[a], original.actions[a]) << i << " " << a;
        }
    }
    EXPECT_EQ((*back)[0].Name(), table.Records()[0].Name());
    EXPECT_EQ((*back)[1].Name(), QStringLiteral("Macro 2"));
}

// The parser keeps to the bytes given: a cut-off area, offsets and counts pointing outside it.
TEST(MacroArea, ReadingBackStaysInsideWhatWasRead) {
    MacroTable table = test::SampleTable(2, 10, 8);
    std::vector<uint8_t> area(MacroAreaSizes(table).withNames);
    ASSERT_TRUE(BuildMacroArea(table, area, true));

    const auto cut = ParseKeyboardMacroArea(std::span(area).first(30));
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->size(), 2u);
    EXPECT_EQ((*cut)[0].actions.size(), 1u);  // (30 - 24) / 4 whole actions
    EXPECT_TRUE((*cut)[0].name.isEmpty());
    EXPECT_TRUE((*cut)[1].actions.empty());  // its entry lies past the cut

    std::vector<uint8_t> lying = area;
    lying[4] = 0xFF;  // 255 macros claimed: at most 100 are taken
    lying[20] = 0xFF;  // the first claims 65535 actions
    lying[21] = 0xFF;
    const auto bounded = ParseKeyboardMacroArea(lying);
    ASSERT_TRUE(bounded);
    EXPECT_EQ(bounded->size(), 100u);
    EXPECT_LE((*bounded)[0].actions.size(), static_cast<size_t>(kMaxMacroActions));

    const std::vector<uint8_t> blank(16, 0);
    EXPECT_TRUE(ParseKeyboardMacroArea(blank)->empty());
    EXPECT_TRUE(ParseKeyboardMacroArea({})->empty());
}

}  // namespace
}  // namespace vantor
