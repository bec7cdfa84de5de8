#include "device/InterfaceMatch.h"

#include "device/DeviceVariant.h"

namespace vantor {

namespace {

uint16_t HexAfter(const QString& path, QLatin1StringView marker) {
    const int at = path.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at < 0) {
        return 0;
    }
    uint32_t value = 0;
    for (int i = at + int(marker.size()); i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0) {
            break;
        }
        value = ((value << 4) | uint32_t(digit)) & 0xFFFF;  // only the low 16 bits count
    }
    return uint16_t(value);
}

bool IsKnownKeyboard(uint16_t vendorId, uint16_t productId) {
    return FindDeviceVariant(vendorId, productId) != nullptr;
}

OpenOutcome OpenChecked(HidDevice& device, const QString& path, bool write,
                        bool (*matches)(const HidDevice&)) {
    if (!device.Open(path, true, write, true, false)) {
        return OpenOutcome::OpenFailed;
    }
    if (matches(device)) {
        return OpenOutcome::Matched;
    }
    device.Close();
    return OpenOutcome::Rejected;
}

}  // namespace

PathIds IdsFromPath(const QString& path) {
    return {HexAfter(path, QLatin1StringView("vid_")), HexAfter(path, QLatin1StringView("pid_"))};
}

bool IsKeyboardPath(const QString& path) {
    const PathIds ids = IdsFromPath(path);
    return IsKnownKeyboard(ids.vendorId, ids.productId);
}

bool IsVendorInterface(const HidDevice& device) {
    return IsKnownKeyboard(device.VendorId(), device.ProductId()) &&
           device.UsagePage() == kVendorUsagePage && device.Usage() == kVendorUsage &&
           (device.VersionNumber() >> 8) == kVendorVersionHighByte;
}

bool IsConsumerInterface(const HidDevice& device) {
    return IsKnownKeyboard(device.VendorId(), device.ProductId()) &&
           device.UsagePage() == kConsumerUsagePage && device.Usage() == kConsumerUsage;
}

OpenOutcome OpenVendorInterface(HidDevice& device, const QString& path) {
    return OpenChecked(device, path, true, &IsVendorInterface);
}

OpenOutcome OpenConsumerInterface(HidDevice& device, const QString& path) {
    return OpenChecked(device, path, false, &IsConsumerInterface);
}

}  // namespace vantor
