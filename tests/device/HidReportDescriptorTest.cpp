#include "device/HidReportDescriptor.h"

#include "TestDescriptors.h"
#include "emulator/EmulatedInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::Bytes;

const HidCollection& OnlyCollection(const std::optional<HidReportDescriptor>& parsed) {
    EXPECT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->Collections().size(), 1u);
    return parsed->Collections().front();
}

std::vector<uint16_t> Pressed(const HidCollection& c, uint16_t page, const QByteArray& report,
                              HidStatus* status = nullptr, size_t capacity = 16) {
    std::vector<uint16_t> usages(capacity);
    size_t count = usages.size();
    const HidStatus s = c.GetUsages(HidReportType::Input, page,
                                    reinterpret_cast<const uint8_t*>(report.constData()),
                                    size_t(report.size()), usages.data(), &count);
    if (status != nullptr) {
        *status = s;
    }
    usages.resize(count);
    return usages;
}

QByteArray Report(std::initializer_list<uint8_t> head, int length) {
    QByteArray r = Bytes(head);
    r.resize(length, '\0');
    return r;
}

TEST(HidReportDescriptor, VendorInterfaceCarries64ByteReportsBothWays) {
    const auto parsed =
        HidReportDescriptor::Parse(EmulatedReportDescriptor(EmulatedInterface::Vendor));
    const HidCollection& vendor = OnlyCollection(parsed);
    EXPECT_TRUE(parsed->UsesReportIds());
    EXPECT_EQ(vendor.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(vendor.Caps().usage, 0x92);
    EXPECT_EQ(vendor.Caps().inputReportByteLength, 64);
    EXPECT_EQ(vendor.Caps().outputReportByteLength, 64);
    EXPECT_EQ(vendor.Caps().featureReportByteLength, 0);
    ASSERT_EQ(vendor.ValueCaps(HidReportType::Input).size(), 1u);
    const HidCapability& data = vendor.ValueCaps(HidReportType::Input).front();
    EXPECT_EQ(data.reportId, 4);
    EXPECT_EQ(data.bitPosition, 8u);
    EXPECT_EQ(data.reportCount, 63u);
    EXPECT_EQ(data.logicalMax, 255);  // one byte 0xFF with a minimum of 0 reads as 255
}

TEST(HidReportDescriptor, ConsumerInterfaceGivesTheEventCodeAsItsOneUsage) {
    const auto parsed =
        HidReportDescriptor::Parse(EmulatedReportDescriptor(EmulatedInterface::Consumer));
    const HidCollection& consumer = OnlyCollection(parsed);
    EXPECT_EQ(consumer.Caps().usagePage, 0x0C);
    EXPECT_EQ(consumer.Caps().usage, 0x01);
    EXPECT_EQ(consumer.Caps().inputReportByteLength, 64);
    EXPECT_EQ(consumer.MaxUsageListLength(HidReportType::Input, 0x0C), 1u);

    EXPECT_EQ(Pressed(consumer, 0x0C, Report({0x03, 0x01, 0x04}, 64)),
              std::vector<uint16_t>{0x0401});
    EXPECT_EQ(Pressed(consumer, 0x0C, Report({0x03, 0x11, 0x18}, 64)),
              std::vector<uint16_t>{0x1811});
    EXPECT_TRUE(Pressed(consumer, 0x0C, Report({0x03, 0x00, 0x00}, 64)).empty());
    HidStatus status{};
    Pressed(consumer, 0x0C, Report({0x05, 0x01, 0x04}, 64), &status);
    EXPECT_EQ(status, HidStatus::IncompatibleReportId);
}

TEST(HidReportDescriptor, BootKeyboardHasModifierBitsAndKeySelectors) {
    const auto parsed =
        HidReportDescriptor::Parse(EmulatedReportDescriptor(EmulatedInterface::BootKeyboard));
    const HidCollection& keyboard = OnlyCollection(parsed);
    EXPECT_FALSE(parsed->UsesReportIds());
    EXPECT_EQ(keyboard.Caps().usagePage, 0x01);
    EXPECT_EQ(keyboard.Caps().usage, 0x06);
    // Eight data bytes in, one out, each with the report-ID byte counted.
    EXPECT_EQ(keyboard.Caps().inputReportByteLength, 9);
    EXPECT_EQ(keyboard.Caps().outputReportByteLength, 2);
    const auto& buttons = keyboard.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_FALSE(buttons[0].isArray);
    EXPECT_EQ(buttons[0].usageMin, 0xE0);
    EXPECT_EQ(buttons[0].usageMax, 0xE7);
    EXPECT_TRUE(buttons[1].isArray);
    EXPECT_EQ(buttons[1].bitPosition, 24u);  // after the ID byte, the modifiers, the reserved byte
    EXPECT_EQ(keyboard.MaxUsageListLength(HidReportType::Input, 0x07), 8u + 6u);
    EXPECT_EQ(keyboard.ButtonCaps(HidReportType::Output).size(), 1u);  // the LEDs; padding has none

    // Left Shift held with A and B.
    EXPECT_EQ(Pressed(keyboard, 0x07, Report({0x00, 0x02, 0x00, 0x04, 0x05}, 9)),
              (std::vector<uint16_t>{0xE1, 0x04, 0x05}));
    HidStatus status{};
    const auto firstTwo =
        Pressed(keyboard, 0x07, Report({0x00, 0x02, 0x00, 0x04, 0x05}, 9), &status, 2);
    EXPECT_EQ(status, HidStatus::BufferTooSmall);
    EXPECT_EQ(firstTwo, (std::vector<uint16_t>{0xE1, 0x04}));
    // A report cut short: the missing selectors read as absent.
    EXPECT_EQ(Pressed(keyboard, 0x07, Report({0x00, 0x00, 0x00, 0x04}, 4)),
              std::vector<uint16_t>{0x04});
}

TEST(HidReportDescriptor, ValuesAreSignExtendedAndScaled) {
    const auto mouse = HidReportDescriptor::Parse(test::BootMouseDescriptor());
    const HidCollection& pointer = OnlyCollection(mouse);
    EXPECT_EQ(pointer.Caps().numberLinkCollectionNodes, 2);
    EXPECT_EQ(pointer.Caps().inputReportByteLength, 4);
    ASSERT_EQ(pointer.ValueCaps(HidReportType::Input).size(), 2u);
    EXPECT_EQ(pointer.ValueCaps(HidReportType::Input)[0].linkCollection, 1);
    EXPECT_FALSE(pointer.ValueCaps(HidReportType::Input)[0].isAbsolute);

    const QByteArray report = Bytes({0x00, 0x05, 0xFE, 0x03});
    const auto* bytes = reinterpret_cast<const uint8_t*>(report.constData());
    EXPECT_EQ(Pressed(pointer, 0x09, report), (std::vector<uint16_t>{1, 3}));
    uint32_t raw = 0;
    int32_t scaled = 0;
    EXPECT_EQ(pointer.GetUsageValue(HidReportType::Input, 0x01, 0x30, bytes, 4, &raw),
              HidStatus::Success);
    EXPECT_EQ(raw, 0xFEu);
    EXPECT_EQ(pointer.GetScaledUsageValue(HidReportType::Input, 0x01, 0x30, bytes, 4, &scaled),
              HidStatus::Success);
    EXPECT_EQ(scaled, -2);
    EXPECT_EQ(pointer.GetScaledUsageValue(HidReportType::Input, 0x01, 0x31, bytes, 4, &scaled),
              HidStatus::Success);
    EXPECT_EQ(scaled, 3);
    EXPECT_EQ(pointer.GetUsageValue(HidReportType::Input, 0x01, 0x38, bytes, 4, &raw),
              HidStatus::UsageNotFound);
    EXPECT_EQ(pointer.GetUsageValue(HidReportType::Input, 0x01, 0x31, bytes, 3, &raw),
              HidStatus::InvalidReportLength);

    const auto two = HidReportDescriptor::Parse(test::TwoCollectionDescriptor());
    ASSERT_TRUE(two.has_value());
    const HidCollection& slider = two->Collections()[1];
    const QByteArray sliderReport = Bytes({0x02, 150});
    EXPECT_EQ(slider.GetScaledUsageValue(
                  HidReportType::Input, 0x01, 0x36,
                  reinterpret_cast<const uint8_t*>(sliderReport.constData()), 2, &scaled),
              HidStatus::Success);
    EXPECT_EQ(scaled, 75);
}

TEST(HidReportDescriptor, EachTopLevelCollectionHasItsOwnReports) {
    const auto parsed = HidReportDescriptor::Parse(test::TwoCollectionDescriptor());
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->Collections().size(), 2u);
    const HidCollection& system = parsed->Collections()[0];
    const HidCollection& consumer = parsed->Collections()[1];
    EXPECT_EQ(system.Caps().usagePage, 0x01);
    EXPECT_EQ(system.Caps().usage, 0x80);
    EXPECT_EQ(system.Caps().inputReportByteLength, 2);
    EXPECT_EQ(system.Caps().numberInputButtonCaps, 1);
    EXPECT_EQ(system.Caps().numberInputValueCaps, 0);
    EXPECT_EQ(consumer.Caps().usagePage, 0x0C);
    EXPECT_EQ(consumer.Caps().inputReportByteLength, 2);
    EXPECT_EQ(consumer.Caps().numberInputButtonCaps, 0);
    EXPECT_EQ(consumer.Caps().numberInputValueCaps, 1);
    EXPECT_EQ(Pressed(system, 0x01, Bytes({0x01, 0x05})), (std::vector<uint16_t>{0x81, 0x83}));
}

