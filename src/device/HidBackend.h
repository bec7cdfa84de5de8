#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vantor {

// Vendor ID, product ID and version number of one HID interface.
struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// Result of one read or write on an open interface.
enum class HidIoResult {
    Done,      // the whole report moved; the byte count is valid
    TimedOut,  // nothing moved within the time-out
    Aborted,   // Abort() woke the call
    Failed,    // the interface failed (unplugged, closed, I/O error)
};

// One open HID interface. Reads and writes never outlive their call: when a call returns,
// the buffer it was given is no longer touched.
//
// The report-ID byte: every report read or written starts with its report ID. An interface
// whose descriptor declares no report IDs still carries a leading 0 in that place, on reads as
// on writes, so a report is always laid out the same way whatever the interface numbers.
class HidChannel {
public:
    virtual ~HidChannel() = default;

    virtual HidAttributes Attributes() const = 0;
    // The interface's HID report descriptor, as the kernel reports it.
    virtual QByteArray ReportDescriptor() const = 0;

    // One report. A negative time-out waits until a report arrives, the interface fails,
    // or Abort() is called.
    virtual HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) = 0;
    virtual HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                              int timeoutMs) = 0;

    // Sleeps until the interface goes away: Failed once it has (unplugged, or its far end
    // stopped), Aborted on Abort(), TimedOut when the time-out passes first (negative: none).
    // Reads and writes on other threads go on meanwhile and neither end the wait nor lose
    // anything to it.
    virtual HidIoResult WaitGone(int timeoutMs) = 0;

    // Wakes a Read, Write or WaitGone that another thread is waiting in; it returns Aborted.
    // Safe to call from any thread, also when no call is waiting. An aborted channel stays
    // aborted: every later call returns Aborted at once. A channel is aborted only
    // on its way to being closed, and a thread that was just about to start a call must not
    // then wait on it.
    virtual void Abort() = 0;
};

// Where HID interfaces come from: the kernel's hidraw nodes, or the keyboard emulator.
// Paths are opaque to callers but carry "vid_XXXX" and "pid_XXXX" so that the IDs can be
// read from the path text before opening. An interface whose report descriptor holds several
// top-level collections is listed once per collection, the path ending in "&col_NN" (NN from
// 01, in descriptor order); a path without it means the first collection.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every present HID interface path; false when the listing itself failed.
    virtual bool Enumerate(QStringList* paths) = 0;

    // Opens a path with the given access; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) = 0;

    // Presence probe: true while the interface at the path still exists and opens.
    virtual bool Probe(const QString& path) = 0;
};

}  // namespace vantor
