// The one file that talks to hidraw nodes: open, ioctl, poll, read and write.

#include "device/HidrawBackend.h"

#include "device/HidPath.h"
#include "device/HidReportDescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <utility>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vantor {

namespace {

// How every node is opened: never blocking, never inherited, and never taken as the
// controlling terminal, whatever device the node turns out to be.
constexpr int kNodeFlags = O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

const QRegularExpression& NodeNamePattern() {
    static const QRegularExpression pattern(QStringLiteral("^hidraw(\\d{1,9})$"));
    return pattern;
}

QByteArray ReadSysfsFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// What sysfs tells about one hidraw node; empty fields when it could not be read.
struct NodeInfo {
    bool idsKnown = false;
    HidAttributes attributes;
    QByteArray descriptor;
    QByteArray deviceNumber;  // "major:minor"
};

NodeInfo ReadNodeInfo(const QString& sysfsRoot, const QString& name) {
    NodeInfo info;
    const QString node = sysfsRoot + QStringLiteral("/class/hidraw/") + name;
    const QString device = node + QStringLiteral("/device");

    // "HID_ID=0003:00000C45:00005004": bus, vendor, product.
    for (const QByteArray& line : ReadSysfsFile(device + QStringLiteral("/uevent")).split('\n')) {
        if (!line.startsWith("HID_ID=")) {
            continue;
        }
        const QList<QByteArray> parts = line.mid(7).trimmed().split(':');
        bool vendorOk = false;
        bool productOk = false;
        if (parts.size() == 3) {
            info.attributes.vendorId = uint16_t(parts[1].toUInt(&vendorOk, 16) & 0xFFFF);
            info.attributes.productId = uint16_t(parts[2].toUInt(&productOk, 16) & 0xFFFF);
        }
        info.idsKnown = vendorOk && productOk;
    }

    // The USB device (which has bcdDevice) is an ancestor of the HID device in sysfs.
    const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
    QString dir = QFileInfo(device).canonicalFilePath();
    while (!dir.isEmpty() && dir.startsWith(root) && dir.size() > root.size()) {
        const QByteArray bcd = ReadSysfsFile(dir + QStringLiteral("/bcdDevice")).trimmed();
        bool ok = false;
        const uint version = bcd.toUInt(&ok, 16);
        if (ok) {
            info.attributes.versionNumber = uint16_t(version);
            break;
        }
        dir = QFileInfo(dir).path();
    }

    info.descriptor = ReadSysfsFile(device + QStringLiteral("/report_descriptor"));
    info.deviceNumber = ReadSysfsFile(node + QStringLiteral("/dev")).trimmed();
    return info;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The report descriptor straight from the node, for a hidraw node whose sysfs entry could not
// be read.
QByteArray DescriptorFromNode(int fd) {
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE) {
        return {};
    }
    hidraw_report_descriptor descriptor{};
    descriptor.size = uint32_t(size);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char*>(descriptor.value), size);
}

// An open hidraw node. Data moves only by non-blocking read() and write(); a call that has
// to wait does so in poll() on the node and on an eventfd that Abort() makes readable. So the
// call returns on time-out or abort with nothing left pending in the kernel, and no transfer
// can land in a buffer after its call has returned. (A blocking read() could not be woken
// from another thread; poll() also reports an unplugged node, as POLLHUP/POLLERR.)
class HidrawChannel : public HidChannel {
public:
    HidrawChannel(int fd, int abortFd, HidAttributes attributes, QByteArray descriptor,
                  bool numbered, std::shared_ptr<ReportTrace> trace)
        : m_fd(fd),
          m_abortFd(abortFd),
          m_attributes(attributes),
          m_descriptor(std::move(descriptor)),
          m_numbered(numbered),
          m_trace(std::move(trace)) {}

    HidAttributes Attributes() const override { return m_attributes; }
    QByteArray ReportDescriptor() const override { return m_descriptor; }

    HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) override {
        *bytesRead = 0;
        if (length == 0 || (!m_numbered && length < 2)) {
            return HidIoResult::Failed;
        }
        // Without report IDs the kernel gives the bare report: it goes after a 0 ID byte.
        uint8_t* target = m_numbered ? buffer : buffer + 1;
        const size_t room = m_numbered ? length : length - 1;
        ssize_t got = -1;
        const HidIoResult result = Transfer(POLLIN, timeoutMs, [&] {
            got = ::read(m_fd.Get(), target, room);
            return got;
        });
        if (result != HidIoResult::Done) {
            return result;
        }
        if (!m_numbered) {
            buffer[0] = 0;
            ++got;
        }
        *bytesRead = size_t(got);
        if (m_trace) {
            m_trace->Received(buffer, *bytesRead);
        }
        return HidIoResult::Done;
    }

    HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                      int timeoutMs) override {
        *bytesWritten = 0;
        if (length == 0) {
            return HidIoResult::Failed;
        }
        // The kernel sends the report within the write() call itself, so the time-out bounds
        // the wait for the node to take it, not the USB transfer.
        ssize_t put = -1;
        const HidIoResult result = Transfer(POLLOUT, timeoutMs, [&] {
            put = ::write(m_fd.Get(), buffer, length);
            return put;
        });
        if (result != HidIoResult::Done) {
            return result;
        }
        *bytesWritten = size_t(put);
        if (m_trace) {
            m_trace->Sent(buffer, *bytesWritten);
        }
        return HidIoResult::Done;
    }

    // Asks poll() for no events at all: a node always has room for a write and may hold input
    // for another thread, but POLLHUP and POLLERR, which poll() reports unasked, come only
    // once the device has been removed.
    HidIoResult WaitGone(int timeoutMs) override {
        const Clock::time_point deadline = DeadlineOf(timeoutMs);
        for (;;) {
            if (m_aborted.load()) {
                return HidIoResult::Aborted;
            }
            const HidIoResult waited = Await(0, timeoutMs, deadline);
            if (waited != HidIoResult::Done) {
                return waited;
            }
        }
    }

    void Abort() override {
        // The flag stops calls that have not started waiting; the eventfd, never drained,
        // wakes the one that waits and every later wait.
        m_aborted.store(true);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_abortFd.Get(), &one, sizeof one);
    }

private:
    using Clock = std::chrono::steady_clock;

    static Clock::time_point DeadlineOf(int timeoutMs) {
        return Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    }

    // Tries the non-blocking move first and waits in poll() only when the node has nothing
    // (or no room) yet. Trying first matters for writes: before Linux 5.4 a hidraw node never
    // reported POLLOUT, though it takes a write at any time.
    template <typename Move>
    HidIoResult Transfer(short events, int timeoutMs, Move move) {
        const Clock::time_point deadline = DeadlineOf(timeoutMs);
        for (;;) {
            if (m_aborted.load()) {
                return HidIoResult::Aborted;
            }
            const ssize_t moved = move();
            if (moved > 0) {
                return HidIoResult::Done;
            }
            if (moved == 0 || (errno != EAGAIN && errno != EINTR)) {
                return HidIoResult::Failed;  // unplugged, or the node is broken
            }
            const HidIoResult waited = Await(events, timeoutMs, deadline);
            if (waited != HidIoResult::Done) {
                return waited;
            }
            // Ready (or another reader took the report first): try again.
        }
    }

    // One wait in poll() on the node for the events and on the abort, until the deadline (a
    // negative time-out: none). Done when the node may be ready or a signal broke the wait;
    // otherwise how the wait ended.
    HidIoResult Await(short events, int timeoutMs, Clock::time_point deadline) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = int(std::max<int64_t>(left.count(), 0));
        }
        pollfd fds[2] = {{m_fd.Get(), events, 0}, {m_abortFd.Get(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0) {
            return errno == EINTR ? HidIoResult::Done : HidIoResult::Failed;
        }
        if (fds[1].revents != 0) {
            return HidIoResult::Aborted;
        }
        if (ready == 0) {
            return HidIoResult::TimedOut;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 &&
            (fds[0].revents & events) == 0) {
            return HidIoResult::Failed;  // unplugged
        }
        return HidIoResult::Done;
    }

    FileDescriptor m_fd;
    FileDescriptor m_abortFd;
    std::atomic<bool> m_aborted{false};
    HidAttributes m_attributes;
    QByteArray m_descriptor;
    bool m_numbered;
    std::shared_ptr<ReportTrace> m_trace;
};

}  // namespace

HidrawBackend::HidrawBackend() : HidrawBackend(QStringLiteral("/sys"), QStringLiteral("/dev")) {}

HidrawBackend::HidrawBackend(QString sysfsRoot, QString devRoot)
    : m_sysfsRoot(std::move(sysfsRoot)), m_devRoot(std::move(devRoot)) {}

