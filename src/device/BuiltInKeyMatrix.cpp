#include "device/BuiltInKeyMatrix.h"

#include "keymodel/DeviceAction.h"

namespace vantor {

namespace {

// Keyboard usages of the keys, and the modifier bits of the modifiers.
constexpr DeviceAction Key(uint8_t usage) { return {2, 2, usage}; }
constexpr DeviceAction Modifier(uint8_t mask) { return {2, 1, mask}; }

constexpr DeviceAction kEmpty{0, 0, 0};
constexpr DeviceAction kColumnZero{5, 0, 0};
constexpr DeviceAction kStopMacro{5, 2, 2};

// Columns 1-7, rows 0-7 (a column lists fewer keys than eight: the rest are empty).
constexpr DeviceAction kColumns[7][8] = {
    {Key(0x29), Key(0x35), Key(0x2B), Key(0x39), Modifier(0x02), Modifier(0x01), kEmpty, kEmpty},
    {Key(0x3A), Key(0x1E), Key(0x14), Key(0x04), Key(0x1D), Modifier(0x08), kEmpty, kEmpty},
    {Key(0x3B), Key(0x1F), Key(0x1A), Key(0x16), Key(0x1B), Modifier(0x04), kEmpty, kEmpty},
    {Key(0x3C), Key(0x20), Key(0x08), Key(0x07), Key(0x06), Key(0x2C), Key(0x46), kEmpty},
    {Key(0x3D), Key(0x21), Key(0x15), Key(0x09), Key(0x19), Modifier(0x40), Key(0x47), kEmpty},
    {Key(0x3E), Key(0x22), Key(0x17), Key(0x0A), Key(0x05), kStopMacro, Key(0x2E), kEmpty},
    {Key(0x3F), Key(0x23), Key(0x1C), Key(0x0B), Key(0x11), Key(0x65), Key(0x48), kEmpty},
};

}  // namespace

KeyMatrix BuiltInKeyMatrix() {
    KeyMatrix matrix{};
    auto put = [&matrix](int position, DeviceAction action) {
        matrix[3 * position] = action.kind;
        matrix[3 * position + 1] = action.a;
        matrix[3 * position + 2] = action.b;
    };
    for (int position = 0; position < 6; ++position) {
        put(position, kColumnZero);
    }
    for (int column = 1; column <= 7; ++column) {
        for (int row = 0; row < 8; ++row) {
            put(8 * column + row, kColumns[column - 1][row]);
        }
    }
    return matrix;
}

}  // namespace vantor
