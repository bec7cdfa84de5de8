// list: every keyboard's vendor interface, one line each.

#include "CtlExit.h"
#include "commands/Commands.h"
#include "commands/CtlJson.h"

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
    QJsonArray list;
    for (const KeyboardInterface& k : keyboards) {
        const auto hex = [](uint16_t value) {
            return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
        };
        const QString variant = k.variant == kVariantA ? QStringLiteral("A") : QStringLiteral("B");
        list.append(QJsonObject{{"path", k.path},
                                {"vendorId", hex(k.vendorId)},
                                {"productId", hex(k.productId)},
                                {"version", hex(k.versionNumber)},
                                {"variant", variant}});
        if (!context.Json()) {
            context.Out() << QStringLiteral("%1  %2:%3  version %4  variant %5\n")
                                 .arg(k.path, hex(k.vendorId), hex(k.productId),
                                      hex(k.versionNumber), variant);
        }
    }
    if (keyboards.empty()) {
        int failed = kExitOk;
        if (!search.unopenable.isEmpty() && context.Connect(&failed) == nullptr) {
            return failed;  // says why the keyboard there cannot be opened
        }
        return context.Fail(kExitNoKeyboard, QStringLiteral("no keyboard found"));
    }
    if (context.Json()) WriteJson(context, QJsonObject{{"keyboards", list}});
    return kExitOk;
}

}  // namespace vantor::ctl
