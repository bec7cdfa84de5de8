// The record rules of a key's choice, shared by the key assignment dialog and vantorctl.

#include "profiles/KeyChoice.h"

#include "keymodel/KeyTables.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vantor {
namespace {

constexpr KeyCode kKeyA = 0x1E;
constexpr KeyCode kKeyB = 0x30;
constexpr int kRecordA = RowOfCode(kKeyA);

auto Fields(const KeyAssignment& r) { return std::tuple(r.type, r.parameter, r.value, r.colourSelection, r.reserved); }

TEST(KeyChoiceTest, EachChoiceWritesItsRecordAndKeepsTheWordsOfOtherOwners) {
    const struct {
        const char* what;
        int record;
        KeyChoice choice;
        bool withMacros;
        KeyAssignment expected;  // colour-selection 1 and reserved 0xABCD kept throughout
    } cases[] = {
        {"key B on A", kRecordA, {kAssignKey, kKeyB}, false, {kAssignKey, 0, kKeyB, 1, 0xABCD}},
        {"A on itself", kRecordA, {kAssignKey, kKeyA}, false, {kAssignDefault, 0, kKeyA, 1, 0xABCD}},
        {"no key captured", kRecordA, {kAssignKey, 0}, false, {kAssignDefault, 0, 0, 1, 0xABCD}},
        {"left button", kRecordA, {kAssignKey, 0x171}, false, {kAssignKey, 0, 0x171, 1, 0xABCD}},
        {"media on G1", 256, {kAssignMedia, 6}, false, {kAssignMedia, 0x0301, 6, 1, 0xABCD}},
        {"function on G10", 265, {kAssignFunction, 10}, false, {kAssignFunction, 0x1301, 10, 1, 0xABCD}},
        {"default on G18", 273, {kAssignDefault, 99}, false, {kAssignDefault, 0x1309, 0, 1, 0xABCD}},
        {"macro", kRecordA, {kAssignMacro, 7, 3}, true, {kAssignMacro, 3, 7, 1, 0xABCD}},
        {"macro on G2", 257, {kAssignMacro, 7, 200}, true, {kAssignMacro, 200, 7, 1, 0xABCD}},
        {"macro, none held", kRecordA, {kAssignMacro, 7, 3}, false, {kAssignDefault, 0, 0, 1, 0xABCD}},
    };
    for (const auto& c : cases) {
        ProfileData data = ProfileData::Default();
        if (c.withMacros) {
            std::vector<MacroRecord> macros(1);
            macros[0].id = 7;
            ASSERT_TRUE(data.Macros().Replace(std::move(macros)));
        }
        KeyAssignment& record = data.Block(1)[c.record];
        record = KeyAssignment{kAssignLaunch, 0x55, 0x1234, 1, 0xABCD};
        data.SetText(BlockStart(1) + c.record, u"/usr/bin/true");
        data.SetText(BlockStart(1) + 5, u"kept");
        const uint32_t keptBytes = data.TextBytes(BlockStart(1) + 5);

        const KeyAssignment written = ApplyKeyChoice(data, 1, c.record, c.choice);
        EXPECT_EQ(Fields(written), Fields(c.expected)) << c.what;
        EXPECT_EQ(Fields(data.Block(1)[c.record]), Fields(c.expected)) << c.what;
        // The replaced record's text is released, and the total drops by its size.
        EXPECT_TRUE(data.Text(BlockStart(1) + c.record).empty()) << c.what;
        EXPECT_EQ(data.TotalTextBytes(), keptBytes) << c.what;
        EXPECT_EQ(data.Block(0)[c.record].type, kAssignDefault) << "other blocks untouched";
    }
}

// A record of a type the dialog cannot build survives OK without changes, text and all.
TEST(KeyChoiceTest, ATypeTheDialogCannotBuildLeavesTheRecordAlone) {
    for (const uint16_t type : {kAssignDisabled, kAssignLaunch, kAssignStopMacro, kAssignText}) {
        ProfileData data = ProfileData::Default();
        const KeyAssignment before{type, 0, 0x20, 0, 0};
        data.Block(0)[kRecordA] = before;
        data.SetText(kRecordA, u"hello");
        ApplyKeyChoice(data, 0, kRecordA, KeyChoice{type, 0});
        EXPECT_EQ(Fields(data.Block(0)[kRecordA]), Fields(before)) << type;
        EXPECT_EQ(data.Text(kRecordA), u"hello") << type;
    }
}

TEST(KeyChoiceTest, ButtonsEditTheirKeysRecordButToggleTheColourWordTheyOwn) {
    const int buttonA = KeyListButtonIds[0];  // key-list position 0
    EXPECT_EQ(RecordOfKeyButton(buttonA, ExtraKeyBank::A), kRecordA);
    EXPECT_EQ(RecordOfKeyButton(ExtraKeyButtonIds[3], ExtraKeyBank::B), 268);
    EXPECT_EQ(RecordOfKeyButton(ExtraKeyButtonIds[8], ExtraKeyBank::A), 264);
    EXPECT_EQ(RecordOfKeyButton(kFnButtonId, ExtraKeyBank::A), -1);

    ProfileData data = ProfileData::Default();
    ASSERT_TRUE(ToggleColourSelection(data, 2, buttonA, ExtraKeyBank::A));
    EXPECT_EQ(data.Block(2)[0].colourSelection, 1u);
    EXPECT_EQ(data.Block(2)[kRecordA].colourSelection, 0u);
    ASSERT_TRUE(ToggleColourSelection(data, 2, buttonA, ExtraKeyBank::A));
    EXPECT_EQ(data.Block(2)[0].colourSelection, 0u);
    ASSERT_TRUE(ToggleColourSelection(data, 2, ExtraKeyButtonIds[3], ExtraKeyBank::B));
    EXPECT_EQ(data.Block(2)[12].colourSelection, 1u);
    ASSERT_TRUE(ToggleColourSelection(data, 2, ExtraKeyButtonIds[3], ExtraKeyBank::A));
    EXPECT_EQ(data.Block(2)[3].colourSelection, 1u);
    EXPECT_FALSE(ToggleColourSelection(data, 2, kFnButtonId, ExtraKeyBank::A));
}

}  // namespace
}  // namespace vantor
