#include "device/HidDevice.h"

#include "SysfsTree.h"
#include "TestDescriptors.h"
#include "device/HidrawBackend.h"
#include "emulator/EmulatorBackend.h"
#include "support/WaitFor.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>

#include <fcntl.h>
#include <unistd.h>

namespace vantor {
namespace {

using test::SysfsTree;
using test::WaitFor;

QString PathOf(const SysfsTree& tree, int number, const char* ids) {
    return tree.NodePath(number) + QLatin1Char('#') + QLatin1String(ids);
}

TEST(HidDevice, HandsOutEveryEnumeratedPathInOrder) {
    SysfsTree tree;
    auto backend = std::make_shared<HidrawBackend>(tree.SysRoot(), tree.DevRoot());
    HidDevice device(backend);
    ASSERT_TRUE(device.Enumerate());
    EXPECT_EQ(device.NextPath(), std::nullopt);  // no HID interfaces at all

    for (int n = 0; n < 20; ++n) {
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(n, 0x320F, 0x5000, 0x0200,
                                             EmulatedReportDescriptor(EmulatedInterface::Vendor)));
    }
    ASSERT_TRUE(device.Enumerate());
    for (int n = 0; n < 20; ++n) {
        EXPECT_EQ(device.NextPath(), PathOf(tree, n, "vid_320f&pid_5000"));
    }
    EXPECT_EQ(device.NextPath(), std::nullopt);
    ASSERT_TRUE(device.Enumerate());  // starts over
    EXPECT_EQ(device.NextPath(), PathOf(tree, 0, "vid_320f&pid_5000"));
    device.FreePaths();
    EXPECT_EQ(device.NextPath(), std::nullopt);
}

class HidDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(
            0, 0x0C45, 0x5004, 0x0200, EmulatedReportDescriptor(EmulatedInterface::Vendor)));
        ASSERT_NO_FATAL_FAILURE(
            tree.AddNode(1, 0x0C45, 0x5004, 0x0200, test::TwoCollectionDescriptor()));
        ASSERT_NO_FATAL_FAILURE(
            tree.AddNode(2, 0x0C45, 0x5004, 0x0200, test::Bytes({0xC0, 0x01})));
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(
            3, 0x0C45, 0x5004, 0x0200, EmulatedReportDescriptor(EmulatedInterface::BootKeyboard)));
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(4, 0x0C45, 0x5004, 0x0200, test::BootMouseDescriptor()));
    }
    QString Vendor() const { return PathOf(tree, 0, "vid_0c45&pid_5004"); }

    SysfsTree tree;
    std::shared_ptr<HidrawBackend> backend =
        std::make_shared<HidrawBackend>(tree.SysRoot(), tree.DevRoot());
    HidDevice device{backend};
};

TEST_F(HidDeviceTest, OpenReadsAttributesAndTheCapabilitiesOfTheNamedCollection) {
    ASSERT_TRUE(device.Open(Vendor(), true, true, true, false));
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(device.VendorId(), 0x0C45);
    EXPECT_EQ(device.ProductId(), 0x5004);
    EXPECT_EQ(device.VersionNumber(), 0x0200);
    EXPECT_EQ(device.UsagePage(), 0xFF1C);
    EXPECT_EQ(device.Usage(), 0x92);
    EXPECT_EQ(device.InputReportByteLength(), 64);
    EXPECT_EQ(device.InputReport()->size(), 64u);
    EXPECT_EQ(device.DevicePath(), Vendor());
    EXPECT_TRUE(device.Overlapped());
    EXPECT_FALSE(device.ShareReadOnly());

    ASSERT_TRUE(device.Open(PathOf(tree, 1, "vid_0c45&pid_5004&col_02"), true, false, true, true));
    EXPECT_EQ(device.UsagePage(), 0x0C);
    EXPECT_EQ(device.InputReportByteLength(), 2);
    EXPECT_TRUE(device.ShareReadOnly());
}

