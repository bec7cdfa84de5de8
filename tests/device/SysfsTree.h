#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <optional>

namespace vantor::test {

// A fixture sysfs and /dev in a temporary folder, laid out as the kernel lays out a USB HID
// interface: devices/.../usb1/1-N (bcdDevice) / 1-N:1.0 / 0003:VVVV:PPPP.000N (uevent,
// report_descriptor) / hidraw/hidrawN, linked from class/hidraw/hidrawN. The device node
// dev/hidrawN is a FIFO, which reads and writes as a node does for whole reports.
class SysfsTree {
public:
    SysfsTree();

    QString SysRoot() const { return m_root.path() + QStringLiteral("/sys"); }
    QString DevRoot() const { return m_root.path() + QStringLiteral("/dev"); }
    QString NodePath(int number) const;

    // bcdDevice none: an interface that is not on USB (no version anywhere up the tree).
    void AddNode(int number, uint16_t vendorId, uint16_t productId,
                 std::optional<uint16_t> bcdDevice, const QByteArray& descriptor);
    // The class entry without a uevent: a node the listing cannot name.
    void AddNodeWithoutIds(int number);
    void RemoveDeviceNode(int number);
    // Puts a link to another device node in place of the FIFO, with that device's number in
    // sysfs, so that the node opens as that device.
    void LinkDeviceNode(int number, const QString& target);

private:
    QTemporaryDir m_root;
};

}  // namespace vantor::test
