#include "CtlContext.h"

#include "CtlExit.h"

#include "device/CommandResult.h"
#include "device/HidPath.h"
#include "device/VendorInterfaceSearch.h"

#include <QFileInfo>

#include <cerrno>

#include <unistd.h>

namespace vantor::ctl {

namespace {

const char kUdevHint[] =
    "install the udev rule data/udev/70-vantor-keyboard.rules (the README tells how), then "
    "unplug and plug in the keyboard";

// The device node of a path that exists but may not be opened for reading and writing.
QString DeniedNode(const QStringList& unopenable) {
    for (const QString& path : unopenable) {
        const QString node = HidPath::Locator(path);
        if (QFileInfo(node).exists() &&
            ::access(QFile::encodeName(node).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
            return node;
        }
    }
    return QString();
}

}  // namespace

CtlContext::CtlContext(QStringList args, QTextStream& out, QTextStream& err,
                       std::shared_ptr<HidBackend> backend, QString devicePath)
    : m_args(std::move(args)),
      m_out(out),
      m_err(err),
      m_backend(std::move(backend)),
      m_devicePath(std::move(devicePath)) {}

bool CtlContext::ProfileArgument(int index, int* profile, int* exitCode) {
    bool ok = false;
    const int value = index < m_args.size() ? m_args[index].toInt(&ok) : -1;
    if (!ok || value < 0 || value > 2) {
        *exitCode = Fail(kExitUsage, QStringLiteral("a profile is 0, 1 or 2, not '%1'")
                                         .arg(index < m_args.size() ? m_args[index] : QString()));
        return false;
    }
    *profile = value;
    return true;
}

bool CtlContext::ExpectArguments(int count, const char* synopsis, int* exitCode) {
    if (m_args.size() == count) {
        return true;
    }
    *exitCode = Fail(kExitUsage, QStringLiteral("expected: %1").arg(QLatin1String(synopsis)));
    return false;
}

int CtlContext::Fail(int code, const QString& text) {
    m_err << "vantorctl: " << text << '\n';
    m_err.flush();
    return code;
}

int CtlContext::FailCommand(int result, const QString& what) {
    const int code = ExitOfCommandResult(result);
    if (code == kExitKeyboardError) {
        return Fail(code, QStringLiteral("%1: the keyboard refused it (status 0x%2); check the "
                                         "values, or unplug and plug in the keyboard")
                              .arg(what)
                              .arg(result == kCommandStatusFF ? QStringLiteral("ff")
                                                              : QStringLiteral("fe")));
    }
    return Fail(code, QStringLiteral("%1: the keyboard did not answer; unplug and plug it in, "
                                     "then try again")
                          .arg(what));
}

DeviceLink* CtlContext::Connect(int* exitCode) {
    if (m_link) {
        return m_link.get();
    }
    auto link = std::make_unique<DeviceLink>(m_backend);
    HidDevice& device = link->VendorDevice();
    const QString wanted = m_devicePath;
    const VendorSearch search = FindVendorInterface(device, [&wanted](const QString& path) {
        return wanted.isEmpty() || HidPath::Locator(path) == wanted;
    });
    if (!search.enumerated) {
        *exitCode = Fail(kExitNoKeyboard, QStringLiteral("cannot list the HID devices"));
        return nullptr;
    }
    if (!search.found) {
        const QString denied = DeniedNode(search.unopenable);
        if (!denied.isEmpty()) {
            *exitCode = Fail(kExitPermission,
                             QStringLiteral("permission denied on %1: %2").arg(denied, QString::fromLatin1(kUdevHint)));
        } else {
            *exitCode = Fail(kExitNoKeyboard,
                             wanted.isEmpty()
                                 ? QStringLiteral("no keyboard found; plug it in, or name the "
                                                  "emulator with --sim SOCKET")
                                 : QStringLiteral("no keyboard at %1").arg(wanted));
        }
        return nullptr;
    }
    const DeviceVariant* variant = FindDeviceVariant(device.VendorId(), device.ProductId());
    link->SetVariant(variant != nullptr ? *variant : kVariantA);
    link->SetDeviceOpen(true);
    m_link = std::move(link);
    return m_link.get();
}

}  // namespace vantor::ctl