TEST_F(HidDeviceTest, OpenFailsAndLeavesTheDeviceClosed) {
    const QString longPath = Vendor() + QString(HidDevice::kMaxPathLength, QLatin1Char('x'));
    ASSERT_NE(backend->Open(longPath, true, true), nullptr);  // the backend alone would open it
    const struct {
        const char* what;
        QString path;
    } cases[] = {
        {"vanished interface", PathOf(tree, 9, "vid_0c45&pid_5004")},
        {"path too long for the device path field", longPath},
        {"descriptor that does not parse", PathOf(tree, 2, "vid_0c45&pid_5004")},
        {"collection the interface lacks", PathOf(tree, 1, "vid_0c45&pid_5004&col_03")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(device.Open(Vendor(), true, true, true, false));
        EXPECT_FALSE(device.Open(c.path, true, true, true, false)) << c.what;
        EXPECT_FALSE(device.IsOpen()) << c.what;
        EXPECT_EQ(device.UsagePage(), 0) << c.what;
    }
    EXPECT_FALSE(device.Close());  // nothing open
}

TEST_F(HidDeviceTest, CloseOrReopenFromAnotherThreadWakesAWaitingRead) {
    const std::function<void()> interruptions[] = {
        [&] { device.Close(); },
        [&] { device.Open(PathOf(tree, 3, "vid_0c45&pid_5004"), true, false, true, false); },
    };
    for (const auto& interrupt : interruptions) {
        ASSERT_TRUE(device.Open(Vendor(), true, true, true, false));
        auto reader = std::async(std::launch::async, [&] {
            uint8_t buffer[64];
            size_t n = 0;
            return device.Read(buffer, sizeof buffer, &n, -1);
        });
        ASSERT_TRUE(WaitFor([&] { return device.ReadInProgress(); }));
        interrupt();
        const bool woke = reader.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (!woke) {
            device.Close();  // let the reader go, so the test fails instead of hanging
        }
        ASSERT_TRUE(woke);
        EXPECT_FALSE(reader.get());
    }
}

// Whether the close comes while the wait is under way or just before it starts.
TEST_F(HidDeviceTest, CloseFromAnotherThreadEndsAWaitForRemoval) {
    constexpr int kLong = 10000;  // ms; never reached when things work
    ASSERT_TRUE(device.Open(Vendor(), true, true, true, false));
    auto waiting = std::async(std::launch::async, [&] { return device.WaitGone(kLong); });
    device.Close();
    EXPECT_EQ(waiting.get(), HidIoResult::Aborted);
    EXPECT_EQ(device.WaitGone(kLong), HidIoResult::Aborted);  // nothing open to wait on
}

TEST_F(HidDeviceTest, ReadsAndWritesNeedTheAccessTheyWereOpenedWith) {
    const int peer = ::open(QFile::encodeName(tree.NodePath(0)).constData(), O_RDWR | O_NONBLOCK);
    uint8_t report[64] = {0x04, 0x01};
    size_t n = 0;

    ASSERT_TRUE(device.Open(Vendor(), true, false, true, false));
    EXPECT_FALSE(device.Write(report, sizeof report, &n, 100));
    ASSERT_EQ(::write(peer, report, sizeof report), 64);
    EXPECT_TRUE(device.Read(report, sizeof report, &n, 1000));
    EXPECT_EQ(n, 64u);

    ASSERT_TRUE(device.Open(Vendor(), false, true, true, false));
    EXPECT_FALSE(device.Read(report, sizeof report, &n, 100));
    EXPECT_TRUE(device.Write(report, sizeof report, &n, 1000));
    uint8_t sent[128];
    EXPECT_EQ(::read(peer, sent, sizeof sent), 64);  // the one write, nothing else
    ::close(peer);
}

TEST_F(HidDeviceTest, ParseInputFillsTheItemsOfTheReportsId) {
    ASSERT_TRUE(device.Open(PathOf(tree, 3, "vid_0c45&pid_5004"), true, false, true, false));
    std::vector<HidInputItem> items = device.InputItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].isButton);
    EXPECT_EQ(items[0].usages.size(), 14u);  // every usage of page 7 that a report can hold

    const uint8_t shiftAB[9] = {0x00, 0x02, 0x00, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00};
    ASSERT_TRUE(device.ParseInput(shiftAB, sizeof shiftAB));
    items = device.InputItems();
    // Each item keeps only the usages of its own range, with a 0 after the last.
    EXPECT_EQ(items[0].usages[0], 0xE1);
    EXPECT_EQ(items[0].usages[1], 0);
    EXPECT_EQ(items[1].usages[0], 0x04);
    EXPECT_EQ(items[1].usages[1], 0x05);
    EXPECT_EQ(items[1].usages[2], 0);
    EXPECT_TRUE(items[0].updated && items[1].updated);

    // The mouse: one button item, then one item per value usage.
    ASSERT_TRUE(device.Open(PathOf(tree, 4, "vid_0c45&pid_5004"), true, false, true, false));
    const uint8_t move[4] = {0x00, 0x01, 0xFB, 0x07};
    ASSERT_TRUE(device.ParseInput(move, sizeof move));
    items = device.InputItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].usageMinimum, 0x30);
    EXPECT_EQ(items[1].value, 0xFBu);
    EXPECT_EQ(items[1].scaledValue, -5);
    EXPECT_EQ(items[2].scaledValue, 7);
    EXPECT_FALSE(device.ParseInput(move, 3));  // Y lies past the end: parsing stops there

    // A report ID no item has: nothing changes, and that is no error.
    ASSERT_TRUE(device.Open(PathOf(tree, 1, "vid_0c45&pid_5004&col_01"), true, false, true, false));
    const uint8_t other[2] = {0x02, 0x07};
    ASSERT_TRUE(device.ParseInput(other, sizeof other));
    EXPECT_FALSE(device.InputItems()[0].updated);
}

// The consumer interface end to end: an event the keyboard sends is read and parsed into the
// first usage of the first item.
TEST(HidDevice, ReadsAndParsesAnEventFromTheEmulatedKeyboard) {
    auto emulator = std::make_shared<EmulatorBackend>();
    HidDevice consumer(emulator);
    ASSERT_TRUE(consumer.Enumerate());
    bool opened = false;
    while (const auto path = consumer.NextPath()) {
        if (consumer.Open(*path, true, false, true, false) && consumer.UsagePage() == 0x0C) {
            opened = true;
            break;
        }
    }
    ASSERT_TRUE(opened);
    ASSERT_TRUE(emulator->Keyboard().SendEvent(0x0402));
    const auto report = consumer.InputReport();
    size_t n = 0;
    ASSERT_TRUE(consumer.Read(report->data(), report->size(), &n, 5000));
    ASSERT_TRUE(consumer.ParseInput(report->data(), n));
    EXPECT_EQ(consumer.InputItems().at(0).usages.at(0), 0x0402);
}

}  // namespace
}  // namespace vantor
