#pragma once

#include "device/DeviceVariant.h"
#include "device/HidDevice.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace vantor {

struct VendorSearch {
    bool enumerated = false;  // false: the listing itself failed
    bool found = false;       // the device holds the keyboard's vendor interface, open
    QStringList unopenable;   // paths of the keyboard that could not be opened
};

// Lists every interface and opens the first that passes the vendor-interface checks, leaving
// it open in the device; every other candidate is closed again. accept, when given, limits
// the search to the paths it accepts.
VendorSearch FindVendorInterface(HidDevice& device,
                                 const std::function<bool(const QString&)>& accept = nullptr);

struct KeyboardInterface {
    QString path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    DeviceVariant variant;
};

// Every vendor interface present, each opened, checked and closed again. The same listing
// failure and unopenable paths as above are reported through search when it is given.
std::vector<KeyboardInterface> ListVendorInterfaces(HidDevice& device,
                                                    VendorSearch* search = nullptr);

}  // namespace vantor
