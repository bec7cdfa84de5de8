#include "device/HidReportDescriptor.h"

#include <bitset>
#include <cstdint>

namespace vantor {

namespace {

// Item types and tags of short items (HID 1.11, sections 6.2.2.2 and 6.2.2.4 to 6.2.2.8).
enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kLogicalMinimum = 0x1,
    kLogicalMaximum = 0x2,
    kPhysicalMinimum = 0x3,
    kPhysicalMaximum = 0x4,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t {
    kUsage = 0x0,
    kUsageMinimum = 0x1,
    kUsageMaximum = 0x2,
    kDelimiter = 0xA,
};

// Main item data bits (section 6.2.2.5).
constexpr uint32_t kConstantBit = 1u << 0;
constexpr uint32_t kVariableBit = 1u << 1;
constexpr uint32_t kRelativeBit = 1u << 2;
constexpr uint32_t kNullStateBit = 1u << 6;

constexpr uint8_t kLongItemPrefix = 0xFE;  // section 6.2.2.3
constexpr uint32_t kMaxReportSize = 256;   // bits per field; wider fields are no real control
constexpr size_t kMaxLocalUsages = 1024;

// A Logical or Physical Maximum is kept as raw bytes until its Minimum is known: it reads as
// signed only when the Minimum is negative, so that the common "0 to 255" in one byte means
// 255 and not -1 (section 6.2.2.7).
struct RawNumber {
    uint32_t bits = 0;
    uint8_t size = 0;
};

int32_t Signed(RawNumber n) {
    switch (n.size) {
        case 1: return int8_t(n.bits);
        case 2: return int16_t(n.bits);
        default: return int32_t(n.bits);
    }
}

int32_t MaximumFor(int32_t minimum, RawNumber maximum) {
    return minimum < 0 ? Signed(maximum) : int32_t(maximum.bits);
}

struct GlobalState {
    uint16_t usagePage = 0;
    RawNumber logicalMin, logicalMax, physicalMin, physicalMax;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// One entry of the local usage list: a usage or a usage range on one usage page. An extended
// (4-byte) usage carries its own page; a 1- or 2-byte one takes the Usage Page in force when
// it is read, which a Usage Page just before the main item can still change (see
// TakeLastUsagePage).
struct UsageEntry {
    uint16_t page = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    bool extended = false;
};

}  // namespace

class HidDescriptorParser {
public:
    std::optional<HidReportDescriptor> Run(const uint8_t* data, size_t size, QString* error);

private:
    bool Fail(const QString& message) {
        m_error = message;
        return false;
    }
    bool Item(uint8_t type, uint8_t tag, uint32_t value, uint8_t size);
    bool Main(uint8_t tag, uint32_t value);
    bool Global(uint8_t tag, uint32_t value, uint8_t size);
    bool Local(uint8_t tag, uint32_t value, uint8_t size);
    bool AddUsage(const UsageEntry& usage);
    void TakeLastUsagePage();
    bool Field(HidReportType type, uint32_t flags);
    void ClearLocals();
    HidCollection& CurrentCollection();
    void Finish();

    struct Collection {
        std::bitset<3 * 256> reports;  // report type and ID pairs that hold its fields
    };

