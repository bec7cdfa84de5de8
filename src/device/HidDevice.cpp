#include "device/HidDevice.h"

#include "device/HidPath.h"

#include <algorithm>

namespace vantor {

HidDevice::HidDevice(std::shared_ptr<HidBackend> backend) : m_backend(std::move(backend)) {}

HidDevice::~HidDevice() { Close(); }

bool HidDevice::Enumerate() {
    QStringList paths;
    const bool ok = m_backend->Enumerate(&paths);
    std::lock_guard lock(m_mutex);
    m_paths = ok ? paths : QStringList();
    m_cursor = 0;
    return ok;
}

std::optional<QString> HidDevice::NextPath() {
    std::lock_guard lock(m_mutex);
    if (m_cursor >= m_paths.size()) {
        return std::nullopt;
    }
    return m_paths[m_cursor++];
}

void HidDevice::FreePaths() {
    std::lock_guard lock(m_mutex);
    m_paths.clear();
    m_cursor = 0;
}

bool HidDevice::Open(const QString& path, bool read, bool write, bool overlapped,
                     bool shareReadOnly) {
    std::lock_guard lock(m_mutex);
    CloseLocked();
    m_read = read;
    m_write = write;
    m_overlapped = overlapped;
    m_shareReadOnly = shareReadOnly;
    // The path must fit the device path field whole; a cut path could name another device.
    if (path.size() > kMaxPathLength) {
        m_devicePath.clear();
        return false;
    }
    m_devicePath = path;

    std::shared_ptr<HidChannel> channel = m_backend->Open(path, read, write);
    if (!channel) {
        return false;
    }
    const std::optional<HidReportDescriptor> descriptor =
        HidReportDescriptor::Parse(channel->ReportDescriptor());
    const int index = HidPath::CollectionIndex(path);
    if (!descriptor || index < 0 || size_t(index) >= descriptor->Collections().size()) {
        return false;  // the channel closes as it goes out of scope
    }
    m_collection = descriptor->Collections()[size_t(index)];
    m_attributes = channel->Attributes();
    m_channel = std::move(channel);
    m_inputReport = std::make_shared<std::vector<uint8_t>>(
        m_collection->Caps().inputReportByteLength, uint8_t(0));
    BuildInputItems();
    return true;
}

// One item per input button capability, then one per usage of every input value capability.
void HidDevice::BuildInputItems() {
    m_inputItems.clear();
    for (const HidCapability& cap : m_collection->ButtonCaps(HidReportType::Input)) {
        HidInputItem item;
        item.isButton = true;
        item.usagePage = cap.usagePage;
        item.reportId = cap.reportId;
        item.usageMinimum = cap.usageMin;
        item.usageMaximum = cap.usageMax;
        item.usages.assign(
            m_collection->MaxUsageListLength(HidReportType::Input, cap.usagePage), 0);
        m_inputItems.push_back(std::move(item));
    }
    for (const HidCapability& cap : m_collection->ValueCaps(HidReportType::Input)) {
        for (uint32_t usage = cap.usageMin; usage <= cap.usageMax; ++usage) {
            HidInputItem item;
            item.usagePage = cap.usagePage;
            item.reportId = cap.reportId;
            item.usageMinimum = uint16_t(usage);
            item.usageMaximum = uint16_t(usage);
            m_inputItems.push_back(std::move(item));
        }
    }
}

bool HidDevice::Close() {
    std::lock_guard lock(m_mutex);
    return CloseLocked();
}

bool HidDevice::CloseLocked() {
    m_collection.reset();
    m_inputItems.clear();
    m_inputReport.reset();
    m_attributes = HidAttributes();
    if (!m_channel) {
        return false;
    }
    // Wakes a call another thread waits in; that thread still holds the channel, which
    // closes when the last holder lets go.
    m_channel->Abort();
    m_channel.reset();
    return true;
}

bool HidDevice::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_channel != nullptr;
}

std::shared_ptr<HidChannel> HidDevice::TakeChannel(bool forWrite) {
    std::lock_guard lock(m_mutex);
    if (!m_channel || !(forWrite ? m_write : m_read)) {
        return nullptr;
    }
    // Counted under the lock, so a Close that follows sees the call and aborts its channel.
    ++(forWrite ? m_writesInProgress : m_readsInProgress);
    return m_channel;
}

