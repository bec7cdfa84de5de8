#include "emulator/EmulatedInterface.h"

namespace vantor {

namespace {

// Item prefixes are (tag << 4) | (type << 2) | size-code, from the short-item encoding of the
// HID class definition (6.2.2.2); size code 3 means four data bytes.

// Vendor interface: one input and one output report, ID 4, 63 data bytes each, so 64 bytes
// with the ID in front.
const uint8_t kVendorDescriptor[] = {
    0x06, 0x1C, 0xFF,  // Usage Page (vendor 0xFF1C)
    0x09, 0x92,        // Usage (0x92)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute): the replies
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output (Data, Variable, Absolute): the requests
    0xC0,              // End Collection
};

// Consumer interface: input report 3 is a 16-bit selector over the whole consumer usage range,
// so that the one pressed usage of the report is the event code, then 61 bytes of padding to
// the 64 bytes every report of this keyboard has.
const uint8_t kConsumerDescriptor[] = {
    0x05, 0x0C,                    // Usage Page (Consumer)
    0x09, 0x01,                    // Usage (Consumer Control)
    0xA1, 0x01,                    // Collection (Application)
    0x85, kConsumerReportId,       //   Report ID (3)
    0x19, 0x00,                    //   Usage Minimum (0)
    0x2A, 0xFF, 0xFF,              //   Usage Maximum (0xFFFF)
    0x15, 0x00,                    //   Logical Minimum (0)
    0x27, 0xFF, 0xFF, 0x00, 0x00,  //   Logical Maximum (65535, four bytes: it is signed)
    0x75, 0x10,                    //   Report Size (16)
    0x95, 0x01,                    //   Report Count (1)
    0x81, 0x00,                    //   Input (Data, Array, Absolute): the event code
    0x75, 0x08,                    //   Report Size (8)
    0x95, 0x3D,                    //   Report Count (61)
    0x81, 0x01,                    //   Input (Constant): padding
    0xC0,                          // End Collection
};

// The ordinary boot keyboard (the layout of the boot protocol, HID class definition
// appendix B.1): modifier bits, a reserved byte and six key selectors in; five LED bits out.
// No report IDs.
const uint8_t kBootKeyboardDescriptor[] = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
    0x19, 0xE0,  //   Usage Minimum (Left Control)
    0x29, 0xE7,  //   Usage Maximum (Right GUI)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute): modifier bits
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (Num Lock)
    0x29, 0x05,  //   Usage Maximum (Kana)
    0x91, 0x02,  //   Output (Data, Variable, Absolute): LED bits
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant): padding
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array, Absolute): pressed keys
    0xC0,        // End Collection
};

template <size_t N>
QByteArray Bytes(const uint8_t (&bytes)[N]) {
    return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(N));
}

}  // namespace

QByteArray EmulatedReportDescriptor(EmulatedInterface which) {
    switch (which) {
    case EmulatedInterface::BootKeyboard: return Bytes(kBootKeyboardDescriptor);
    case EmulatedInterface::Consumer: return Bytes(kConsumerDescriptor);
    case EmulatedInterface::Vendor: return Bytes(kVendorDescriptor);
    }
    return {};
}

size_t EmulatedInputReportLength(EmulatedInterface which) {
    switch (which) {
    case EmulatedInterface::BootKeyboard: return 1 + 8;
    case EmulatedInterface::Consumer: return 64;
    case EmulatedInterface::Vendor: return 64;
    }
    return 0;
}

size_t EmulatedOutputReportLength(EmulatedInterface which) {
    switch (which) {
    case EmulatedInterface::BootKeyboard: return 1 + 1;
    case EmulatedInterface::Consumer: return 0;
    case EmulatedInterface::Vendor: return 64;
    }
    return 0;
}

}  // namespace vantor
