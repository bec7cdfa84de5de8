#include "keymodel/AssignmentRecords.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "keymodel/KeyTables.h"

namespace vantor {
namespace {

TEST(AssignmentRecords, WhereRecordsLie) {
    struct Case { int actual; int expected; const char* what; };
    const Case cases[] = {
        {RecordOfKeyCode(0x01E), 0x1E, "key A"},
        {RecordOfKeyCode(0x145), 0xC5, "Num Lock"},
        {RecordOfKeyCode(0x200), 256, "extra key 1 by code"},
        {RecordOfKeyCode(0x211), 273, "extra key 18 by code"},
        {RecordOfKeyCode(0x212), -1, "past the extra keys"},
        {RecordOfKeyCode(0x190), -1, "never-produced code"},
        {RecordOfExtraKey(1), 256, "extra key 1"},
        {RecordOfExtraKey(0), -1, "extra key 0"},
        {RecordOfExtraKey(19), -1, "extra key 19"},
        {RecordOfExtraKeyButton(0, ExtraKeyBank::A), 256, "button 0, bank A"},
        {RecordOfExtraKeyButton(3, ExtraKeyBank::B), 268, "button 3, bank B"},
        {RecordOfExtraKeyButton(9, ExtraKeyBank::A), -1, "no button 9"},
        {ColourRecordOfKeyListPosition(0), 0, "colour of key A: record 0, not 0x1E"},
        {ColourRecordOfKeyListPosition(106), -1, "no position 106"},
        {ColourRecordOfExtraKeyButton(3, ExtraKeyBank::A), 3, "colour of button 3, bank A"},
        {ColourRecordOfExtraKeyButton(3, ExtraKeyBank::B), 12, "colour of button 3, bank B"},
        {ExtraKeyButtonOfRecord(268, ExtraKeyBank::B), 3, "record 268 with bank B shown"},
        {ExtraKeyButtonOfRecord(268, ExtraKeyBank::A), -1, "record 268 with bank A shown"},
        {ExtraKeyButtonOfRecord(264, ExtraKeyBank::A), 8, "record 264 with bank A shown"},
        {KeyListPositionOfRecord(0x1E), 0, "record of key A"},
        {KeyListPositionOfRecord(0xC6), -1, "Break has no button"},
        {KeyListPositionOfRecord(256), -1, "extra-key record"},
        {ExtraKeyParameterOfRecord(256), 0x0301, "parameter of extra key 1"},
        {ExtraKeyParameterOfRecord(273), 0x1309, "parameter of extra key 18"},
        {ExtraKeyParameterOfRecord(0x1E), 0, "ordinary key"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
    for (int p = 0; p < kKeyListSize; ++p) EXPECT_EQ(KeyListPositionOfRecord(RecordOfKeyCode(KeyList[p])), p);
}

TEST(AssignmentRecords, ClearBlockLeavesOnlyTheExtraKeyWords) {
    std::array<KeyAssignment, kRecordsPerBlock> block;
    block.fill(KeyAssignment{4, 0xABAB, 0xABABABAB, 1, 0xABABABAB});
    ClearBlock(block);
    for (int i = 0; i < kRecordsPerBlock; ++i) {
        KeyAssignment expected{};
        if (i >= 256 && i <= 264) expected.parameter = static_cast<uint16_t>(0x0301 + (i - 256));
        if (i >= 265 && i <= 273) expected.parameter = static_cast<uint16_t>(0x1301 + (i - 265));
        EXPECT_EQ(std::memcmp(&block[i], &expected, sizeof(KeyAssignment)), 0) << "record " << i;
    }
}

}  // namespace
}  // namespace vantor