    HidReportDescriptor m_result;
    std::vector<Collection> m_reportsOf;  // one per top-level collection, same order
    QString m_error;
    GlobalState m_global;
    std::vector<GlobalState> m_globalStack;
    std::vector<UsageEntry> m_usages;
    std::optional<UsageEntry> m_usageMinimum;
    std::optional<UsageEntry> m_usageMaximum;
    bool m_rangeDropped = false;      // a Usage Minimum above its Usage Maximum was left out
    bool m_inDelimiterSet = false;    // between Delimiter (Open) and Delimiter (Close)
    bool m_delimiterSetUsed = false;  // the open set already has the usage that stands for it
    // Open collections, as link-collection indexes inside the current top-level collection.
    std::vector<uint16_t> m_open;
    int m_implicitCollection = -1;
    uint32_t m_reportBits[3][256] = {};
    uint32_t m_mainItems = 0;
    size_t m_capabilities = 0;
    size_t m_collectionNodes = 0;
};

std::optional<HidReportDescriptor> HidDescriptorParser::Run(const uint8_t* data, size_t size,
                                                            QString* error) {
    bool ok = true;
    if (size > HidReportDescriptor::kMaxDescriptorSize) {
        ok = Fail(QStringLiteral("descriptor of %1 bytes is longer than %2")
                      .arg(size)
                      .arg(HidReportDescriptor::kMaxDescriptorSize));
    }
    size_t at = 0;
    while (ok && at < size) {
        const uint8_t prefix = data[at];
        if (prefix == kLongItemPrefix) {
            // Long items carry no information this parser uses; skip them whole.
            if (size - at < 3 || size - at - 3 < data[at + 1]) {
                ok = Fail(QStringLiteral("long item at byte %1 runs past the end").arg(at));
                break;
            }
            at += 3 + data[at + 1];
            continue;
        }
        static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
        const uint8_t dataSize = kSizes[prefix & 0x3];
        if (size - at - 1 < dataSize) {
            ok = Fail(QStringLiteral("item at byte %1 runs past the end").arg(at));
            break;
        }
        uint32_t value = 0;
        for (uint8_t i = 0; i < dataSize; ++i) {
            value |= uint32_t(data[at + 1 + i]) << (8 * i);
        }
        ok = Item((prefix >> 2) & 0x3, prefix >> 4, value, dataSize);
        if (!ok) {
            m_error = QStringLiteral("byte %1: %2").arg(at).arg(m_error);
        }
        at += 1 + dataSize;
    }
    if (ok && !m_open.empty()) {
        ok = Fail(QStringLiteral("%1 collection(s) not closed").arg(m_open.size()));
    }
    if (ok && m_result.m_collections.empty()) {
        ok = Fail(QStringLiteral("no collection and no report field"));
    }
    if (!ok) {
        if (error != nullptr) {
            *error = m_error;
        }
        return std::nullopt;
    }
    Finish();
    return std::move(m_result);
}

bool HidDescriptorParser::Item(uint8_t type, uint8_t tag, uint32_t value, uint8_t size) {
    switch (type) {
        case kMain: return Main(tag, value);
        case kGlobal: return Global(tag, value, size);
        case kLocal: return Local(tag, value, size);
        default: return true;  // reserved item type: nothing to learn from it
    }
}

bool HidDescriptorParser::Main(uint8_t tag, uint32_t value) {
    if (tag == kInput || tag == kOutput || tag == kFeature) {
        // A lone Usage Minimum or Maximum still names a usage.
        for (auto* lone : {&m_usageMinimum, &m_usageMaximum}) {
            if (*lone && m_usages.size() < kMaxLocalUsages) {
                m_usages.push_back(**lone);
            }
        }
    }
    TakeLastUsagePage();
    bool ok = true;
    switch (tag) {
        case kInput: ok = Field(HidReportType::Input, value); break;
        case kOutput: ok = Field(HidReportType::Output, value); break;
        case kFeature: ok = Field(HidReportType::Feature, value); break;
        case kCollection: {
            // Section 6.2.2.6: the collection's usage is the first of the local usages.
            if (m_open.size() >= HidReportDescriptor::kMaxCollectionDepth) {
                return Fail(QStringLiteral("collections nested deeper than %1")
                                .arg(HidReportDescriptor::kMaxCollectionDepth));
            }
            if (++m_collectionNodes > HidReportDescriptor::kMaxCollections) {
                return Fail(QStringLiteral("more than %1 collections")
                                .arg(HidReportDescriptor::kMaxCollections));
            }
            if (m_open.empty()) {
                HidCollection top;
                if (!m_usages.empty()) {
                    top.m_caps.usage = m_usages.front().min;
                    top.m_caps.usagePage = m_usages.front().page;
                }
                top.m_caps.numberLinkCollectionNodes = 1;
                m_result.m_collections.push_back(std::move(top));
                m_reportsOf.emplace_back();
                m_open.push_back(0);
            } else {
                HidCaps& caps = m_result.m_collections.back().m_caps;
                m_open.push_back(caps.numberLinkCollectionNodes++);
            }
            break;
        }
        case kEndCollection:
            if (m_open.empty()) {
                return Fail(QStringLiteral("End Collection without a Collection"));
            }
            m_open.pop_back();
            break;
        default: break;  // reserved main tags
    }
    ClearLocals();
    return ok;
}

bool HidDescriptorParser::Global(uint8_t tag, uint32_t value, uint8_t size) {
    const RawNumber raw{value, size};
    switch (tag) {
        case kUsagePage: m_global.usagePage = uint16_t(value); break;
        case kLogicalMinimum: m_global.logicalMin = raw; break;
        case kLogicalMaximum: m_global.logicalMax = raw; break;
        case kPhysicalMinimum: m_global.physicalMin = raw; break;
        case kPhysicalMaximum: m_global.physicalMax = raw; break;
        case kReportSize:
            if (value > kMaxReportSize) {
                return Fail(QStringLiteral("Report Size %1 is above %2").arg(value).arg(
                    kMaxReportSize));
            }
            m_global.reportSize = value;
            break;
        case kReportCount:
            if (value > HidReportDescriptor::kMaxReportBytes * 8) {
                return Fail(QStringLiteral("Report Count %1 is too large").arg(value));
            }
            m_global.reportCount = value;
            break;
        case kReportId:
            // Section 6.2.2.7: report ID 0 is reserved, and IDs are one byte.
            if (value == 0 || value > 255) {
                return Fail(QStringLiteral("Report ID %1 is not between 1 and 255").arg(value));
            }
            m_global.reportId = uint8_t(value);
            m_result.m_usesReportIds = true;
            break;
        case kPush:
            if (m_globalStack.size() >= HidReportDescriptor::kMaxGlobalStackDepth) {
                return Fail(QStringLiteral("Push deeper than %1")
                                .arg(HidReportDescriptor::kMaxGlobalStackDepth));
            }
            m_globalStack.push_back(m_global);
            break;
        case kPop:
            if (m_globalStack.empty()) {
                return Fail(QStringLiteral("Pop without a Push"));
            }
            m_global = m_globalStack.back();
            m_globalStack.pop_back();
            break;
        default: break;  // units and reserved tags
    }
    return true;
}

bool HidDescriptorParser::Local(uint8_t tag, uint32_t value, uint8_t size) {
    // Section 6.2.2.8: a 4-byte usage holds its usage page in the high 16 bits.
    const bool extended = size == 4;
    const UsageEntry usage{extended ? uint16_t(value >> 16) : m_global.usagePage, uint16_t(value),
                           uint16_t(value), extended};
    switch (tag) {
        case kUsage: return AddUsage(usage);
        case kUsageMinimum: m_usageMinimum = usage; break;
        case kUsageMaximum: m_usageMaximum = usage; break;
        case kDelimiter:
            // Section 6.2.2.8: sets are not nested, and each one that opens closes.
            if (value != 0) {
                if (m_inDelimiterSet) {
                    return Fail(QStringLiteral("Delimiter opened inside a delimiter set"));
                }
                m_inDelimiterSet = true;
                m_delimiterSetUsed = false;
            } else {
                if (!m_inDelimiterSet) {
                    return Fail(QStringLiteral("Delimiter closed outside a delimiter set"));
                }
                m_inDelimiterSet = false;
            }
            return true;
        default: return true;  // designators and strings are not used
    }
    if (!m_usageMinimum || !m_usageMaximum) {
        return true;
    }
    // A range is on the page of whichever end is extended, else on the page in force when it
    // is complete, as the usages of a range read one after the other would be.
    UsageEntry range = *m_usageMinimum;
    range.max = m_usageMaximum->min;
    if (!range.extended) {
        range.page = m_usageMaximum->extended ? m_usageMaximum->page : m_global.usagePage;
        range.extended = m_usageMaximum->extended;
    }
    m_usageMinimum.reset();
    m_usageMaximum.reset();
    if (range.max < range.min) {
        // A reversed range names no usage; the rest of the descriptor is still good.
        m_rangeDropped = true;
        return true;
    }
    return AddUsage(range);
}

bool HidDescriptorParser::AddUsage(const UsageEntry& usage) {
    if (m_inDelimiterSet) {
        // The usages of a delimiter set are other names of one control: the first stands for it.
        if (m_delimiterSetUsed) {
            return true;
        }
        m_delimiterSetUsed = true;
    }
    if (m_usages.size() >= kMaxLocalUsages) {
        return Fail(QStringLiteral("more than %1 usages for one item").arg(kMaxLocalUsages));
    }
    m_usages.push_back(usage);
    return true;
}

// A Usage Page between the last usages and their main item is meant for them: the usages at
// the end of the list that are on another page move onto the page in force, back to the last
// one already on it. So "Usage Page (LED), Usage Minimum, Usage Maximum, Usage Page
// (Keyboard), Input" is a range of keys, while usages followed by a page change and further
// usages keep their own page. Extended usages never move. This is how Linux reads them.
void HidDescriptorParser::TakeLastUsagePage() {
    for (auto entry = m_usages.rbegin(); entry != m_usages.rend(); ++entry) {
        if (entry->extended) {
            continue;
        }
        if (entry->page == m_global.usagePage) {
            break;
        }
        entry->page = m_global.usagePage;
    }
}

void HidDescriptorParser::ClearLocals() {
    m_usages.clear();
    m_usageMinimum.reset();
    m_usageMaximum.reset();
    m_rangeDropped = false;
    m_inDelimiterSet = false;
    m_delimiterSetUsed = false;
}

HidCollection& HidDescriptorParser::CurrentCollection() {
    if (!m_open.empty()) {
        return m_result.m_collections.back();
    }
    if (m_implicitCollection < 0) {
        m_implicitCollection = int(m_result.m_collections.size());
        HidCollection implicit;
        implicit.m_caps.numberLinkCollectionNodes = 1;
        m_result.m_collections.push_back(std::move(implicit));
        m_reportsOf.emplace_back();
    }
    return m_result.m_collections[size_t(m_implicitCollection)];
}

// One Input, Output or Feature item (section 6.2.2.5): its fields follow the fields already
// placed in the same report, least significant bit first (section 8.4).
bool HidDescriptorParser::Field(HidReportType type, uint32_t flags) {
    HidCollection& collection = CurrentCollection();
    const size_t collectionIndex = size_t(&collection - m_result.m_collections.data());
    const size_t typeIndex = size_t(type);
    const uint8_t reportId = m_global.reportId;
    const uint64_t fieldBits = uint64_t(m_global.reportSize) * m_global.reportCount;
    uint32_t& reportBits = m_reportBits[typeIndex][reportId];
    if (reportBits == 0) {
        reportBits = 8;  // the report-ID byte, counted also when the descriptor has no IDs
    }
    const uint32_t position = reportBits;
    if (reportBits + fieldBits > HidReportDescriptor::kMaxReportBytes * 8) {
        return Fail(QStringLiteral("report %1 is longer than %2 bytes")
                        .arg(reportId)
                        .arg(HidReportDescriptor::kMaxReportBytes));
    }
    reportBits += uint32_t(fieldBits);
    m_reportsOf[collectionIndex].reports.set(typeIndex * 256 + reportId);
    const uint32_t mainItem = m_mainItems++;
    if ((flags & kConstantBit) != 0 || fieldBits == 0) {
        return true;  // padding
    }
    if (m_usages.empty() && m_rangeDropped) {
        return true;  // its only usages were a reversed range: it reports nothing
    }

    HidCapability base;
    base.reportId = reportId;
    base.isArray = (flags & kVariableBit) == 0;
    base.isAbsolute = (flags & kRelativeBit) == 0;
    base.hasNull = (flags & kNullStateBit) != 0;
    base.linkCollection = m_open.empty() ? 0 : m_open.back();
    base.bitSize = uint16_t(m_global.reportSize);
    base.logicalMin = Signed(m_global.logicalMin);
    base.logicalMax = MaximumFor(base.logicalMin, m_global.logicalMax);
    base.physicalMin = Signed(m_global.physicalMin);
    base.physicalMax = MaximumFor(base.physicalMin, m_global.physicalMax);
    base.mainItem = mainItem;
    const bool isButton = base.isArray || m_global.reportSize == 1;
    auto& caps = isButton ? collection.m_buttonCaps[typeIndex] : collection.m_valueCaps[typeIndex];

    auto add = [&](HidCapability cap) {
        if (++m_capabilities > HidReportDescriptor::kMaxCapabilities) {
            return Fail(QStringLiteral("more than %1 capabilities")
                            .arg(HidReportDescriptor::kMaxCapabilities));
        }
        caps.push_back(cap);
        return true;
    };

    if (m_usages.empty()) {
        // Data with no usage: still a field the host can address, as usage 0.
        if (base.isArray) {
            return true;  // selectors that name nothing
        }
        HidCapability cap = base;
        cap.usagePage = m_global.usagePage;
        cap.bitPosition = position;
        cap.reportCount = m_global.reportCount;
        return add(cap);
    }

    if (base.isArray) {
        // Every capability shares the selectors; each covers its slice of the usage list.
        uint32_t index = 0;
        for (const UsageEntry& entry : m_usages) {
            HidCapability cap = base;
            cap.usagePage = entry.page;
            cap.usageMin = entry.min;
            cap.usageMax = entry.max;
            cap.isRange = entry.min != entry.max;
            cap.bitPosition = position;
            cap.reportCount = m_global.reportCount;
            cap.arrayIndex = index;
            index += uint32_t(cap.usageMax - cap.usageMin) + 1;
            if (!add(cap)) {
                return false;
            }
        }
        return true;
    }

    // Variable fields take the usages in order; when fields outnumber usages, the last usage
    // applies to the rest (section 6.2.2.8).
    uint32_t field = 0;
    for (size_t i = 0; i < m_usages.size() && field < m_global.reportCount; ++i) {
        const UsageEntry& entry = m_usages[i];
        const bool last = i + 1 == m_usages.size();
        const uint32_t remaining = m_global.reportCount - field;
        const uint32_t span = uint32_t(entry.max - entry.min) + 1;
        const uint32_t count = last ? remaining : std::min(span, remaining);
        HidCapability cap = base;
        cap.usagePage = entry.page;
        cap.usageMin = entry.min;
        cap.usageMax = uint16_t(std::min<uint32_t>(entry.max, cap.usageMin + count - 1));
        cap.isRange = cap.usageMin != cap.usageMax;
        cap.bitPosition = position + field * m_global.reportSize;
        cap.reportCount = count;
        if (!add(cap)) {
            return false;
        }
        field += count;
    }
    return true;
}

void HidDescriptorParser::Finish() {
    for (size_t c = 0; c < m_result.m_collections.size(); ++c) {
        HidCollection& collection = m_result.m_collections[c];
        HidCaps& caps = collection.m_caps;
        uint16_t* lengths[3] = {&caps.inputReportByteLength, &caps.outputReportByteLength,
                                &caps.featureReportByteLength};
        for (size_t type = 0; type < 3; ++type) {
            for (size_t id = 0; id < 256; ++id) {
                if (m_reportsOf[c].reports.test(type * 256 + id)) {
                    const uint32_t bytes = (m_reportBits[type][id] + 7) / 8;
                    *lengths[type] = std::max<uint16_t>(*lengths[type], uint16_t(bytes));
                }
            }
        }
        caps.numberInputButtonCaps = uint16_t(collection.m_buttonCaps[0].size());
        caps.numberOutputButtonCaps = uint16_t(collection.m_buttonCaps[1].size());
        caps.numberFeatureButtonCaps = uint16_t(collection.m_buttonCaps[2].size());
        caps.numberInputValueCaps = uint16_t(collection.m_valueCaps[0].size());
        caps.numberOutputValueCaps = uint16_t(collection.m_valueCaps[1].size());
        caps.numberFeatureValueCaps = uint16_t(collection.m_valueCaps[2].size());
    }
}

std::optional<HidReportDescriptor> HidReportDescriptor::Parse(const uint8_t* data, size_t size,
                                                              QString* error) {
    HidDescriptorParser parser;
    return parser.Run(data, size, error);
}

std::optional<HidReportDescriptor> HidReportDescriptor::Parse(const QByteArray& bytes,
                                                              QString* error) {
    return Parse(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()),
                 error);
}

}  // namespace vantor
