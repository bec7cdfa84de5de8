#include "device/BuiltInKeyMatrix.h"
#include "keyassign/KeyActionCodec.h"
#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyConversions.h"

#include <gtest/gtest.h>

#include <array>

namespace vantor {
namespace {

KeyAssignment Record(uint16_t type, uint32_t value) {
    KeyAssignment record;
    record.type = type;
    record.value = value;
    return record;
}

int SlotOf(uint32_t id) { return id == 7 ? 3 : 0; }

TEST(EncodeAssignment, EachTypeGivesTheKeyboardsAction) {
    const DeviceAction factory{2, 2, 0x04};
    struct Case {
        KeyAssignment record;
        DeviceAction expected;
    };
    const Case cases[] = {
        {Record(kAssignDefault, 0), factory},
        {Record(kAssignDisabled, 0), {0, 0, 0}},
        {Record(kAssignKey, 0x15B), {2, 1, 0x08}},   // Left Win, a modifier
        {Record(kAssignKey, 0x01D), {2, 1, 0x01}},   // Left Ctrl
        {Record(kAssignKey, 0x15E), {2, 2, 0x00}},   // Power cannot be sent as a key
        {Record(kAssignKey, 0x01E), {2, 2, 0x04}},   // A
        {Record(kAssignKey, 0x172), {1, 1, 0x02}},   // right button
        {Record(kAssignKey, 0x162), {1, 5, 0xFF}},   // wheel down
        {Record(kAssignKey, 0x10000), {2, 2, 0x00}}, // no key code at all
        {Record(kAssignLaunch, 12), factory},
        {Record(kAssignMacro, 7), {5, 1, 3}},
        {Record(kAssignMacro, 9), {5, 1, 0}},        // an id no macro has takes slot 0
        {Record(kAssignStopMacro, 0), {5, 2, 0}},
        {Record(kAssignText, 40), {0, 0, 0}},
        {Record(kAssignMedia, 6), {3, 0xE9, 0x00}},  // volume up
        {Record(kAssignMedia, 18), {0, 0, 0}},       // past the media list
        {Record(kAssignFunction, 0x103), {5, 5, 0x03}},
        {Record(99, 1), {0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeAssignment(c.record, factory, SlotOf), c.expected)
            << "type " << c.record.type << " value " << c.record.value;
    }
}

TEST(DecodeKeyMap, TheDefaultMatrixDecodesToDefaultRecords) {
    const KeyMatrix matrix = BuiltInKeyMatrix();
    std::array<KeyAssignment, kRecordsPerBlock> block;
    block.fill(Record(kAssignKey, 5));
    DecodeKeyMap(matrix, matrix, 126, block);
    for (int i = 0; i < kRecordsPerBlock; ++i) {
        EXPECT_EQ(block[i].type, kAssignDefault) << i;
        EXPECT_EQ(block[i].parameter, ExtraKeyParameterOfRecord(i)) << i;
    }
}

// Every decodable action survives encoding after decoding, at the position of the factory key
// the record belongs to.
TEST(DecodeKeyMap, DecodedRecordsEncodeBackToTheSameActions) {
    const KeyMatrix matrix = BuiltInKeyMatrix();
    KeyMatrix keyMap = matrix;
    const std::array<std::pair<int, DeviceAction>, 9> changes{{
        {8, {5, 1, 4}},      // Esc plays macro slot 4
        {9, {5, 2, 0}},      // grave stops macros
        {10, {5, 5, 7}},     // Tab: keyboard function 7
        {11, {3, 0xE9, 0}},  // Caps Lock: volume up
        {12, {1, 1, 0x04}},  // Left Shift: middle button
        {16, {2, 1, 0x80}},  // F1: Right Win
        {17, {2, 2, 0x1F}},  // 1: sends 2
        {18, {0, 0, 0}},     // Q disabled
        {19, {1, 5, 0x01}},  // A: wheel up
    }};
    for (const auto& [position, action] : changes) {
        keyMap[3 * position] = action.kind;
        keyMap[3 * position + 1] = action.a;
        keyMap[3 * position + 2] = action.b;
    }
    std::array<KeyAssignment, kRecordsPerBlock> block;
    DecodeKeyMap(keyMap, matrix, 126, block);
    const auto slotOfId = [](uint32_t id) { return static_cast<int>(id) - 1; };
    for (const auto& [position, action] : changes) {
        const DeviceAction factory = ActionAt(matrix, position);
        const KeyAssignment& record = block[RowOfCode(CodeOfAction(factory))];
        EXPECT_NE(record.type, kAssignDefault) << position;
        EXPECT_EQ(EncodeAssignment(record, factory, slotOfId), action) << position;
    }
    EXPECT_EQ(block[RowOfCode(CodeOfAction(ActionAt(matrix, 8)))].value, 5u);  // slot 4 = id 5
}

TEST(DecodeKeyMap, UnknownActionsAndPositionsPastTheCountStayDisabledOrUntouched) {
    const KeyMatrix matrix = BuiltInKeyMatrix();
    KeyMatrix keyMap = matrix;
    keyMap[3 * 8] = 3;  // a consumer usage the media list does not have
    keyMap[3 * 8 + 1] = 0x01;
    keyMap[3 * 9] = 5;  // a kind-5 action of no known sort
    keyMap[3 * 9 + 1] = 9;
    keyMap[3 * 10] = 2;  // a modifier action with no modifier bit
    keyMap[3 * 10 + 1] = 1;
    keyMap[3 * 10 + 2] = 0;
    keyMap[3 * 40] = 0;  // past a position count of 40: never read
    std::array<KeyAssignment, kRecordsPerBlock> block;
    DecodeKeyMap(keyMap, matrix, 40, block);
    EXPECT_EQ(block[RowOfCode(0x001)].type, kAssignDisabled);  // Esc
    EXPECT_EQ(block[RowOfCode(0x029)].type, kAssignDisabled);  // grave
    EXPECT_EQ(block[RowOfCode(0x00F)].type, kAssignKey);       // Tab: key 0, not disabled
    EXPECT_EQ(block[RowOfCode(0x00F)].value, 0u);
    EXPECT_EQ(block[RowOfCode(0x03E)].type, kAssignDefault);   // F4 at position 40: not read
}

}  // namespace
}  // namespace vantor
