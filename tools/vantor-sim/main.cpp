// vantor-sim: the keyboard emulator as a process of its own, served on a local socket, and
// the command line that drives a running one.

#include "QuitOnSignal.h"

#include "device/SimBackendSelection.h"
#include "device/SimSocketBackend.h"
#include "emulator/EmulatedKeyboard.h"
#include "emulator/SimServer.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <memory>

using namespace vantor;

namespace {

enum ExitCode {
    kExitOk = 0,
    kExitRefused = 1,     // the emulator refused the action, or cannot serve
    kExitUsage = 2,       // bad command line
    kExitNotRunning = 3,  // ctl: no emulator answers on the socket
};

const char kUsage[] =
    "usage: vantor-sim [--variant A|B] [--socket PATH] [--capacity BYTES] [--usb-frames]\n"
    "       vantor-sim [--socket PATH] ctl ACTION\n"
    "\n"
    "Serves an emulated keyboard on a local socket until stopped (SIGTERM or SIGINT).\n"
    "  --variant A|B      A: 0c45:5004, 378-byte key maps; B: 320f:5000, 512 (default B)\n"
    "  --socket PATH      default $XDG_RUNTIME_DIR/vantor-sim.sock\n"
    "  --capacity BYTES   macro area size, a multiple of 128 up to 32640 (default 8192)\n"
    "  --usb-frames       USB timing: every report, each way, waits for the next 1 ms frame\n"
    "\n"
    "Actions of ctl, on the running emulator:\n"
    "  plug | unplug        plug the keyboard in or pull it out\n"
    "  switch N             the profile key: profile N (0-2) becomes active, event 0x0402\n"
    "  light                the effect key: next lighting effect, event 0x0401\n"
    "  event CODE           send an event code (hexadecimal with 0x, or decimal)\n"
    "  fault none|noreply|ff|fe|writefail\n"
    "  fault stale          answer each request first with the reply to the one before it\n"
    "  fault late [MS [JITTER]]\n"
    "                       answer MS milliseconds late (default 400), give or take up to\n"
    "                       JITTER milliseconds\n"
    "  fault unplug [N]     leave after N more requests\n"
    "  log                  every report so far: '> ' received, '< ' sent, 64 bytes in hex\n";

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int UsageError(const QString& why) {
    Print(stderr, QStringLiteral("vantor-sim: %1\n\n").arg(why));
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int RunControl(const QString& socketPath, const QStringList& action) {
    if (action.isEmpty()) return UsageError(QStringLiteral("ctl needs an action"));
    SimSocketBackend backend(socketPath);
    bool accepted = false;
    QString text;
    if (!backend.Control(action, &accepted, &text)) {
        Print(stderr, QStringLiteral("vantor-sim: no emulator is running on %1\n").arg(socketPath));
        return kExitNotRunning;
    }
    if (!accepted) {
        Print(stderr, QStringLiteral("vantor-sim: %1\n").arg(text));
        return kExitRefused;
    }
    Print(stdout, text);
    return kExitOk;
}

int Serve(const FirmwareVariant& variant, size_t capacity, bool usbFrames,
          const QString& socketPath) {
    auto keyboard = std::make_shared<EmulatedKeyboard>(variant, capacity);
    keyboard->SetUsbFrames(usbFrames);
    SimServer server(keyboard);
    QString error;
    if (!server.Listen(socketPath, &error)) {
        Print(stderr, QStringLiteral("vantor-sim: %1\n").arg(error));
        return kExitRefused;
    }
    if (!QuitOnSignals({SIGTERM, SIGINT})) {
        Print(stderr, QStringLiteral("vantor-sim: cannot handle signals\n"));
        return kExitRefused;
    }
    Print(stdout, QStringLiteral("vantor-sim: keyboard %1 (%2:%3) on %4\n")
                      .arg(QChar::fromLatin1(variant.letter))
                      .arg(variant.vendorId, 4, 16, QLatin1Char('0'))
                      .arg(variant.productId, 4, 16, QLatin1Char('0'))
                      .arg(socketPath));
    QCoreApplication::exec();
    server.Close();
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);

    const FirmwareVariant* variant = &FirmwareVariant::B();
    size_t capacity = KeyboardFirmware::kDefaultMacroCapacity;
    QString socketPath;
    bool usbFrames = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (arg == QLatin1String("ctl"))
            return RunControl(socketPath.isEmpty() ? DefaultSimSocketPath() : socketPath,
                              args.mid(i + 1));
        if (arg == QLatin1String("--usb-frames")) {
            usbFrames = true;
            continue;
        }
        const bool takesValue = arg == QLatin1String("--variant") ||
                                arg == QLatin1String("--socket") ||
                                arg == QLatin1String("--capacity");
        if (!takesValue) return UsageError(QStringLiteral("unknown argument '%1'").arg(arg));
        if (i + 1 >= args.size()) return UsageError(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args[++i];
        if (arg == QLatin1String("--variant")) {
            variant = value.size() == 1 ? FirmwareVariant::FromLetter(value[0].toLatin1()) : nullptr;
            if (!variant) return UsageError(QStringLiteral("the variant is A or B"));
        } else if (arg == QLatin1String("--socket")) {
            if (value.isEmpty()) return UsageError(QStringLiteral("empty socket path"));
            socketPath = value;
        } else {
            bool ok = false;
            capacity = value.toUInt(&ok);
            if (!ok || !KeyboardFirmware::IsValidMacroCapacity(capacity))
                return UsageError(
                    QStringLiteral("the capacity is a multiple of 128 bytes up to 32640"));
        }
    }
    return Serve(*variant, capacity, usbFrames, socketPath.isEmpty() ? DefaultSimSocketPath() : socketPath);
}