// Everything one input report says through a collection: the pressed usages of every page
// that has buttons ("page:usage", pages in the order their capabilities come), and the scaled
// value of every value usage ("page:usage=value").
struct Readout {
    std::vector<std::string> pressed;
    std::vector<std::string> values;
};

Readout ReadAll(const HidCollection& c, const QByteArray& report) {
    Readout out;
    std::vector<uint16_t> pages;
    for (const HidCapability& cap : c.ButtonCaps(HidReportType::Input)) {
        if (std::find(pages.begin(), pages.end(), cap.usagePage) == pages.end()) {
            pages.push_back(cap.usagePage);
        }
    }
    for (uint16_t page : pages) {
        for (uint16_t usage : Pressed(c, page, report)) {
            out.pressed.push_back(QString::asprintf("%04X:%04X", page, usage).toStdString());
        }
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(report.constData());
    for (const HidCapability& cap : c.ValueCaps(HidReportType::Input)) {
        for (uint32_t usage = cap.usageMin; usage <= cap.usageMax; ++usage) {
            int32_t value = 0;
            const HidStatus status =
                c.GetScaledUsageValue(HidReportType::Input, cap.usagePage, uint16_t(usage), bytes,
                                      size_t(report.size()), &value);
            out.values.push_back(
                status == HidStatus::Success
                    ? QString::asprintf("%04X:%04X=%d", cap.usagePage, usage, value).toStdString()
                    : QString::asprintf("%04X:%04X failed", cap.usagePage, usage).toStdString());
        }
    }
    return out;
}

// A usage is on the Usage Page in force when it is read; a Usage Page between the last usage
// and the main item moves the usages declared since the previous page change onto it.
TEST(HidReportDescriptor, UsagesKeepThePageTheyWereDeclaredUnder) {
    const struct {
        const char* what;
        QByteArray descriptor;
        QByteArray report;
        std::vector<std::string> pressed;
        std::vector<std::string> values;
    } cases[] = {
        {"modifiers, then media keys after Usage Page (Consumer), in one item",
         Bytes({0x05, 0x07, 0x09, 0xE0, 0x09, 0xE1, 0x05, 0x0C, 0x09, 0xE9, 0x09,
                0xEA, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x04, 0x81, 0x02}),
         Bytes({0x00, 0x09}),
         {"0007:00E0", "000C:00EA"},
         {}},
        {"a button range, then consumer usages, in one item",
         Bytes({0x05, 0x09, 0x19, 0x01, 0x29, 0x09, 0x05, 0x0C, 0x09, 0xB5,
                0x09, 0xB6, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x0B,
                0x81, 0x02, 0x75, 0x05, 0x95, 0x01, 0x81, 0x01}),
         Bytes({0x00, 0x01, 0x05}),
         {"0009:0001", "0009:0009", "000C:00B6"},
         {}},
        {"Generic Desktop axes, then Usage Page (Simulation) before the last usage",
         Bytes({0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x32, 0x05, 0x02, 0x09,
                0xC4, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02}),
         Bytes({0x00, 0x05, 0xFE, 0x10, 0x81}),
         {},
         {"0001:0030=5", "0001:0031=-2", "0001:0032=16", "0002:00C4=-127"}},
        {"a range, then the page the keys are on, then the item",
         Bytes({0x05, 0x08, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x05, 0x07, 0x15,
                0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x06, 0x81, 0x00}),
         Bytes({0x00, 0xE1, 0x04, 0x00, 0x00, 0x00, 0x00}),
         {"0007:00E1", "0007:0004"},
         {}},
        {"a 4-byte usage keeps its own page",
         Bytes({0x05, 0x0C, 0x0B, 0x30, 0x00, 0x01, 0x00, 0x09, 0xE0, 0x15, 0x81, 0x25, 0x7F, 0x75,
                0x08, 0x95, 0x02, 0x81, 0x02}),
         Bytes({0x00, 0x07, 0xF9}),
         {},
         {"0001:0030=7", "000C:00E0=-7"}},
        {"Usage Minimum above Usage Maximum: that item has no usages, the next one reads",
         Bytes({0x05, 0x07, 0x19, 0xE7, 0x29, 0xE0, 0x15, 0x00, 0x25, 0x01,
                0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x19, 0x00, 0x29, 0x65,
                0x25, 0x65, 0x75, 0x08, 0x95, 0x02, 0x81, 0x00}),
         Bytes({0x00, 0xFF, 0x04, 0x05}),
         {"0007:0004", "0007:0005"},
         {}},
        {"a delimiter set: its first usage stands for the set",
         Bytes({0x05, 0x09, 0xA9, 0x01, 0x09, 0x01, 0x09, 0x02, 0xA9, 0x00,
                0x09, 0x03, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02,
                0x81, 0x02, 0x75, 0x06, 0x95, 0x01, 0x81, 0x01}),
         Bytes({0x00, 0x03}),
         {"0009:0001", "0009:0003"},
         {}},
    };
    for (const auto& c : cases) {
        QString error;
        const auto parsed = HidReportDescriptor::Parse(c.descriptor, &error);
        if (!parsed.has_value() || parsed->Collections().size() != 1) {
            ADD_FAILURE() << c.what << ": " << error.toStdString();
            continue;
        }
        const Readout read = ReadAll(parsed->Collections().front(), c.report);
        EXPECT_EQ(read.pressed, c.pressed) << c.what;
        EXPECT_EQ(read.values, c.values) << c.what;
    }
}

TEST(HidReportDescriptor, MalformedDescriptorsAreRefusedWithAReason) {
    QByteArray deep;
    for (int i = 0; i < 33; ++i) {
        deep += Bytes({0xA1, 0x00});
    }
    QByteArray pushes;
    for (int i = 0; i < 17; ++i) {
        pushes += Bytes({0xA4});
    }
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"short item cut off", Bytes({0x05, 0x01, 0x06, 0x1C})},
        {"long item cut off", Bytes({0xFE, 0x05, 0x00, 0x01})},
        {"End Collection alone", Bytes({0xC0})},
        {"collection left open", Bytes({0x05, 0x01, 0x09, 0x06, 0xA1, 0x01})},
        {"Pop without Push", Bytes({0xB4})},
        {"Push too deep", pushes},
        {"report ID 0", Bytes({0x85, 0x00})},
        {"Report Size above 256", Bytes({0x76, 0x01, 0x01})},
        {"nesting too deep", deep},
        {"Delimiter opened inside a set",
         Bytes({0xA9, 0x01, 0x09, 0x01, 0xA9, 0x01, 0x09, 0x02, 0xA9, 0x00, 0xA9, 0x00, 0x75, 0x01,
                0x95, 0x01, 0x81, 0x02})},
        {"Delimiter closed outside a set",
         Bytes({0x09, 0x01, 0xA9, 0x00, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02})},
        {"report longer than a node moves",
         Bytes({0xA1, 0x01, 0x75, 0x08, 0x96, 0xFF, 0xFF, 0x81, 0x02, 0xC0})},
        {"descriptor longer than the kernel gives", QByteArray(5000, '\0')},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(HidReportDescriptor::Parse(c.bytes, &error).has_value()) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
}

