#include "device/HidrawBackend.h"

#include "SysfsTree.h"
#include "TestDescriptors.h"
#include "emulator/EmulatedInterface.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace vantor {
namespace {

using test::SysfsTree;

// The far side of a fixture node: what the keyboard would put in and take out.
class NodePeer {
public:
    explicit NodePeer(const QString& node)
        : m_fd(::open(QFile::encodeName(node).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {}
    ~NodePeer() { ::close(m_fd); }
    void Put(const std::vector<uint8_t>& report) {
        ASSERT_EQ(::write(m_fd, report.data(), report.size()), ssize_t(report.size()));
    }
    std::vector<uint8_t> Take() {
        std::vector<uint8_t> bytes(256);
        const ssize_t n = ::read(m_fd, bytes.data(), bytes.size());
        bytes.resize(n > 0 ? size_t(n) : 0);
        return bytes;
    }

private:
    int m_fd;
};

// A node that goes as a removed hidraw node does, hanging up its open handles: the slave end
// of a terminal pair, linked in place of a fixture node, goes when the master end closes.
class RemovableNode {
public:
    void PlaceAt(SysfsTree& tree, int number) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(m_master, 0);
        ASSERT_EQ(::grantpt(m_master), 0);
        ASSERT_EQ(::unlockpt(m_master), 0);
        tree.LinkDeviceNode(number, QFile::decodeName(::ptsname(m_master)));
    }
    ~RemovableNode() { Remove(); }
    void Remove() {
        if (m_master >= 0) {
            ::close(std::exchange(m_master, -1));
        }
    }

private:
    int m_master = -1;
};

std::vector<uint8_t> Report(uint8_t first, size_t length) {
    std::vector<uint8_t> r(length);
    for (size_t i = 0; i < length; ++i) {
        r[i] = uint8_t(first + i);
    }
    return r;
}

class HidrawBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(
            10, 0x0C45, 0x5004, 0x0201, EmulatedReportDescriptor(EmulatedInterface::Vendor)));
        ASSERT_NO_FATAL_FAILURE(
            tree.AddNode(2, 0x320F, 0x5000, 0x0200, test::TwoCollectionDescriptor()));
        ASSERT_NO_FATAL_FAILURE(tree.AddNode(
            3, 0x320F, 0x5000, std::nullopt,
            EmulatedReportDescriptor(EmulatedInterface::BootKeyboard)));
        tree.AddNodeWithoutIds(1);
    }
    QString VendorPath() const { return tree.NodePath(10) + "#vid_0c45&pid_5004"; }

    SysfsTree tree;
    HidrawBackend backend{tree.SysRoot(), tree.DevRoot()};
};

TEST_F(HidrawBackendTest, ListsNodesInNumberOrderOncePerTopLevelCollection) {
    QStringList paths;
    ASSERT_TRUE(backend.Enumerate(&paths));
    EXPECT_EQ(paths, QStringList({tree.NodePath(2) + "#vid_320f&pid_5000&col_01",
                                  tree.NodePath(2) + "#vid_320f&pid_5000&col_02",
                                  tree.NodePath(3) + "#vid_320f&pid_5000", VendorPath()}));

    // No hidraw class at all (the module not loaded): no interfaces, and no error.
    HidrawBackend none(tree.SysRoot() + "/nowhere", tree.DevRoot());
    EXPECT_TRUE(none.Enumerate(&paths));
    EXPECT_TRUE(paths.isEmpty());
}

TEST_F(HidrawBackendTest, OpenReadsIdsVersionAndDescriptorFromSysfs) {
    const auto vendor = backend.Open(VendorPath(), true, true);
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(vendor->Attributes().vendorId, 0x0C45);
    EXPECT_EQ(vendor->Attributes().productId, 0x5004);
    EXPECT_EQ(vendor->Attributes().versionNumber, 0x0201);  // the USB device's bcdDevice
    EXPECT_EQ(vendor->ReportDescriptor(), EmulatedReportDescriptor(EmulatedInterface::Vendor));

    const auto offUsb = backend.Open(tree.NodePath(3) + "#vid_320f&pid_5000", true, false);
    ASSERT_NE(offUsb, nullptr);
    EXPECT_EQ(offUsb->Attributes().versionNumber, 0);
}

TEST_F(HidrawBackendTest, OpenAndProbeTakeOnlyHidrawNodesUnderTheDevRoot) {
    QFile other(tree.DevRoot() + "/notes");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    const QStringList refused = {
        "/etc/passwd#vid_0c45&pid_5004",
        tree.DevRoot() + "/notes#vid_0c45&pid_5004",
        tree.DevRoot() + "/../dev/hidraw10#vid_0c45&pid_5004",
        tree.DevRoot() + "/hidraw10x#vid_0c45&pid_5004",
        tree.NodePath(7) + "#vid_0c45&pid_5004",  // never existed
    };
    for (const QString& path : refused) {
        EXPECT_EQ(backend.Open(path, true, true), nullptr) << path.toStdString();
        EXPECT_FALSE(backend.Probe(path)) << path.toStdString();
    }
}

TEST_F(HidrawBackendTest, ProbeFollowsTheNode) {
    EXPECT_TRUE(backend.Probe(VendorPath()));
    tree.RemoveDeviceNode(10);
    EXPECT_FALSE(backend.Probe(VendorPath()));
    EXPECT_EQ(backend.Open(VendorPath(), true, true), nullptr);
}

