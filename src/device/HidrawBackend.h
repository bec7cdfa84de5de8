#pragma once

#include "device/HidBackend.h"
#include "device/ReportTrace.h"

#include <QString>

#include <memory>
#include <mutex>
#include <optional>

namespace vantor {

// HID interfaces of the Linux kernel: the hidraw nodes.
//
// Listing reads /sys/class/hidraw/<node>/device: the vendor and product IDs from "HID_ID" in
// its uevent, the report descriptor from its report_descriptor. The version number is the
// USB device's bcdDevice, found by walking up from the HID device through its parents (the
// USB interface, then the USB device); 0 for an interface that is not on USB. Both roots
// ("/sys" and "/dev") can be moved, so tests run on fixture trees.
//
// Path form: "<dev>/hidrawN#vid_XXXX&pid_XXXX", for example "/dev/hidraw3#vid_0c45&pid_5004"
// (IDs in lower-case hex). A node whose descriptor holds several top-level collections is
// listed once for each, with "&col_01", "&col_02", ... appended. Open accepts only paths whose
// part before '#' is a hidraw node under the dev root.
//
// The report-ID byte. The kernel moves reports as the device numbers them: when the report
// descriptor declares report IDs, read() gives the report ID as the first byte and write()
// takes it there; when it declares none, read() gives the bare report, and write() still
// takes a leading 0 which it strips before the report goes out. This backend evens that out:
// on an interface without report IDs, a read puts a 0 in front of the report, so that, as on
// writes, byte 0 is always the report ID and the report byte lengths of the descriptor parser
// (which count that byte) fit every report. The keyboard's vendor interface numbers its
// reports (report ID 4), so its 64-byte reports pass unchanged in both directions.
class HidrawBackend : public HidBackend {
public:
    HidrawBackend();
    HidrawBackend(QString sysfsRoot, QString devRoot);

    bool Enumerate(QStringList* paths) override;
    // Opens with O_RDWR, O_RDONLY or O_WRONLY as asked (no access: O_RDONLY), always
    // non-blocking, close-on-exec and never as a controlling terminal.
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override;
    // The node still exists and opens for reading; the probe closes it at once.
    bool Probe(const QString& path) override;

    // Where the listing looks: the sysfs root and the root of the device nodes.
    const QString& SysfsRoot() const { return m_sysfsRoot; }
    const QString& DevRoot() const { return m_devRoot; }

    // Every report that later-opened channels move is written to the trace; null stops it.
    void SetTrace(std::shared_ptr<ReportTrace> trace);

private:
    // The node name ("hidraw3") of a path this backend can open.
    std::optional<QString> NodeName(const QString& path) const;

    QString m_sysfsRoot;
    QString m_devRoot;
    std::mutex m_traceMutex;
    std::shared_ptr<ReportTrace> m_trace;
};

}  // namespace vantor