// Any bytes, and any report against whatever parses: no read outside either buffer (run
// under AddressSanitizer to see it), and lengths within what a node can move.
TEST(HidReportDescriptor, AnyBytesParseSafely) {
    std::mt19937 random(20240611);
    std::vector<QByteArray> seeds = {EmulatedReportDescriptor(EmulatedInterface::Vendor),
                                     EmulatedReportDescriptor(EmulatedInterface::Consumer),
                                     EmulatedReportDescriptor(EmulatedInterface::BootKeyboard),
                                     test::BootMouseDescriptor(), test::TwoCollectionDescriptor()};
    int parsedCount = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            bytes = seeds[size_t(round / 2) % seeds.size()];
            const int flips = 1 + int(random() % 4);
            for (int f = 0; f < flips; ++f) {
                bytes[int(random() % uint32_t(bytes.size()))] = char(random());
            }
        } else {
            bytes.resize(int(random() % 96));
            for (char& b : bytes) {
                b = char(random());
            }
        }
        const auto parsed = HidReportDescriptor::Parse(bytes);
        if (!parsed) {
            continue;
        }
        ++parsedCount;
        std::vector<uint8_t> report(1 + random() % 80);
        for (uint8_t& b : report) {
            b = uint8_t(random());
        }
        for (const HidCollection& c : parsed->Collections()) {
            EXPECT_LE(c.Caps().inputReportByteLength, HidReportDescriptor::kMaxReportBytes);
            for (const HidCapability& cap : c.ButtonCaps(HidReportType::Input)) {
                std::vector<uint16_t> usages(c.MaxUsageListLength(HidReportType::Input,
                                                                  cap.usagePage));
                size_t count = usages.size();
                report[0] = cap.reportId;
                c.GetUsages(HidReportType::Input, cap.usagePage, report.data(), report.size(),
                            usages.data(), &count);
                EXPECT_LE(count, usages.size());
            }
            for (const HidCapability& cap : c.ValueCaps(HidReportType::Input)) {
                int32_t value = 0;
                report[0] = cap.reportId;
                c.GetScaledUsageValue(HidReportType::Input, cap.usagePage, cap.usageMax,
                                      report.data(), report.size(), &value);
            }
        }
    }
    EXPECT_GT(parsedCount, 100);  // the mutations reached the extraction code
}

}  // namespace
}  // namespace vantor
