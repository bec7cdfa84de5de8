#include "keymodel/KeyConversions.h"

#include <gtest/gtest.h>

#include "keymodel/KeyTables.h"

namespace vantor {
namespace {

TEST(KeyConversions, RowsAndCodes) {
    struct Case { KeyCode code; int row; };
    const Case cases[] = {
        {0x000, 0x00}, {0x045, 0x45}, {0x145, 0xC5}, {0x17F, 0xFF}, {0x200, 256}, {0x211, 273},
        {0x180, -1},   {0x1FF, -1},  // never produced: no row and no extra-key record
    };
    for (const Case& c : cases) EXPECT_EQ(RowOfCode(c.code), c.row) << std::hex << c.code;
    for (int code = 0; code < 0x180; ++code) {
        if (code >= 0x80 && code < 0x100) continue;  // not key codes; they alias the E0 rows
        EXPECT_EQ(CodeOfRow(RowOfCode(static_cast<KeyCode>(code))), code) << std::hex << code;
    }
    EXPECT_EQ(CodeOfRow(0xC5), 0x145);
    EXPECT_EQ(CodeOfRow(256), 0);
    EXPECT_EQ(CodeOfRow(-1), 0);
}

TEST(KeyConversions, OrdinalsRoundTrip) {
    for (int row = 0; row < kKeyTableRows; ++row) {
        const uint16_t ordinal = KeyTable[row].ordinal;
        if (ordinal == kNoOrdinal) continue;
        const KeyCode code = CodeOfRow(row);
        EXPECT_EQ(OrdinalOfCode(code), ordinal);
        const KeyCode back = CodeOfOrdinal(ordinal);
        EXPECT_EQ(back, code == 0x136 ? 0x036 : code) << std::hex << code;  // first row wins
    }
    EXPECT_EQ(OrdinalOfCode(0x036), 103);
    EXPECT_EQ(OrdinalOfCode(0x136), 103);
    EXPECT_EQ(CodeOfOrdinal(106), 0);
    EXPECT_EQ(OrdinalOfCode(0x190), kNoOrdinal);
    EXPECT_EQ(OrdinalOfCode(0x200), kNoOrdinal);
}

TEST(KeyConversions, DeviceClassesAndValues) {
    struct Classify { KeyCode code; DeviceValue expected; };
    const Classify classify[] = {
        {0x130, {kDeviceClassKey, 0xC0}},   {0x15E, {kDeviceClassSystem, 0x81}},
        {0x171, {kDeviceClassMouse, 0xF1}}, {0x176, {kDeviceClassNone, 0}},
        {0x01E, {kDeviceClassKey, 0x04}},   {0x17B, {kDeviceClassKey, 0xD4}},
        {0x064, {kDeviceClassNone, 0}},     {0x200, {kDeviceClassNone, 0}},
        {0x190, {kDeviceClassNone, 0}},
    };
    for (const Classify& c : classify) EXPECT_EQ(ClassifyDeviceCode(c.code), c.expected) << std::hex << c.code;

    struct Value { int deviceClass; unsigned value; KeyCode code; };
    const Value values[] = {
        {kDeviceClassSystem, 0x81, 0x15E}, {kDeviceClassSystem, 0x84, 0},
        {kDeviceClassSystem, 0x04, 0},     {kDeviceClassKey, 0x48, 0x045},  // Pause before Break
        {kDeviceClassKey, 0xE5, 0x036},    {kDeviceClassKey, 0x00, 0},
        {kDeviceClassKey, 0x104, 0},       {kDeviceClassConsumer, 0x00E9, 0x130},
        {kDeviceClassConsumer, 0x1234, 0}, {kDeviceClassConsumer, 0, 0},  // unused slots hold 0
        {kDeviceClassMouse, 0xF1, 0},      {kDeviceClassNone, 0, 0},
    };
    for (const Value& v : values) {
        EXPECT_EQ(CodeOfDeviceValue(v.deviceClass, v.value), v.code) << v.deviceClass << " " << std::hex << v.value;
    }

    // Every sendable key comes back from its class and value as the first row with its code.
    for (int row = 0; row < kKeyTableRows; ++row) {
        const DeviceValue dv = ClassifyDeviceCode(CodeOfRow(row));
        if (dv.deviceClass != kDeviceClassKey && dv.deviceClass != kDeviceClassSystem) continue;
        EXPECT_EQ(ClassifyDeviceCode(CodeOfDeviceValue(dv.deviceClass, dv.value)), dv) << std::hex << row;
    }
}

TEST(KeyConversions, ModifierMasks) {
    for (int bit = 0; bit < 8; ++bit) {
        const KeyCode code = CodeOfModifierMask(static_cast<uint8_t>(1u << bit));
        EXPECT_EQ(KeyTable[RowOfCode(code)].deviceCode, 0xE0 + bit) << bit;
        EXPECT_EQ(ModifierMaskOfCode(code), 1u << bit);
    }
    EXPECT_EQ(CodeOfModifierMask(0x06), 0x02A);
    EXPECT_EQ(CodeOfModifierMask(0x80 | 0x40), 0x138);
    EXPECT_EQ(CodeOfModifierMask(0), 0);
    EXPECT_EQ(ModifierMaskOfCode(0x01E), 0);
}

TEST(KeyConversions, CodeOfAction) {
    struct Case { DeviceAction action; KeyCode code; };
    const Case cases[] = {
        {{2, 1, 0x06}, 0x02A},  {{2, 2, 0x28}, 0x01C},  {{3, 0xE9, 0x00}, 0x130}, {{6, 0xA2, 1}, 0x200},
        {{6, 0xA2, 18}, 0x211}, {{6, 0xA2, 0}, 0},      {{6, 0xA2, 19}, 0},       {{6, 0x01, 1}, 0},
        {{5, 1, 0}, 0},         {{5, 2, 0}, 0},         {{0, 0, 0}, 0},           {{1, 1, 0x01}, 0x171},
        {{1, 1, 0x04}, 0x173},  {{1, 1, 0x08}, 0},      {{1, 5, 0x01}, 0x161},    {{1, 5, 0xFF}, 0x162},
        {{1, 2, 0x01}, 0},      {{4, 0x83, 0}, 0x163},  {{4, 0x81, 1}, 0},        {{3, 0, 0}, 0},
        {{2, 2, 0x00}, 0},      {{7, 2, 0x04}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodeOfAction(c.action), c.code)
            << int(c.action.kind) << "," << int(c.action.a) << "," << int(c.action.b);
    }
    // The actions the keyboard holds for the key-list keys and media functions lead back to them.
    for (KeyCode code : KeyList) {
        const uint8_t mask = ModifierMaskOfCode(code);
        const DeviceAction action = mask ? DeviceAction{2, 1, mask}
                                         : DeviceAction{2, 2, KeyTable[RowOfCode(code)].deviceCode};
        EXPECT_EQ(CodeOfAction(action), code) << std::hex << code;
    }
    for (const MediaEntry& media : MediaList) {
        EXPECT_EQ(CodeOfAction({3, uint8_t(media.usage & 0xFF), uint8_t(media.usage >> 8)}), media.code);
    }
}

TEST(KeyConversions, CodeOfKeyMessage) {
    auto param = [](unsigned scan, bool extended) { return (scan << 16) | (extended ? 1u << 24 : 0u) | 1u; };
    struct Case { uint8_t vk; uint32_t parameter; KeyCode code; const char* what; };
    const Case cases[] = {
        {0x10, param(0x36, false), 0x036, "Right Shift under the generic code"},
        {0x41, param(0x36, false), 0x036, "scan 0x36 wins whatever the VK"},
        {0xA1, param(0x36, true), 0x136, "extended Right Shift"},
        {0xFF, param(0x5E, true), 0x15E, "no VK: the scan code"},
        {0x41, 0, 0x01E, "injected key without scan code"},
        {0x24, param(0x47, true), 0x147, "Home"},
        {0x24, param(0x47, false), 0x047, "Num 7 with Num Lock off"},
        {0x0D, param(0x1C, true), 0x11C, "numeric Enter"},
        {0x11, param(0x1D, true), 0x11D, "Right Ctrl under the generic code"},
        {0x10, param(0x2A, false), 0x02A, "Left Shift under the generic code"},
        {0x41, param(0x30, false), 0x01E, "scan code of another key: the VK decides"},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeOfKeyMessage(c.vk, c.parameter), c.code) << c.what;
}

TEST(KeyConversions, UpOnlyAndMediaKeys) {
    int media = 0;
    int upOnly = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        media += IsMediaKeyCode(static_cast<KeyCode>(code));
        upOnly += IsUpOnlyKey(static_cast<KeyCode>(code));
    }
    EXPECT_EQ(media, kMediaCount);
    for (const MediaEntry& m : MediaList) EXPECT_TRUE(IsMediaKeyCode(m.code));
    EXPECT_EQ(upOnly, 4);
    for (KeyCode code : {0x054, 0x071, 0x072, 0x137}) EXPECT_TRUE(IsUpOnlyKey(code)) << std::hex << code;
}

}  // namespace
}  // namespace vantor