bool HidDevice::Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) {
    *bytesRead = 0;
    const std::shared_ptr<HidChannel> channel = TakeChannel(false);
    if (!channel) {
        return false;
    }
    size_t moved = 0;
    const HidIoResult result = channel->Read(buffer, length, &moved, timeoutMs);
    --m_readsInProgress;
    *bytesRead = result == HidIoResult::Done ? moved : 0;
    return result == HidIoResult::Done;
}

bool HidDevice::Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                      int timeoutMs) {
    *bytesWritten = 0;
    const std::shared_ptr<HidChannel> channel = TakeChannel(true);
    if (!channel) {
        return false;
    }
    size_t moved = 0;
    const HidIoResult result = channel->Write(buffer, length, &moved, timeoutMs);
    --m_writesInProgress;
    *bytesWritten = result == HidIoResult::Done ? moved : 0;
    return result == HidIoResult::Done;
}

HidIoResult HidDevice::WaitGone(int timeoutMs) {
    std::shared_ptr<HidChannel> channel;
    {
        std::lock_guard lock(m_mutex);
        channel = m_channel;
    }
    // A Close after the channel was taken aborts it, which ends the wait at once.
    return channel ? channel->WaitGone(timeoutMs) : HidIoResult::Aborted;
}

bool HidDevice::Probe() const {
    QString path;
    {
        std::lock_guard lock(m_mutex);
        path = m_devicePath;
    }
    return !path.isEmpty() && m_backend->Probe(path);
}

bool HidDevice::ParseInput(const uint8_t* report, size_t length) {
    std::lock_guard lock(m_mutex);
    if (!m_collection || length == 0) {
        return false;
    }
    std::vector<uint16_t> pressed;
    for (HidInputItem& item : m_inputItems) {
        if (item.reportId != report[0]) {
            continue;
        }
        if (item.isButton) {
            // All pressed usages of the page, then only those of this item's range, kept in
            // order at the front and ended by a 0 when the list is not full.
            pressed.assign(item.usages.size(), 0);
            size_t count = pressed.size();
            item.status = m_collection->GetUsages(HidReportType::Input, item.usagePage, report,
                                                  length, pressed.data(), &count);
            const auto end = std::copy_if(
                pressed.begin(), pressed.begin() + ptrdiff_t(count), item.usages.begin(),
                [&](uint16_t u) { return u >= item.usageMinimum && u <= item.usageMaximum; });
            if (end != item.usages.end()) {
                *end = 0;
            }
        } else {
            item.status = m_collection->GetUsageValue(HidReportType::Input, item.usagePage,
                                                      item.usageMinimum, report, length,
                                                      &item.value);
            if (item.status != HidStatus::Success) {
                return false;
            }
            m_collection->GetScaledUsageValue(HidReportType::Input, item.usagePage,
                                              item.usageMinimum, report, length,
                                              &item.scaledValue);
        }
        item.updated = true;
    }
    return true;
}

uint16_t HidDevice::VendorId() const {
    std::lock_guard lock(m_mutex);
    return m_attributes.vendorId;
}

uint16_t HidDevice::ProductId() const {
    std::lock_guard lock(m_mutex);
    return m_attributes.productId;
}

uint16_t HidDevice::VersionNumber() const {
    std::lock_guard lock(m_mutex);
    return m_attributes.versionNumber;
}

HidCaps HidDevice::Caps() const {
    std::lock_guard lock(m_mutex);
    return m_collection ? m_collection->Caps() : HidCaps();
}

uint16_t HidDevice::UsagePage() const { return Caps().usagePage; }
uint16_t HidDevice::Usage() const { return Caps().usage; }
uint16_t HidDevice::InputReportByteLength() const { return Caps().inputReportByteLength; }

QString HidDevice::DevicePath() const {
    std::lock_guard lock(m_mutex);
    return m_devicePath;
}

bool HidDevice::ReadAccess() const {
    std::lock_guard lock(m_mutex);
    return m_read;
}

bool HidDevice::WriteAccess() const {
    std::lock_guard lock(m_mutex);
    return m_write;
}

bool HidDevice::Overlapped() const {
    std::lock_guard lock(m_mutex);
    return m_overlapped;
}

bool HidDevice::ShareReadOnly() const {
    std::lock_guard lock(m_mutex);
    return m_shareReadOnly;
}

std::shared_ptr<std::vector<uint8_t>> HidDevice::InputReport() const {
    std::lock_guard lock(m_mutex);
    return m_inputReport;
}

std::vector<HidInputItem> HidDevice::InputItems() const {
    std::lock_guard lock(m_mutex);
    return m_inputItems;
}

}  // namespace vantor
