#include "SysfsTree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vantor::test {

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

void Link(const QString& target, const QString& link) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()),
              0)
        << link.toStdString();
}

// Upper-case hex, as the kernel writes IDs.
QString Hex(uint16_t value, int width) {
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

SysfsTree::SysfsTree() {
    QDir().mkpath(SysRoot() + QStringLiteral("/class/hidraw"));
    QDir().mkpath(DevRoot());
}

QString SysfsTree::NodePath(int number) const {
    return DevRoot() + QStringLiteral("/hidraw%1").arg(number);
}

void SysfsTree::AddNode(int number, uint16_t vendorId, uint16_t productId,
                        std::optional<uint16_t> bcdDevice, const QByteArray& descriptor) {
    const QString usb = SysRoot() + QStringLiteral("/devices/pci0000:00/usb1/1-%1").arg(number);
    const QString hid = usb + QStringLiteral("/1-%1:1.0/0003:%2:%3.%4")
                                  .arg(number)
                                  .arg(Hex(vendorId, 4), Hex(productId, 4))
                                  .arg(number, 4, 10, QLatin1Char('0'));
    const QString node = hid + QStringLiteral("/hidraw/hidraw%1").arg(number);
    QDir().mkpath(node);
    if (bcdDevice) {
        WriteFile(usb + QStringLiteral("/bcdDevice"),
                  QByteArray::number(*bcdDevice, 16).rightJustified(4, '0') + '\n');
    }
    WriteFile(hid + QStringLiteral("/uevent"),
              QStringLiteral("DRIVER=hid-generic\nHID_ID=0003:%1:%2\nHID_NAME=Test\n")
                  .arg(Hex(vendorId, 8), Hex(productId, 8))
                  .toLatin1());
    WriteFile(hid + QStringLiteral("/report_descriptor"), descriptor);
    WriteFile(node + QStringLiteral("/dev"), QByteArray("243:") + QByteArray::number(number));
    Link(QStringLiteral("../.."), node + QStringLiteral("/device"));
    Link(node, SysRoot() + QStringLiteral("/class/hidraw/hidraw%1").arg(number));
    ASSERT_EQ(::mkfifo(QFile::encodeName(NodePath(number)).constData(), 0600), 0);
}

void SysfsTree::AddNodeWithoutIds(int number) {
    QDir().mkpath(SysRoot() + QStringLiteral("/class/hidraw/hidraw%1/device").arg(number));
}

void SysfsTree::RemoveDeviceNode(int number) { QFile::remove(NodePath(number)); }

void SysfsTree::LinkDeviceNode(int number, const QString& target) {
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0) << target.toStdString();
    WriteFile(SysRoot() + QStringLiteral("/class/hidraw/hidraw%1/dev").arg(number),
              QByteArray::number(major(status.st_rdev)) + ':' +
                  QByteArray::number(minor(status.st_rdev)));
    RemoveDeviceNode(number);
    Link(target, NodePath(number));
}

}  // namespace vantor::test