bool HidrawBackend::Enumerate(QStringList* paths) {
    paths->clear();
    const QDir classDir(m_sysfsRoot + QStringLiteral("/class/hidraw"));
    if (!classDir.exists()) {
        return true;  // hidraw not loaded: no interfaces at all
    }
    if (!QFileInfo(classDir.path()).isReadable()) {
        return false;
    }
    struct Node {
        uint number;
        QString name;
    };
    std::vector<Node> nodes;
    for (const QString& name : classDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot |
                                                  QDir::System)) {
        const QRegularExpressionMatch match = NodeNamePattern().match(name);
        if (match.hasMatch()) {
            nodes.push_back({match.captured(1).toUInt(), name});
        }
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const Node& a, const Node& b) { return a.number < b.number; });

    for (const Node& node : nodes) {
        const NodeInfo info = ReadNodeInfo(m_sysfsRoot, node.name);
        if (!info.idsKnown) {
            continue;  // gone while listing, or not a HID device we can name
        }
        const QString locator = m_devRoot + QLatin1Char('/') + node.name;
        const auto descriptor = HidReportDescriptor::Parse(info.descriptor);
        const size_t collections = descriptor ? descriptor->Collections().size() : 1;
        if (collections <= 1) {
            paths->append(HidPath::Compose(locator, info.attributes.vendorId,
                                           info.attributes.productId));
            continue;
        }
        for (size_t c = 0; c < collections; ++c) {
            paths->append(HidPath::Compose(locator, info.attributes.vendorId,
                                           info.attributes.productId, int(c)));
        }
    }
    return true;
}

std::optional<QString> HidrawBackend::NodeName(const QString& path) const {
    const QString locator = HidPath::Locator(path);
    const QString prefix = m_devRoot + QLatin1Char('/');
    if (!locator.startsWith(prefix)) {
        return std::nullopt;
    }
    const QString name = locator.mid(prefix.size());
    if (!NodeNamePattern().match(name).hasMatch()) {
        return std::nullopt;
    }
    return name;
}

std::unique_ptr<HidChannel> HidrawBackend::Open(const QString& path, bool read, bool write) {
    const std::optional<QString> name = NodeName(path);
    if (!name) {
        return nullptr;
    }
    const QString node = m_devRoot + QLatin1Char('/') + *name;
    const int access = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    FileDescriptor fd(::open(QFile::encodeName(node).constData(),
                             access | kNodeFlags));
    if (fd.Get() < 0) {
        return nullptr;
    }

    NodeInfo info = ReadNodeInfo(m_sysfsRoot, *name);
    struct stat status {};
    const bool characterDevice = ::fstat(fd.Get(), &status) == 0 && S_ISCHR(status.st_mode);
    if (characterDevice) {
        // The node must still be the device sysfs describes, not a newer one that took its
        // number after an unplug.
        const QByteArray number =
            QByteArray::number(major(status.st_rdev)) + ':' + QByteArray::number(minor(status.st_rdev));
        if (!info.deviceNumber.isEmpty() && info.deviceNumber != number) {
            return nullptr;
        }
        if (!info.idsKnown) {
            hidraw_devinfo devinfo{};
            if (::ioctl(fd.Get(), HIDIOCGRAWINFO, &devinfo) == 0) {
                info.attributes.vendorId = uint16_t(devinfo.vendor);
                info.attributes.productId = uint16_t(devinfo.product);
                info.idsKnown = true;
            }
        }
        if (info.descriptor.isEmpty()) {
            info.descriptor = DescriptorFromNode(fd.Get());
        }
    }
    if (!info.idsKnown || info.descriptor.isEmpty()) {
        return nullptr;
    }

    FileDescriptor abortFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (abortFd.Get() < 0) {
        return nullptr;
    }
    const auto descriptor = HidReportDescriptor::Parse(info.descriptor);
    // An unparsable descriptor is the caller's to refuse; its reports are passed unchanged.
    const bool numbered = !descriptor || descriptor->UsesReportIds();
    std::shared_ptr<ReportTrace> trace;
    {
        std::lock_guard lock(m_traceMutex);
        trace = m_trace;
    }
    return std::make_unique<HidrawChannel>(fd.Release(), abortFd.Release(), info.attributes,
                                           info.descriptor, numbered, std::move(trace));
}

bool HidrawBackend::Probe(const QString& path) {
    const std::optional<QString> name = NodeName(path);
    if (!name) {
        return false;
    }
    const QString node = m_devRoot + QLatin1Char('/') + *name;
    const FileDescriptor fd(
        ::open(QFile::encodeName(node).constData(), O_RDONLY | kNodeFlags));
    return fd.Get() >= 0;
}

void HidrawBackend::SetTrace(std::shared_ptr<ReportTrace> trace) {
    std::lock_guard lock(m_traceMutex);
    m_trace = std::move(trace);
}

}  // namespace vantor