TEST_F(HidrawBackendTest, ReportsMoveWholeAndAreTraced) {
    QStringList trace;
    backend.SetTrace(std::make_shared<ReportTrace>([&](const QString& line) { trace << line; }));
    const auto vendor = backend.Open(VendorPath(), true, true);
    ASSERT_NE(vendor, nullptr);
    NodePeer keyboard(tree.NodePath(10));

    const std::vector<uint8_t> reply = Report(0x04, 64);
    keyboard.Put(reply);
    std::vector<uint8_t> got(64);
    size_t n = 0;
    ASSERT_EQ(vendor->Read(got.data(), got.size(), &n, 1000), HidIoResult::Done);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(got, reply);

    const std::vector<uint8_t> request = Report(0x40, 64);
    ASSERT_EQ(vendor->Write(request.data(), request.size(), &n, 1000), HidIoResult::Done);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(keyboard.Take(), request);

    ASSERT_EQ(trace.size(), 2);
    EXPECT_EQ(trace[0], "< " + QByteArray(reinterpret_cast<const char*>(reply.data()), 64).toHex());
    EXPECT_EQ(trace[1],
              "> " + QByteArray(reinterpret_cast<const char*>(request.data()), 64).toHex());
}

TEST_F(HidrawBackendTest, ReportsOfAnUnnumberedInterfaceReadWithALeadingZeroId) {
    const auto keyboard = backend.Open(tree.NodePath(3) + "#vid_320f&pid_5000", true, false);
    ASSERT_NE(keyboard, nullptr);
    NodePeer peer(tree.NodePath(3));
    peer.Put({0x02, 0x00, 0x04, 0x05, 0, 0, 0, 0});
    std::vector<uint8_t> got(9, 0xAA);
    size_t n = 0;
    ASSERT_EQ(keyboard->Read(got.data(), got.size(), &n, 1000), HidIoResult::Done);
    EXPECT_EQ(n, 9u);
    EXPECT_EQ(got, (std::vector<uint8_t>{0x00, 0x02, 0x00, 0x04, 0x05, 0, 0, 0, 0}));
}

TEST_F(HidrawBackendTest, ReadTimesOutWhenNothingArrives) {
    const auto vendor = backend.Open(VendorPath(), true, true);
    ASSERT_NE(vendor, nullptr);
    std::vector<uint8_t> got(64);
    size_t n = 99;
    EXPECT_EQ(vendor->Read(got.data(), got.size(), &n, 20), HidIoResult::TimedOut);
    EXPECT_EQ(n, 0u);
}

TEST_F(HidrawBackendTest, AbortWakesAWaitingReadAndEveryLaterCall) {
    const auto vendor = backend.Open(VendorPath(), true, true);
    ASSERT_NE(vendor, nullptr);
    auto waiting = std::async(std::launch::async, [&] {
        std::vector<uint8_t> got(64);
        size_t n = 0;
        return vendor->Read(got.data(), got.size(), &n, -1);
    });
    vendor->Abort();
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), HidIoResult::Aborted);

    // A report that is waiting does not undo the abort.
    NodePeer(tree.NodePath(10)).Put(Report(0x04, 64));
    std::vector<uint8_t> buffer(64);
    size_t n = 0;
    EXPECT_EQ(vendor->Read(buffer.data(), buffer.size(), &n, -1), HidIoResult::Aborted);
    EXPECT_EQ(vendor->Write(buffer.data(), buffer.size(), &n, -1), HidIoResult::Aborted);
}

// The wait for removal ends when the node goes, on Abort or at its time-out; not on the room
// to write that a node always has, nor on input that is there for a read.
TEST_F(HidrawBackendTest, WaitGoneEndsOnlyWhenTheNodeGoes) {
    constexpr int kLong = 10000;  // ms; never reached when things work
    const auto vendor = backend.Open(VendorPath(), true, true);
    ASSERT_NE(vendor, nullptr);
    NodePeer(tree.NodePath(10)).Put(Report(0x04, 64));
    EXPECT_EQ(vendor->WaitGone(20), HidIoResult::TimedOut);
    std::vector<uint8_t> got(64);
    size_t n = 0;
    EXPECT_EQ(vendor->Read(got.data(), got.size(), &n, 0), HidIoResult::Done);  // still there

    auto aborted = std::async(std::launch::async, [&] { return vendor->WaitGone(kLong); });
    vendor->Abort();
    EXPECT_EQ(aborted.get(), HidIoResult::Aborted);

    ASSERT_NO_FATAL_FAILURE(tree.AddNode(
        11, 0x0C45, 0x5004, 0x0201, EmulatedReportDescriptor(EmulatedInterface::Vendor)));
    RemovableNode node;
    ASSERT_NO_FATAL_FAILURE(node.PlaceAt(tree, 11));
    const auto removable = backend.Open(tree.NodePath(11) + "#vid_0c45&pid_5004", true, true);
    ASSERT_NE(removable, nullptr);
    auto removal = std::async(std::launch::async, [&] { return removable->WaitGone(kLong); });
    node.Remove();
    EXPECT_EQ(removal.get(), HidIoResult::Failed);
}

}  // namespace
}  // namespace vantor
