#include "device/InterfaceMatch.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(InterfaceMatch, IdsComeFromThePathText) {
    const struct {
        const char* path;
        uint16_t vendorId;
        uint16_t productId;
        bool keyboard;
    } cases[] = {
        {"/dev/hidraw3#vid_0c45&pid_5004", 0x0C45, 0x5004, true},
        {"\\\\?\\HID#VID_320F&PID_5000&MI_02#7&1", 0x320F, 0x5000, true},
        {"sim:0#Vid_320f&pId_5000&mi_02", 0x320F, 0x5000, true},
        {"x#vid_10c45&pid_15004", 0x0C45, 0x5004, true},  // low 16 bits only
        {"x#vid_0c45", 0x0C45, 0, false},
        {"x#pid_5004", 0, 0x5004, false},
        {"x#vid_&pid_zz", 0, 0, false},
        {"x#vid_320f&pid_5004", 0x320F, 0x5004, false},  // a pair of two models is neither
        {"", 0, 0, false},
    };
    for (const auto& c : cases) {
        const PathIds ids = IdsFromPath(QString::fromLatin1(c.path));
        EXPECT_EQ(ids.vendorId, c.vendorId) << c.path;
        EXPECT_EQ(ids.productId, c.productId) << c.path;
        EXPECT_EQ(IsKeyboardPath(QString::fromLatin1(c.path)), c.keyboard) << c.path;
    }
}

}  // namespace
}  // namespace vantor
