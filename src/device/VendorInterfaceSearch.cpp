#include "device/VendorInterfaceSearch.h"

#include "device/InterfaceMatch.h"

namespace vantor {

namespace {

// Walks the listed keyboard paths, opening each as the vendor interface; visit says whether
// to go on after a match (which it may close).
VendorSearch Walk(HidDevice& device, const std::function<bool(const QString&)>& accept,
                  const std::function<bool()>& visit) {
    VendorSearch search;
    search.enumerated = device.Enumerate();
    if (!search.enumerated) {
        return search;
    }
    while (const auto path = device.NextPath()) {
        if (!IsKeyboardPath(*path) || (accept && !accept(*path))) {
            continue;
        }
        const OpenOutcome outcome = OpenVendorInterface(device, *path);
        if (outcome == OpenOutcome::OpenFailed) {
            search.unopenable << *path;
        } else if (outcome == OpenOutcome::Matched) {
            search.found = true;
            if (!visit()) {
                break;
            }
        }
    }
    device.FreePaths();
    return search;
}

}  // namespace

VendorSearch FindVendorInterface(HidDevice& device,
                                 const std::function<bool(const QString&)>& accept) {
    return Walk(device, accept, [] { return false; });
}

std::vector<KeyboardInterface> ListVendorInterfaces(HidDevice& device, VendorSearch* search) {
    std::vector<KeyboardInterface> found;
    const VendorSearch result = Walk(device, nullptr, [&] {
        const DeviceVariant* variant = FindDeviceVariant(device.VendorId(), device.ProductId());
        found.push_back({device.DevicePath(), device.VendorId(), device.ProductId(),
                         device.VersionNumber(), variant ? *variant : kVariantA});
        device.Close();
        return true;
    });
    if (search) {
        *search = result;
    }
    return found;
}

}  // namespace vantor
