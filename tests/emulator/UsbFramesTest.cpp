// The bus timing of one direction of an endpoint: each report at the start of its own 1 ms
// frame, the first one that starts after the report is ready.

#include "emulator/EmulatedKeyboard.h"
#include "emulator/UsbFrames.h"

#include "FirmwareRequests.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(UsbFramePacer, GivesEachReportTheNextFreeFrame) {
    const UsbFramePacer::Clock::time_point epoch{std::chrono::seconds(100)};
    struct Step {
        microseconds ready;  // when the report is ready, from the epoch
        microseconds frame;  // the start of the frame it crosses in
    };
    // One pacer through all steps: a frame once taken is not given again.
    const Step steps[] = {
        {microseconds(-500), microseconds(0)},  // before the first frame: that frame
        {microseconds(1000), microseconds(2000)},  // ready at a frame's start: it missed that poll
        {microseconds(1200), microseconds(3000)},  // frame 2 is taken: the next free one
        {microseconds(1300), microseconds(4000)},
        {microseconds(9400), microseconds(10000)},  // after a quiet spell: no catching up
        {microseconds(9999), microseconds(11000)},
    };
    UsbFramePacer pacer(epoch);
    for (const Step& step : steps) {
        EXPECT_EQ(pacer.Take(epoch + step.ready) - epoch, step.frame) << step.ready.count();
    }
}

// A request and its reply take a frame each, so n exchanges one after another take at least
// 2n - 1 ms however fast the host answers: the reply never shares its request's frame.
TEST(UsbFramePacer, PacedKeyboardAnswersInTheFrameAfterTheRequest) {
    EmulatedKeyboard keyboard;
    keyboard.SetUsbFrames(true);
    const int endpoint = keyboard.OpenEndpoint(EmulatedInterface::Vendor, true, true);
    ASSERT_GE(endpoint, 0);
    const FirmwareReport request = test::MakeRequest(0x03, 44);
    constexpr int kExchanges = 20;
    const auto start = UsbFramePacer::Clock::now();
    for (int i = 0; i < kExchanges; ++i) {
        FirmwareReport reply{};
        size_t moved = 0;
        ASSERT_EQ(keyboard.Write(endpoint, request.data(), request.size(), &moved),
                  HidIoResult::Done);
        ASSERT_EQ(keyboard.Read(endpoint, reply.data(), reply.size(), &moved, 5000),
                  HidIoResult::Done);
    }
    EXPECT_GE(UsbFramePacer::Clock::now() - start, milliseconds(2 * kExchanges - 1));
}

}  // namespace
}  // namespace vantor
