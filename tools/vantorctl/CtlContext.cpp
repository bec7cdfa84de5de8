#include "CtlContext.h"

#include "CtlExit.h"

#include "device/HidPath.h"
#include "device/VendorInterfaceSearch.h"
#include "keymodel/IntegerFormat.h"
#include "device/SimSocketBackend.h"

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
                       std::shared_ptr<HidBackend> backend, QString devicePath, QString simSocket)
    : m_args(std::move(args)),
      m_out(out),
      m_err(err),
      m_backend(std::move(backend)),
      m_devicePath(std::move(devicePath)),
      m_simSocket(std::move(simSocket)) {}

std::optional<int64_t> DecimalArgument(const QString& text, const QString& name, int64_t low,
                                       int64_t high, QString* error) {
    const std::optional<int64_t> value = ParseDecimal(text, low, high);
    if (!value) {
        *error = QStringLiteral("%1 is a decimal number from %2 to %3, not '%4'")
                     .arg(name)
                     .arg(low)
                     .arg(high)
                     .arg(text);
    }
    return value;
}

std::optional<int64_t> CtlContext::Decimal(const QString& text, const QString& name, int64_t low,
                                           int64_t high, int* exitCode) {
    QString error;
    const std::optional<int64_t> value = DecimalArgument(text, name, low, high, &error);
    if (!value) *exitCode = Fail(kExitUsage, error);
    return value;
}

bool CtlContext::ProfileArgument(int index, int* profile, int* exitCode) {
    const std::optional<int64_t> value =
        Decimal(m_args.value(index), QStringLiteral("a profile"), 0, 2, exitCode);
    if (value) *profile = int(*value);
    return value.has_value();
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

namespace {

QString Refused(const QString& what, const QString& status) {
    return QStringLiteral("%1: the keyboard refused it%2; check the values, or unplug and plug "
                          "in the keyboard")
        .arg(what, status);
}

QString NoAnswer(const QString& what) {
    return QStringLiteral("%1: the keyboard did not answer; unplug and plug it in, then try "
                          "again")
        .arg(what);
}

}  // namespace

bool CtlContext::KeyboardLeft() {
    if (!m_link) {
        return false;
    }
    QStringList paths;
    return m_backend->Enumerate(&paths) && !paths.contains(m_link->VendorDevice().DevicePath());
}

int CtlContext::FailSilence(int code, const QString& what) {
    // A keyboard that is no longer listed did not fall silent: it was pulled out.
    if (KeyboardLeft()) {
        return Fail(kExitNoKeyboard, QStringLiteral("%1: the keyboard was unplugged").arg(what));
    }
    return Fail(code, NoAnswer(what));
}

int CtlContext::FailCommand(CommandResult result, const QString& what) {
    const int code = ExitOfCommandResult(result);
    switch (result) {
    case CommandResult::StatusFF: return Fail(code, Refused(what, QStringLiteral(" (status 0xff)")));
    case CommandResult::StatusFE: return Fail(code, Refused(what, QStringLiteral(" (status 0xfe)")));
    case CommandResult::BadArgument:
        return Fail(code, QStringLiteral("%1: a value is out of range").arg(what));
    default: return FailSilence(code, what);
    }
}

int CtlContext::FailProfile(ProfileResult result, const QString& what, const QString& file) {
    const int code = ExitOfProfileResult(result);
    switch (result) {
    case ProfileResult::Done: return code;
    case ProfileResult::NothingToDo:
        if (KeyboardLeft()) {
            return FailSilence(code, what);
        }
        return Fail(code, QStringLiteral("%1: the keyboard did not say which profile is active")
                              .arg(what));
    case ProfileResult::InvalidFile:
        return Fail(code, QStringLiteral("%1: the keyboard's macro table is in a form this "
                                         "program cannot read")
                              .arg(what));
    case ProfileResult::FileError:
        return Fail(code, QStringLiteral("%1: %2 could not be written").arg(what, file));
    case ProfileResult::MacrosDoNotFit:
        return Fail(code, QStringLiteral("%1: the macros do not fit into the keyboard's macro "
                                         "area, even without their names; nothing was sent")
                              .arg(what));
    case ProfileResult::OutOfMemory:
        return Fail(code, QStringLiteral("%1: out of memory").arg(what));
    case ProfileResult::KeyboardRefused: return Fail(code, Refused(what, QString()));
    case ProfileResult::NoSuchMacro:
        return Fail(code, QStringLiteral("%1: the keyboard holds no macro with that id; nothing "
                                         "was sent")
                              .arg(what));
    case ProfileResult::KeyboardNoAnswer: break;
    }
    return FailSilence(code, what);
}

DeviceLink* CtlContext::Connect(int* exitCode) {
    if (m_link) {
        return m_link.get();
    }
    auto link = std::make_unique<DeviceLink>(m_backend);
    if (m_replyTimeoutMs > 0) {
        TransportTimeouts timeouts = link->Timeouts();
        timeouts.readMs = m_replyTimeoutMs;
        link->SetTimeouts(timeouts);
    }
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
        } else if (!m_simSocket.isEmpty() && !SimSocketBackend(m_simSocket).IsServerReachable()) {
            *exitCode = Fail(kExitNoKeyboard,
                             QStringLiteral("no emulator answers on %1; start it with "
                                            "vantor-sim --socket %1")
                                 .arg(m_simSocket));
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
