#include "device/BuiltInKeyMatrix.h"
#include "device/DeviceState.h"
#include "keymodel/KeyConversions.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

DeviceAction At(const KeyMatrix& matrix, int position) {
    return {matrix[3 * position], matrix[3 * position + 1], matrix[3 * position + 2]};
}

TEST(BuiltInKeyMatrix, HoldsTheLeftHalfOfTheBoardColumnMajor) {
    const KeyMatrix matrix = BuiltInKeyMatrix();
    EXPECT_EQ(At(matrix, 0), (DeviceAction{5, 0, 0}));
    EXPECT_EQ(At(matrix, 5), (DeviceAction{5, 0, 0}));
    EXPECT_EQ(At(matrix, 6), (DeviceAction{0, 0, 0}));
    EXPECT_EQ(CodeOfAction(At(matrix, 8)), 0x001);       // Esc
    EXPECT_EQ(CodeOfAction(At(matrix, 13)), 0x01D);      // Left Ctrl
    EXPECT_EQ(CodeOfAction(At(matrix, 21)), 0x15B);      // Left Win
    EXPECT_EQ(CodeOfAction(At(matrix, 29)), 0x038);      // Left Alt
    EXPECT_EQ(CodeOfAction(At(matrix, 38)), 0x137);      // Print Screen
    EXPECT_EQ(At(matrix, 53), (DeviceAction{5, 2, 2}));  // stop macro
    EXPECT_EQ(CodeOfAction(At(matrix, 54)), 0x00D);      // equals
    EXPECT_EQ(CodeOfAction(At(matrix, 61)), 0x15D);      // Application
    EXPECT_EQ(CodeOfAction(At(matrix, 62)), 0x045);      // Pause
    EXPECT_EQ(At(matrix, 64), (DeviceAction{0, 0, 0}));
}

// Before a keyboard's own matrix has been read, the device state holds the built-in one.
TEST(BuiltInKeyMatrix, IsTheDeviceStatesMatrixUntilOneIsRead) {
    EXPECT_EQ(DeviceState().DefaultKeyMatrix(), BuiltInKeyMatrix());
}

}  // namespace
}  // namespace vantor
