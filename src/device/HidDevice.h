#pragma once

#include "device/HidBackend.h"
#include "device/HidCaps.h"
#include "device/HidInputItem.h"
#include "device/HidReportDescriptor.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace vantor {

// One HID interface of the keyboard, over a backend (hidraw nodes or the emulator): listing
// the interface paths, opening one, its attributes and capabilities, reads and writes with a
// time-out, and the input item list filled from received input reports.
//
// Threads: every member may be called from any thread. Close() and Open() wake a Read, Write
// or WaitGone that another thread is waiting in; the interface itself is held by shared
// ownership, so a call that is still on its way out never touches a closed one.
class HidDevice {
public:
    // The longest device path Open accepts, in UTF-16 code units, not counting a terminator.
    static constexpr int kMaxPathLength = 259;

    explicit HidDevice(std::shared_ptr<HidBackend> backend);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Fills the path list with every present interface and resets the cursor.
    bool Enumerate();
    // The next path of the list, or none when the list is exhausted or empty.
    std::optional<QString> NextPath();
    void FreePaths();

    // Closes whatever is open, then opens the path. True when the interface is open and its
    // report descriptor gave its capabilities. The overlapped and share-read-only options are
    // kept for callers to read back: every read and write here takes a time-out, and hidraw
    // nodes have no share modes.
    bool Open(const QString& path, bool read, bool write, bool overlapped, bool shareReadOnly);
    // Wakes a waiting read or write, frees the capability data, closes the interface. False
    // when nothing was open.
    bool Close();
    bool IsOpen() const;

    // One report each; true when it moved within the time-out (a negative time-out waits
    // for ever). False on time-out, abort, failure, or a device opened without that access.
    bool Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs);
    bool Write(const uint8_t* buffer, size_t length, size_t* bytesWritten, int timeoutMs);

    // True while a Read (Write) is under way on another thread: from the moment it has taken
    // the open interface until it returns.
    bool ReadInProgress() const { return m_readsInProgress.load() > 0; }
    bool WriteInProgress() const { return m_writesInProgress.load() > 0; }

    // Sleeps until the open interface goes away (Failed) or the time-out passes (TimedOut;
    // negative: none). Close() or Open() on another thread ends the wait with Aborted, as
    // does a call with nothing open. Reads and writes go on meanwhile.
    HidIoResult WaitGone(int timeoutMs);

    // Presence probe of the open (or last opened) device path.
    bool Probe() const;

    // Fills the input items whose report ID is the report's first byte. False when a value
    // could not be read (parsing stops there) or the report is empty.
    bool ParseInput(const uint8_t* report, size_t length);

    uint16_t VendorId() const;
    uint16_t ProductId() const;
    uint16_t VersionNumber() const;
    uint16_t UsagePage() const;
    uint16_t Usage() const;
    uint16_t InputReportByteLength() const;
    HidCaps Caps() const;
    QString DevicePath() const;
    bool ReadAccess() const;
    bool WriteAccess() const;
    bool Overlapped() const;
    bool ShareReadOnly() const;

    // A buffer of the input report byte length, new with every Open. Shared, so a reader
    // that holds it is not left writing into freed memory when another thread reopens.
    std::shared_ptr<std::vector<uint8_t>> InputReport() const;
    std::vector<HidInputItem> InputItems() const;

private:
    bool CloseLocked();
    void BuildInputItems();
    // The open interface if it allows the access, counted in progress until released.
    std::shared_ptr<HidChannel> TakeChannel(bool forWrite);

    const std::shared_ptr<HidBackend> m_backend;
    mutable std::mutex m_mutex;

    QStringList m_paths;
    int m_cursor = 0;

    bool m_read = false;
    bool m_write = false;
    bool m_overlapped = false;
    bool m_shareReadOnly = false;

    std::shared_ptr<HidChannel> m_channel;
    QString m_devicePath;
    std::optional<HidCollection> m_collection;
    HidAttributes m_attributes;
    std::shared_ptr<std::vector<uint8_t>> m_inputReport;
    std::vector<HidInputItem> m_inputItems;

    std::atomic<int> m_readsInProgress{0};
    std::atomic<int> m_writesInProgress{0};
};

}  // namespace vantor
