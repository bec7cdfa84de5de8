// list: every keyboard's vendor interface, one line each.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "device/HidDevice.h"
#include "device/VendorInterfaceSearch.h"

namespace vantor::ctl {

int RunList(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "list", &code)) return code;
    // A device of its own: listing opens each interface and closes it again.
    HidDevice device(std::shared_ptr<HidBackend>(&context.Backend(), [](HidBackend*) {}));
    VendorSearch search;
    const std::vector<KeyboardInterface> keyboards = ListVendorInterfaces(device, &search);
    if (!search.enumerated) {
        return context.Fail(kExitNoKeyboard, QStringLiteral("cannot list the HID devices"));
    }
    for (const KeyboardInterface& k : keyboards) {
        context.Out() << QStringLiteral("%1  %2:%3  version %4  variant %5\n")
                             .arg(k.path)
                             .arg(k.vendorId, 4, 16, QLatin1Char('0'))
                             .arg(k.productId, 4, 16, QLatin1Char('0'))
                             .arg(k.versionNumber, 4, 16, QLatin1Char('0'))
                             .arg(k.variant == kVariantA ? QLatin1Char('A') : QLatin1Char('B'));
    }
    if (keyboards.empty()) {
        int failed = kExitOk;
        if (!search.unopenable.isEmpty() && context.Connect(&failed) == nullptr) {
            return failed;  // says why the keyboard there cannot be opened
        }
        return context.Fail(kExitNoKeyboard, QStringLiteral("no keyboard found"));
    }
    return kExitOk;
}

}  // namespace vantor::ctl
