#include "keymodel/KeyTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace vantor {
namespace {

const KeyRow& RowOf(KeyCode code) { return KeyTable.at(RowOfCode(code)); }
bool IsNamed(const KeyRow& row) { return row.languageKey[0] != '\0'; }

TEST(KeyTables, EveryKeyListKeyHasANamedRowAndOwnDeviceCode) {
    std::set<int> rows;
    std::set<int> deviceCodes;
    for (KeyCode code : KeyList) {
        const int row = RowOfCode(code);
        ASSERT_TRUE(IsKeyTableRow(row)) << std::hex << code;
        EXPECT_TRUE(IsNamed(KeyTable[row])) << std::hex << code;
        EXPECT_NE(KeyTable[row].deviceCode, 0) << std::hex << code;
        EXPECT_TRUE(rows.insert(row).second) << "key listed twice: " << std::hex << code;
        EXPECT_TRUE(deviceCodes.insert(KeyTable[row].deviceCode).second) << std::hex << code;
    }
}

TEST(KeyTables, EmptyRowsCarryNothing) {
    int named = 0;
    for (const KeyRow& row : KeyTable) {
        if (IsNamed(row) || row.englishName[0] != '\0') {
            ++named;
            EXPECT_NE(row.ordinal, kNoOrdinal) << row.englishName;
            continue;
        }
        EXPECT_EQ(row.ordinal, kNoOrdinal);
        EXPECT_EQ(row.vk, 0xFF);
        EXPECT_EQ(row.deviceCode, 0);
    }
    EXPECT_EQ(named, 106 + 51);  // the key list plus the other named rows (F13 has no language key)
    EXPECT_FALSE(IsNamed(RowOf(0x064)));
    EXPECT_STREQ(RowOf(0x064).englishName, "F13");
}

// The picker order as it is described in words, independently of the table's ordinal column.
TEST(KeyTables, OrdinalsFollowThePickerOrder) {
    for (int p = 0; p <= 65; ++p) EXPECT_EQ(RowOf(KeyList[p]).ordinal, p) << "key-list position " << p;
    const std::map<KeyCode, int> named = {
        {0x146, 66},  {0x152, 67},  {0x153, 68},  {0x147, 69},  {0x14F, 70},  {0x149, 71},
        {0x151, 72},  {0x148, 73},  {0x150, 74},  {0x14B, 75},  {0x14D, 76},  {0x046, 77},
        {0x03A, 78},  {0x145, 79},  {0x135, 80},  {0x037, 81},  {0x04A, 82},  {0x04E, 83},
        {0x11C, 84},  {0x04F, 85},  {0x050, 86},  {0x051, 87},  {0x04B, 88},  {0x04C, 89},
        {0x04D, 90},  {0x047, 91},  {0x048, 92},  {0x049, 93},  {0x052, 94},  {0x053, 95},
        {0x056, 96},  {0x15D, 97},  {0x01D, 98},  {0x02A, 99},  {0x038, 100}, {0x15B, 101},
        {0x11D, 102}, {0x036, 103}, {0x136, 103}, {0x138, 104}, {0x15C, 105}, {0x171, 107},
        {0x172, 108}, {0x173, 109}, {0x161, 110}, {0x162, 111},
    };
    for (const auto& [code, ordinal] : named) EXPECT_EQ(RowOf(code).ordinal, ordinal) << std::hex << code;

    // Every picker ordinal belongs to exactly one row (the second Right Shift row aside), none
    // to 106, and the out-of-picker ordinals are distinct too.
    std::map<int, int> uses;
    for (const KeyRow& row : KeyTable) {
        if (row.ordinal != kNoOrdinal) ++uses[row.ordinal];
    }
    for (int ordinal = 0; ordinal <= 111; ++ordinal) {
        const int expected = ordinal == 106 ? 0 : ordinal == 103 ? 2 : 1;
        EXPECT_EQ(uses[ordinal], expected) << "ordinal " << ordinal;
    }
    for (const auto& [ordinal, count] : uses) {
        if (ordinal >= kNotInPicker) EXPECT_EQ(count, 1) << std::hex << ordinal;
        else EXPECT_LE(ordinal, 111);
    }
}

TEST(KeyTables, ButtonIdsAndLedPositionsAreUnique) {
    std::set<int> ids(ExtraKeyButtonIds.begin(), ExtraKeyButtonIds.end());
    ids.insert(kFnButtonId);
    std::set<int> leds = {kExtraKeyLedPosition, kFnLedPosition};
    for (int p = 0; p < kKeyListSize; ++p) {
        EXPECT_TRUE(ids.insert(KeyListButtonIds[p]).second) << "button id of position " << p;
        const int led = LedPositionOfKeyListPosition(p);
        EXPECT_GE(led, 0);
        EXPECT_LT(led, kLedPositionCount);
        EXPECT_TRUE(leds.insert(led).second) << "LED position of key-list position " << p;
        EXPECT_EQ(KeyListPositionOfButton(KeyListButtonIds[p]), p);
    }
    EXPECT_EQ(ids.size(), 106u + 9u + 1u);
    EXPECT_EQ(LedPositionOfKeyListPosition(-1), -1);
    EXPECT_EQ(LedPositionOfKeyListPosition(106), -1);
    EXPECT_EQ(KeyListPositionOfButton(kFnButtonId), -1);
    EXPECT_EQ(ExtraKeyButtonIndexOf(1140), 5);
    EXPECT_EQ(ExtraKeyButtonIndexOf(1058), -1);

    // Positions stated alongside the list: A, Space, Enter, Num Lock, Esc, F1 and F12.
    const std::map<KeyCode, int> known = {{0x01E, 64}, {0x039, 108}, {0x01C, 76}, {0x145, 38},
                                          {0x001, 0},   {0x03B, 1},   {0x058, 12}};
    for (int p = 0; p < kKeyListSize; ++p) {
        if (auto it = known.find(KeyList[p]); it != known.end()) {
            EXPECT_EQ(LedPositionOfKeyListPosition(p), it->second) << std::hex << KeyList[p];
        }
    }
}

TEST(KeyTables, MediaListConsumerTableAndKeyTableAgree) {
    std::set<int> slots;
    for (int n = 0; n < kMediaCount; ++n) {
        const MediaEntry& media = MediaList[n];
        const KeyRow& row = RowOf(media.code);
        EXPECT_STREQ(row.languageKey, media.languageKey) << n;
        const std::string key = media.languageKey;
        EXPECT_EQ(key.substr(key.rfind('_') + 1), std::to_string(n + 1));
        ASSERT_GE(row.deviceCode, 0xC0) << n;
        ASSERT_LE(row.deviceCode, 0xD1) << n;
        EXPECT_EQ(ConsumerTable[row.deviceCode - 0xC0], media.usage) << n;
        EXPECT_TRUE(slots.insert(row.deviceCode - 0xC0).second) << n;
    }
    EXPECT_EQ(slots.size(), 18u);
    for (int slot = 18; slot < kConsumerSlots; ++slot) EXPECT_EQ(ConsumerTable[slot], 0) << slot;
}

TEST(KeyTables, MouseAndFunctionLists) {
    for (int n = 0; n < kMouseCount; ++n) {
        EXPECT_STREQ(RowOf(MouseList[n].code).languageKey, MouseList[n].languageKey);
        EXPECT_EQ(RowOf(MouseList[n].code).ordinal, 107 + n);
    }
    for (int n = 0; n < kFunctionCount; ++n) {
        EXPECT_EQ(std::string(FunctionList[n]), "FUNC_KEY_DESC" + std::to_string(n + 1));
    }
}

TEST(KeyTables, VkTableInvertsTheVkColumn) {
    auto pseudo = [](int vk) { return (vk >= 0x88 && vk <= 0x8C) || (vk >= 0x97 && vk <= 0x9F); };
    for (int row = 0; row < kKeyTableRows; ++row) {
        const KeyRow& key = KeyTable[row];
        if (key.vk == 0xFF) continue;
        if (pseudo(key.vk)) {
            EXPECT_EQ(VkTable[key.vk], 0) << std::hex << int(key.vk);
            continue;
        }
        ASSERT_NE(VkTable[key.vk], 0) << "row " << std::hex << row;
        EXPECT_EQ(KeyTable[VkTable[key.vk]].vk, key.vk) << "row " << std::hex << row;
    }
    for (int vk = 0; vk < 256; ++vk) {
        const int row = VkTable[vk];
        if (row == 0 || (vk >= 0x10 && vk <= 0x12)) continue;
        EXPECT_TRUE(KeyTable[row].vk == vk || KeyTable[row].altVk == vk) << std::hex << vk;
    }
    // Shared codes and generic modifiers.
    const std::map<int, int> choices = {
        {0x0D, 0x1C}, {0xA1, 0x36}, {0x24, 0xC7}, {0x2E, 0xD3}, {0x2D, 0xD2}, {0x21, 0xC9},
        {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x2C, 0xB7}, {0x0C, 0x4C}, {0xFF, 0},
    };
    for (const auto& [vk, row] : choices) EXPECT_EQ(VkTable[vk], row) << std::hex << vk;
}

TEST(KeyTables, ExtraKeyParameterWords) {
    const std::map<int, int> cases = {{0, 0},       {1, 0x0301},  {9, 0x0309},
                                      {10, 0x1301}, {18, 0x1309}, {19, 0}};
    for (const auto& [r, word] : cases) EXPECT_EQ(ExtraKeyParameter(r), word) << r;
}

}  // namespace
}  // namespace vantor
